// Shared helpers of the tests.
#include "TestSupport.h"

#include "VorlanCSV.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace TestSupport {

void isolateSettings()
{
    static QTemporaryDir configDir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configDir.path()));
    QStandardPaths::setTestModeEnabled(true);
    // Test mode alone would send every test to one shared settings file.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());
}

void onNextModal(std::function<void(QWidget *)> action, std::function<bool(QWidget *)> matches,
                 int timeoutMs)
{
    auto *timer = new QTimer(qApp);
    timer->setObjectName("modalDriver");
    const QDeadlineTimer deadline(timeoutMs);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [=]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && (!matches || matches(modal))) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (deadline.hasExpired()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

void cancelPendingModalActions()
{
    const auto timers = qApp->findChildren<QTimer *>("modalDriver", Qt::FindDirectChildrenOnly);
    for (QTimer *timer : timers) {
        timer->stop();
        timer->deleteLater();
    }
}

void chooseFileInNextDialog(const QString &path)
{
    onNextModalOf<QFileDialog>([path](QFileDialog *dialog) {
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        acceptFile(dialog, path);
    });
}

void acceptFile(QFileDialog *dialog, const QString &path)
{
    // Typed into the name field, as a user would; selectFile() leaves the
    // field alone while it has the focus.
    dialog->selectFile(path);
    if (auto *nameEdit = dialog->findChild<QLineEdit *>("fileNameEdit"))
        nameEdit->setText(path);
    static_cast<QDialog *>(dialog)->accept();
}

void answerNextMessageBox(QMessageBox::StandardButton button, QString *text, QString *title)
{
    onNextModalOf<QMessageBox>([=](QMessageBox *box) {
        if (text)
            *text = box->text();
        if (title)
            *title = box->windowTitle();
        QAbstractButton *answer = box->button(button);
        if (answer)
            answer->click();
        else
            box->done(button);
    });
}

void answerEveryMessageBox(QMessageBox::StandardButton button, QStringList *texts)
{
    auto *timer = new QTimer(qApp);
    timer->setObjectName("modalDriver");
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [=]() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        texts->append(box->text());
        QAbstractButton *answer = box->button(button);
        if (answer)
            answer->click();
        else
            box->done(button);
    });
    timer->start();
}

std::unique_ptr<VorlanCSV> openWindow(const QString &path)
{
    chooseFileInNextDialog(path);
    return std::make_unique<VorlanCSV>();
}

void discardWindow(std::unique_ptr<VorlanCSV> &window)
{
    if (!window)
        return;
    onNextModalOf<QMessageBox>([](QMessageBox *box) { box->button(QMessageBox::No)->click(); });
    window->close();
    cancelPendingModalActions();
    window.reset();
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
    file.close();
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QTableWidget *table(VorlanCSV *window)
{
    return window->findChild<QTableWidget *>("tab");
}

QString cellText(QTableWidget *table, int row, int column)
{
    QWidget *widget = table->cellWidget(row, column);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return combo->currentText();
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return edit->text();
    if (QTableWidgetItem *item = table->item(row, column))
        return item->text();
    return QString();
}

bool waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

} // namespace TestSupport

// --- Helpers of the print tests ---
namespace TestSupport {

QStringList programColumnTitles()
{
    QMainWindow window;
    Ui::VorlanCSVClass ui;
    ui.setupUi(&window);
    QStringList titles;
    for (int c = 0; c < ui.tab->columnCount(); ++c)
        titles << ui.tab->horizontalHeaderItem(c)->text();
    return titles;
}

} // namespace TestSupport
