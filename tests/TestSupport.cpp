#include "TestSupport.h"

#include <QtTest>
#include <QtWidgets>

namespace TestSupport {

namespace {

// The lines of plan-format.txt: the column titles, then the drop-down items of each list.
QStringList formatLine(int line)
{
    static const QStringList lines =
        QString(readFile(PLAN_FORMAT_FILE)).split('\n').filter(QRegularExpression("^[^#]"));
    return lines.value(line).split('|');
}

} // namespace

const QStringList ColumnTitles = formatLine(0);

QStringList vocabulary(int column)
{
    const int list = QList<int> {20, 22, 23, 24, 25}.indexOf(column);
    return list < 0 ? QStringList() : formatLine(1 + list);
}

QStringList items(QWidget *dropDown)
{
    QStringList texts;
    auto *combo = qobject_cast<QComboBox *>(dropDown);
    for (int i = 0; combo && i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

namespace {

QList<QPair<QByteArray, std::function<void(QWidget *)>>> expected;
QStringList messages;

void fail(const QString &what, QWidget *w)
{
    const auto *box = qobject_cast<QMessageBox *>(w);
    QTest::qFail(qPrintable(QString("%1 %2 \"%3\" %4")
                                .arg(what, w->metaObject()->className(), w->windowTitle(),
                                     box ? box->text().left(200) : "")),
                 __FILE__, __LINE__);
}

void watchModals()
{
    QWidget *w = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    w = w ? w : QApplication::activeModalWidget();
    if (!w || !w->isVisible())
        return;
    if (auto *box = qobject_cast<QMessageBox *>(w)) {
        messages << box->windowTitle() + "|" + box->text();
        if (box->textFormat() != Qt::PlainText || QGuiApplication::overrideCursor())
            fail("message box not in plain text, or under a busy cursor:", w);
    }
    if (!expected.isEmpty() && w->inherits(expected.first().first))
        return expected.takeFirst().second(w);
    fail("unexpected dialog", w);
    if (auto *dialog = qobject_cast<QDialog *>(w))
        dialog->reject();
    else
        w->close();
}

// Qt only warns of a signal connection it cannot make, by signature or by a slot's name, and
// of an editor handed to the table that it has closed already.
QtMessageHandler qtHandler = nullptr;

void failOnMisuseWarning(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    qtHandler(type, context, text);
    if (type == QtWarningMsg
        && (text.startsWith("QObject::connect")
            || text.startsWith("QMetaObject::connectSlotsByName")
            || text.endsWith("an editor that does not belong to this view")))
        QTest::qFail(qPrintable("Qt warns: " + text), __FILE__, __LINE__);
}

} // namespace

void startTesting()
{
    if (!qtHandler)
        qtHandler = qInstallMessageHandler(failOnMisuseWarning);
    static QTemporaryDir configDir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configDir.path()));
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, watchModals);
    timer->start(10);
}

void expectModal(const char *className, std::function<void(QWidget *)> answer)
{
    expected.append({className, answer});
}

void expectFile(const QString &path, std::function<void()> chosen)
{
    expect<QFileDialog>([=](QFileDialog *dialog) {
        // Every file dialog is the same, in the folder of the last save while it exists.
        QCOMPARE(dialog->windowTitle() + " " + dialog->nameFilters().join(""),
                 "CSV-Datei öffnen CSV (*.csv)");
        const QString last = QSettings("Quellor", "VorlanCSV").value("lastpath").toString();
        QVERIFY(!QFileInfo(last).isDir() || dialog->directory() == QDir(last));
        if (chosen)
            QObject::connect(dialog, &QDialog::finished, chosen);
        dialog->findChild<QLineEdit *>("fileNameEdit")->setText(path);
        path.isEmpty() ? dialog->reject() : static_cast<QDialog *>(dialog)->accept();
    });
}

void expectMessage(QMessageBox::StandardButton button)
{
    expect<QMessageBox>([=](QMessageBox *box) {
        if (QAbstractButton *b = box->button(button))
            return b->click();
        fail("no such button in", box);
        box->reject();
    });
}

QStringList takeMessages()
{
    return std::exchange(messages, {});
}

void checkDialogs()
{
    messages.clear();
    QStringList missing;
    for (const auto &e : std::exchange(expected, {}))
        missing << e.first;
    QVERIFY2(missing.isEmpty(), qPrintable("dialogs that never came: " + missing.join(", ")));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

QStringList rightClick(QTableWidget *table, QPoint pos, const QString &entry,
                       std::function<void()> whileOpen)
{
    QStringList offered;
    expect<QMenu>([&](QMenu *menu) {
        if (whileOpen)
            whileOpen();
        for (QAction *action : menu->actions()) {
            offered << action->text();
            if (action->text() == entry)
                menu->setActiveAction(action);
        }
        QTest::keyClick(menu, menu->activeAction() ? Qt::Key_Return : Qt::Key_Escape);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, table->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(table->viewport(), &event);
    return offered;
}

void clickTool(VorlanCSV *window, const char *action)
{
    auto *toolBar = window->findChild<QToolBar *>("toolBar");
    QWidget *button = toolBar->widgetForAction(window->findChild<QAction *>(action));
    QVERIFY2(button && button->isVisible(), action);
    QTest::mouseClick(button, Qt::LeftButton);
}

void dragScrollBar(QScrollBar *bar, double fraction)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->value();
    option.pageStep = bar->pageStep();
    const auto rect = [&](QStyle::SubControl part) {
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
    };
    const QRect groove = rect(QStyle::SC_ScrollBarGroove),
                handle = rect(QStyle::SC_ScrollBarSlider);
    const QPoint room(groove.width() - handle.width(), groove.height() - handle.height()),
        by = room * fraction - (handle.topLeft() - groove.topLeft()), from = handle.center(),
        to = from + (bar->orientation() == Qt::Vertical ? QPoint(0, by.y()) : QPoint(by.x(), 0));
    QTest::mousePress(bar, Qt::LeftButton, {}, from); // the focus moves as for a user
    for (const QPoint at : {(from + to) / 2, to}) {
        QMouseEvent move(QEvent::MouseMove, at, bar->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
    }
    QTest::mouseRelease(bar, Qt::LeftButton, {}, to);
}

// As the window system delivers it: the first widget up that takes the focus by the wheel gets
// it, and the event goes up until a widget takes it.
void turnWheel(QWidget *widget, QPoint pos, int degrees, Qt::Orientation orientation)
{
    for (QWidget *w = widget; w && !w->hasFocus(); w = w->parentWidget()) {
        if ((w->focusPolicy() & Qt::WheelFocus) == Qt::WheelFocus) {
            w->setFocus(Qt::MouseFocusReason);
            break;
        }
        if (w->isWindow())
            break;
    }
    const QPoint angle(orientation == Qt::Horizontal ? degrees * 8 : 0,
                       orientation == Qt::Vertical ? degrees * 8 : 0);
    for (QWidget *w = widget; w; pos += w->pos(), w = w->parentWidget()) {
        QWheelEvent event(pos, w->mapToGlobal(pos), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &event);
        if (event.isAccepted() || w->isWindow())
            break;
    }
}

std::unique_ptr<VorlanCSV> openWindow(const QString &path)
{
    expectFile(path);
    return std::make_unique<VorlanCSV>();
}

void discardWindow(std::unique_ptr<VorlanCSV> &window)
{
    if (window && window->windowTitle().endsWith(" *"))
        expectMessage(QMessageBox::No);
    window.reset();
}

void trigger(VorlanCSV *window, const char *action)
{
    window->findChild<QAction *>(action)->trigger();
}

void editCell(PlanTable *tab, int row, int column, const QString &text)
{
    const QModelIndex index = tab->model()->index(row, column);
    tab->setCurrentIndex(index);
    tab->edit(index);
    auto *editor = qobject_cast<QLineEdit *>(tab->indexWidget(index));
    QVERIFY2(editor, "no editor opens in a plain cell");
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!tab->indexWidget(index)); // taken over once the editor closes
}

PlanTable *table(VorlanCSV *window)
{
    return window->findChild<PlanTable *>("tab");
}

QStringList rowTexts(VorlanCSV *window)
{
    QStringList texts;
    for (int r = 0; r < table(window)->rowCount(); ++r)
        texts << window->rowText(r);
    return texts;
}

QString titleOf(const QString &path, bool modified)
{
    return "VorlanCSV - " + path + (modified ? " *" : "");
}

QByteArray planFile(const QStringList &rows)
{
    return (rows.join('\n') + "\n").toUtf8().mid(rows.isEmpty());
}

QStringList planRows(int count)
{
    QStringList rows;
    for (int r = 0; r < count; ++r) {
        QStringList f = QString(27, ';').split(';');
        f[0] = QString::number(r);
        f[1] = "Plan " + QString::number(r);
        f[17] = r % 3 ? "Grundriss Nord" : "Schnitt";
        f[19] = QString("Prüfung %1").arg(r);
        for (int c : {20, 22, 23, 24, 25})
            f[c] = vocabulary(c).at(r % vocabulary(c).size());
        rows << f.join(';');
    }
    return rows;
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

QString pdfText(const QString &pdf)
{
    QProcess tool;
    tool.start("pdftotext", {"-layout", "-enc", "UTF-8", pdf, "-"});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        QTest::qFail(qPrintable("pdftotext (poppler-utils) on " + pdf + ": " + tool.errorString()),
                     __FILE__, __LINE__);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

} // namespace TestSupport
