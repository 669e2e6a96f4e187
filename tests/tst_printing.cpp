// The print command through the main window: the column dialog and the
// preview ended every way, and "Drucken" onto a PDF queue of a real CUPS print
// spooler, the PDF read back page by page.
#include "TestSupport.h"

#include "Preview.h"
#include "SelectCol.h"
#include "VorlanCSV.h"

#include <QCheckBox>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <pwd.h>
#include <unistd.h>

using namespace TestSupport;

namespace {

// Set up by tests/print-spooler.sh; not the default printer, so that a print
// on the default instead of the chosen queue shows.
const QString Queue = "VorlanPDF1";

QString output(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// The spooler's jobs numbered above `after`, with their queues.
QMap<int, QString> jobsAfter(int after)
{
    QMap<int, QString> jobs;
    const QRegularExpression job("^(\\S+)-(\\d+)\\s", QRegularExpression::MultilineOption);
    for (auto it = job.globalMatch(output("lpstat", {"-W", "all", "-o"})); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.captured(2).toInt() > after)
            jobs.insert(match.captured(2).toInt(), match.captured(1));
    }
    return jobs;
}

int newestJob()
{
    const QMap<int, QString> jobs = jobsAfter(0);
    return jobs.isEmpty() ? 0 : jobs.lastKey();
}

// Where cups-pdf puts this user's PDFs: its "Out" setting, filled in as it does.
QString cupsPdfOutputDir()
{
    const QRegularExpression setting("^Out\\s+(\\S+)", QRegularExpression::MultilineOption);
    QString out = setting.match(readFile("/etc/cups/cups-pdf.conf")).captured(1);
    const passwd *user = getpwuid(getuid());
    return (out.isEmpty() ? "/var/spool/cups-pdf/${USER}" : out)
        .replace("${HOME}", user->pw_dir)
        .replace("${USER}", user->pw_name);
}

// Plan rows whose texts tell their column: E<r> in column 0, "Grundriss <r>"
// in 17, Müller in 21, PDF<r> in 27.
QString writePlan(const QString &path, int rows)
{
    QByteArray text;
    for (int r = 1; r <= rows; ++r)
        text += QString("E%1;Plan %1;;;;;;;;;;;;;;;;Grundriss %1;;;A1;Müller;;;;;;PDF%1\n").arg(r).toUtf8();
    return writeFile(path, text);
}

// Marks ExportID, Beschreibung and DTYPE by hand, after clearing the others.
void markByHand(SelectCol *dialog)
{
    QTest::mouseClick(dialog->clearAll, Qt::LeftButton);
    for (int n : {1, 18, 28})
        dialog->findChild<QCheckBox *>(QString("checkBox_%1").arg(n))->click();
}

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<VorlanCSV> window;

private slots:
    void initTestCase() { startTesting(); }
    void cleanup()
    {
        discardWindow(window);
        checkDialogs();
    }

    // Exactly the columns marked by hand reach the pages, on the chosen queue.
    void printsOnChosenQueue_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages");
        QTest::newRow("empty table: one page") << 0 << 1;
        QTest::newRow("18 rows: two pages") << 18 << 2;
    }
    void printsOnChosenQueue()
    {
        QFETCH(int, rows);
        QFETCH(int, pages);
        if (qEnvironmentVariableIsSet("VORLAN_NO_PRINTER"))
            QSKIP("this run has no printer");
        if (QPrinterInfo::printerInfo(Queue).isNull())
            SKIP_OR_FAIL("no print spooler with the PDF queue VorlanPDF1; "
                         "tests/print-spooler.sh start sets it up (as root)");
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            SKIP_OR_FAIL("pdftotext (poppler-utils) is not installed");

        const QString path = writePlan(dir.filePath("Bauteil 7/plan.csv"), rows);
        window = openWindow(path);
        const int newest = newestJob();
        const QDir outputDir(cupsPdfOutputDir());
        const QStringList before = outputDir.entryList({"*.pdf"});
        QString heading;
        expect<SelectCol>([&](SelectCol *dialog) {
            heading = dialog->title->text();
            dialog->title->setText("Eine andere Überschrift");
            markByHand(dialog);
            QTest::mouseClick(dialog->pushButton, Qt::LeftButton);
        });
        expect<Preview>([&](Preview *dialog) {
            dialog->printerNames->setCurrentIndex(dialog->printerNames->findText(Queue));
            QTest::mouseClick(dialog->pushButton, Qt::LeftButton);
        });
        trigger(window.get(), "actionDrucken");
        QCOMPARE(heading, path);
        const QMap<int, QString> jobs = jobsAfter(newest);
        QCOMPARE(jobs.values(), QStringList {Queue});

        // What the spooler took: the file line, then exactly the marked columns.
        const QString job = QString("/var/spool/cups/d%1-001").arg(jobs.firstKey(), 5, 10, QChar('0'));
        if (!QFileInfo(job).isReadable())
            SKIP_OR_FAIL(qPrintable("the spooler's copy of the job cannot be read: " + job));
        const QStringList pageTexts = pdfText(job).split('\f');
        QCOMPARE(pageTexts.size() - 1, pages);
        QStringList expected = ("Datei: " + path).split(' ');
        expected << "ExportID" << "Beschreibung" << "DTYPE";
        for (int r = 1; r <= rows; ++r)
            expected << QString("E%1 Grundriss %1 PDF%1").arg(r).split(' ');
        QCOMPARE(pageTexts.join(' ').split(QRegularExpression("\\s+"), Qt::SkipEmptyParts), expected);

        // cups-pdf writes its file once the job has gone through the filters.
        QStringList fresh;
        QTRY_VERIFY_WITH_TIMEOUT((fresh = outputDir.entryList({"*.pdf"}), fresh.size() > before.size())
                                     && output("lpstat", {"-W", "not-completed", "-o", Queue}).isEmpty(),
                                 120000);
        for (const QString &old : before)
            fresh.removeAll(old);
        QCOMPARE(fresh.size(), 1);
        const QString pdf = outputDir.filePath(fresh.first());
        const int printed = pdfText(pdf).count('\f');
        QFile::remove(pdf);
        QCOMPARE(printed, pages);
    }

    void endsWithoutPrinting_data()
    {
        // The button or key in the column dialog, then in the preview.
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("Cancel in the column dialog") << QStringList {"Cancel"};
        QTest::newRow("Escape in the column dialog") << QStringList {"Escape"};
        QTest::newRow("Vorschau.., then Cancel in the preview") << QStringList {"Vorschau..", "Cancel"};
        QTest::newRow("Enter in the heading, then closing the preview") << QStringList {"Enter", "close"};
        QTest::newRow("no printer: Drucken ends like Cancel") << QStringList {"Vorschau..", "Drucken"};
    }
    void endsWithoutPrinting()
    {
        QFETCH(QStringList, steps);
        const QString columnDialog = steps.first(), preview = steps.value(1);
        const bool noPrinter = qEnvironmentVariableIsSet("VORLAN_NO_PRINTER");
        if (preview == "Drucken" && !noPrinter)
            QSKIP("printers are installed; tst_printing_noprinter runs this without a spooler");
        window = openWindow(writePlan(dir.filePath("plan.csv"), 3));
        const int newest = newestJob();
        expect<SelectCol>([&](SelectCol *dialog) {
            markByHand(dialog);
            if (columnDialog == "Cancel")
                QTest::mouseClick(dialog->pushButton_2, Qt::LeftButton);
            else if (columnDialog == "Escape")
                QTest::keyClick(dialog, Qt::Key_Escape);
            else if (columnDialog == "Enter")
                QTest::keyClick(dialog->title, Qt::Key_Return);
            else
                QTest::mouseClick(dialog->pushButton, Qt::LeftButton);
        });
        QStringList texts;
        if (!preview.isEmpty()) {
            expect<Preview>([&](Preview *dialog) {
                QCOMPARE(dialog->printerNames->count() == 0, noPrinter);
                QCOMPARE(!dialog->currentPrinter && !dialog->previewWidget, noPrinter);
                if (!noPrinter) { // the marks made by hand reach the preview
                    QTRY_VERIFY(dialog->previewWidget->pageCount() > 0);
                    const auto scenes = dialog->findChildren<QGraphicsScene *>();
                    for (QGraphicsItem *item : scenes.last()->items())
                        if (auto *text = qgraphicsitem_cast<QGraphicsTextItem *>(item))
                            texts << text->toPlainText();
                }
                if (preview == "close")
                    dialog->close();
                else
                    QTest::mouseClick(preview == "Cancel" ? dialog->pushButton_2 : dialog->pushButton,
                                      Qt::LeftButton);
            });
        }
        trigger(window.get(), "actionDrucken");
        checkDialogs();
        if (!noPrinter && !preview.isEmpty()) {
            std::sort(texts.begin(), texts.end());
            QCOMPARE(texts, QString("Beschreibung|DTYPE|Datei: %1|E1|E2|E3|ExportID|Grundriss 1|Grundriss 2|"
                                    "Grundriss 3|PDF1|PDF2|PDF3").arg(dir.filePath("plan.csv")).split('|'));
        }
        QVERIFY(window->findChildren<QDialog *>().isEmpty());
        QCOMPARE(window->windowTitle(), titleOf(dir.filePath("plan.csv")));
        QCOMPARE(jobsAfter(newest), {}); // a job would be there by now
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
