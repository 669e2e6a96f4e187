// Printing end to end through the main window: the print action, the column
// dialog, the preview and "Drucken" onto the PDF queue of a real CUPS print
// spooler, checked on the PDF that cups-pdf writes.
#include "TestSupport.h"

#include "Preview.h"
#include "SelectCol.h"
#include "VorlanCSV.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <pwd.h>
#include <unistd.h>

using namespace TestSupport;

namespace {

// The queue that tests/start-print-spooler.sh sets up.
const QString Queue = "VorlanPDF";

const QString PlanRow = "%1;Plan %1;a.pdf;Haus A;x;1;2;D-%1;;;;;;;;;;Grundriss EG;12;Erste "
                        "Ausgabe;A1;Müller GmbH;Erdgeschoss;Elektro;1:50;Grundriss;T-4;PDF";

QString output(const QString &program, const QStringList &arguments, bool *ok = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    const bool done = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
    if (ok)
        *ok = done;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// Where cups-pdf puts the PDFs of this user's jobs: its "Out" setting, with
// ${HOME} and ${USER} as cups-pdf fills them in.
QString cupsPdfOutputDir()
{
    QString out = "/var/spool/cups-pdf/${USER}";
    for (const QString &conf :
         {QString("/etc/cups/cups-pdf-%1.conf").arg(Queue), QString("/etc/cups/cups-pdf.conf")}) {
        QFile file(conf);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        bool found = false;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.startsWith("Out ") || line.startsWith("Out\t")) {
                out = line.mid(4).trimmed();
                found = true;
            }
        }
        if (found)
            break;
    }
    const passwd *user = getpwuid(getuid());
    if (user) {
        out.replace("${HOME}", QString::fromLocal8Bit(user->pw_dir));
        out.replace("${USER}", QString::fromLocal8Bit(user->pw_name));
    }
    return out;
}

// The highest job number the spooler has seen on the queue, -1 when it does
// not answer.
int lastJob()
{
    bool ok = false;
    const QString jobs = output("lpstat", {"-W", "all", "-o", Queue}, &ok);
    if (!ok)
        return -1;
    int last = 0;
    const QRegularExpression job("^" + Queue + "-(\\d+)\\s", QRegularExpression::MultilineOption);
    for (auto it = job.globalMatch(jobs); it.hasNext();)
        last = qMax(last, it.next().captured(1).toInt());
    return last;
}

bool jobsPending()
{
    return !output("lpstat", {"-W", "not-completed", "-o", Queue}).trimmed().isEmpty();
}

int pdfPages(const QString &path)
{
    bool ok = false;
    const QString info = output("pdfinfo", {path}, &ok);
    const QRegularExpressionMatch pages =
        QRegularExpression("^Pages:\\s+(\\d+)", QRegularExpression::MultilineOption).match(info);
    return ok && pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

QStringList pdfFiles(const QString &dir)
{
    return QDir(dir).entryList({"*.pdf"}, QDir::Files);
}

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void printsOnChosenQueue_data();
    void printsOnChosenQueue();
    void cancelPrintsNothing_data();
    void cancelPrintsNothing();
    void withoutPrinterDruckenEndsLikeCancel();

private:
    QString writePlan(int rows);
    void printCommand() { window->findChild<QAction *>("actionDrucken")->trigger(); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<VorlanCSV> window;
    QString spoolerMissing; // why the spooler tests cannot run; empty when they can
    QString outputDir;
};

void TestPrinting::initTestCase()
{
    isolateSettings();
    outputDir = cupsPdfOutputDir();
    if (QPrinterInfo::availablePrinters().isEmpty())
        spoolerMissing = "no printer installed or no print spooler reachable; start one with "
                         "tests/start-print-spooler.sh (as root)";
    else if (QPrinterInfo::printerInfo(Queue).isNull())
        spoolerMissing = "the print spooler has no queue " + Queue
            + "; add it with tests/start-print-spooler.sh (as root)";
    else if (QStandardPaths::findExecutable("pdfinfo").isEmpty())
        spoolerMissing = "pdfinfo (poppler-utils) is not installed";
    else if (QStandardPaths::findExecutable("lpstat").isEmpty())
        spoolerMissing = "lpstat (cups-client) is not installed";
}

void TestPrinting::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void TestPrinting::cleanup()
{
    discardWindow(window);
    cancelPendingModalActions();
}

QString TestPrinting::writePlan(int rows)
{
    QByteArray text;
    for (int r = 0; r < rows; ++r)
        text += PlanRow.arg(r + 1).toUtf8() + '\n';
    return writeFile(dir->filePath("Bauteil 7/plan.csv"), text);
}

void TestPrinting::printsOnChosenQueue_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("pages");

    QTest::newRow("empty table: one page") << 0 << 1;
    QTest::newRow("17 rows: one page") << 17 << 1;
    QTest::newRow("18 rows: two pages") << 18 << 2;
    QTest::newRow("37 rows: two pages") << 37 << 2;
    QTest::newRow("38 rows: three pages") << 38 << 3;
}

void TestPrinting::printsOnChosenQueue()
{
    QFETCH(int, rows);
    QFETCH(int, pages);
    if (!spoolerMissing.isEmpty())
        QSKIP(qPrintable(spoolerMissing));

    const QString path = writePlan(rows);
    window = openWindow(path);
    window->show();
    QCOMPARE(table(window.get())->rowCount(), rows);
    const QString title = window->windowTitle();
    const QStringList before = pdfFiles(outputDir);
    const int jobBefore = lastJob();
    QVERIFY(jobBefore >= 0);

    bool selected = false;
    onNextModalOf<SelectCol>([&](SelectCol *dialog) {
        selected = dialog->title->text() == path;
        // The heading field does not reach the printout.
        dialog->title->setText("Eine andere Überschrift");
        QTest::mouseClick(dialog->pushButton, Qt::LeftButton);
    });
    QString chosen;
    int previewPages = -1;
    QStringList previewTexts;
    onNextModalOf<Preview>([&](Preview *dialog) {
        dialog->printerNames->setCurrentIndex(dialog->printerNames->findText(Queue));
        chosen = dialog->currentPrinter->printerName();
        waitUntil([&] { return dialog->previewWidget->pageCount() > 0; });
        previewPages = dialog->previewWidget->pageCount();
        // The texts of the last page the preview drew.
        const auto scenes =
            dialog->findChildren<QGraphicsScene *>(QString(), Qt::FindDirectChildrenOnly);
        if (!scenes.isEmpty()) {
            for (QGraphicsItem *item : scenes.last()->items()) {
                if (auto *text = qgraphicsitem_cast<QGraphicsTextItem *>(item))
                    previewTexts << text->toPlainText();
            }
        }
        QTest::mouseClick(dialog->pushButton, Qt::LeftButton);
    });
    printCommand();

    QVERIFY2(selected, "the column dialog did not show the file name as heading");
    QCOMPARE(chosen, Queue);
    QCOMPARE(previewPages, pages);
    if (pages == 1) {
        // The file line names the file, whatever the heading field said.
        QVERIFY2(previewTexts.contains("Datei: " + path), qPrintable(previewTexts.join('|')));
        QVERIFY(!previewTexts.join('|').contains("andere"));
    }
    // The command cleaned up after itself and left the document alone.
    QVERIFY(window->findChildren<SelectCol *>().isEmpty());
    QVERIFY(window->findChildren<Preview *>().isEmpty());
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(lastJob(), jobBefore + 1);

    // cups-pdf writes the file once the job has gone through its filters.
    QString pdf;
    qint64 lastSize = -1;
    QElapsedTimer sinceCheck;
    sinceCheck.start();
    const bool written = waitUntil(
        [&] {
            if (sinceCheck.elapsed() < 200)
                return false;
            sinceCheck.restart();
            QStringList fresh = pdfFiles(outputDir);
            for (const QString &old : before)
                fresh.removeAll(old);
            if (fresh.size() != 1 || jobsPending())
                return false;
            pdf = QDir(outputDir).filePath(fresh.first());
            const qint64 size = QFileInfo(pdf).size();
            const bool stable = size > 0 && size == lastSize;
            lastSize = size;
            return stable && pdfPages(pdf) > 0;
        },
        120000);
    QVERIFY2(written, qPrintable("no new PDF in " + outputDir));
    QCOMPARE(pdfPages(pdf), pages);

    QFile::remove(pdf);
}

void TestPrinting::cancelPrintsNothing_data()
{
    QTest::addColumn<QString>("how");

    QTest::newRow("Cancel in the column dialog") << "columns cancel";
    QTest::newRow("Escape in the column dialog") << "columns escape";
    QTest::newRow("closing the column dialog") << "columns close";
    QTest::newRow("Cancel in the preview") << "preview cancel";
    QTest::newRow("closing the preview") << "preview close";
}

void TestPrinting::cancelPrintsNothing()
{
    QFETCH(QString, how);

    window = openWindow(writePlan(3));
    window->show();
    const QString title = window->windowTitle();
    const int jobBefore = lastJob();

    bool selectShown = false;
    onNextModalOf<SelectCol>([&](SelectCol *dialog) {
        selectShown = true;
        if (how == "columns cancel")
            QTest::mouseClick(dialog->pushButton_2, Qt::LeftButton);
        else if (how == "columns escape")
            QTest::keyClick(dialog, Qt::Key_Escape);
        else if (how == "columns close")
            dialog->close();
        else
            QTest::mouseClick(dialog->pushButton, Qt::LeftButton);
    });
    bool previewShown = false;
    onNextModalOf<Preview>([&](Preview *dialog) {
        previewShown = true;
        if (how == "preview cancel")
            QTest::mouseClick(dialog->pushButton_2, Qt::LeftButton);
        else
            dialog->close();
    });
    printCommand();

    QVERIFY(selectShown);
    QCOMPARE(previewShown, how.startsWith("preview"));
    QVERIFY(window->findChildren<SelectCol *>().isEmpty());
    QVERIFY(window->findChildren<Preview *>().isEmpty());
    QCOMPARE(window->windowTitle(), title);
    // A job would have reached the spooler before the command returned.
    QCOMPARE(lastJob(), jobBefore);
}

void TestPrinting::withoutPrinterDruckenEndsLikeCancel()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("printers are installed; tst_printing_noprinter runs this test with the print "
              "spooler out of reach");

    window = openWindow(writePlan(5));
    window->show();
    const QString title = window->windowTitle();
    for (int run = 0; run < 2; ++run) {
        bool previewEmpty = false;
        onNextModalOf<SelectCol>(
            [](SelectCol *dialog) { QTest::mouseClick(dialog->pushButton, Qt::LeftButton); });
        onNextModalOf<Preview>([&](Preview *dialog) {
            previewEmpty = dialog->printerNames->count() == 0 && !dialog->previewWidget
                && !dialog->currentPrinter;
            QTest::mouseClick(dialog->pushButton, Qt::LeftButton);
        });
        printCommand();

        QVERIFY2(previewEmpty, "the preview dialog offered a printer or a preview");
        QVERIFY(window->findChildren<Preview *>().isEmpty());
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), title);
        QCOMPARE(table(window.get())->rowCount(), 5);
    }
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
