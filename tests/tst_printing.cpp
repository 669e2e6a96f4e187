// The print command through the main window, its two dialogs ended every way,
// and "Drucken" onto a PDF queue of a real CUPS print spooler; run once more
// without any printer (VORLAN_NO_PRINTER), where "Drucken" ends like "Cancel".
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

// Where cups-pdf puts this user's PDFs: its "Out" setting, filled in as it does.
QDir cupsPdfOutput()
{
    const QRegularExpression setting("^Out\\s+(\\S+)", QRegularExpression::MultilineOption);
    const QString out = setting.match(readFile("/etc/cups/cups-pdf.conf")).captured(1);
    const passwd *user = getpwuid(getuid());
    return QString(out.isEmpty() ? "/var/spool/cups-pdf/${USER}" : out)
        .replace("${HOME}", user->pw_dir)
        .replace("${USER}", user->pw_name);
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

    void print_data()
    {
        // The button or key in the column dialog, then in the preview.
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages"); // 0: nothing printed
        QTest::newRow("18 rows on two pages") << QStringList {"Vorschau..", "Drucken"} << 18 << 2;
        QTest::newRow("an empty table on one page")
            << QStringList {"Vorschau..", "Drucken"} << 0 << 1;
        QTest::newRow("Cancel in the column dialog") << QStringList {"Cancel"} << 3 << 0;
        QTest::newRow("Escape in the column dialog") << QStringList {"Escape"} << 3 << 0;
        QTest::newRow("Vorschau.., then Cancel in the preview")
            << QStringList {"Vorschau..", "Cancel"} << 3 << 0;
        QTest::newRow("Enter in the heading, then closing the preview")
            << QStringList {"Enter", "close"} << 3 << 0;
    }
    void print()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, rows);
        QFETCH(int, pages);
        const bool noPrinter = qEnvironmentVariableIsSet("VORLAN_NO_PRINTER");
        if (!noPrinter && QPrinterInfo::printerInfo(Queue).isNull())
            SKIP_OR_FAIL("no print spooler with the PDF queue VorlanPDF1; "
                         "tests/print-spooler.sh start sets it up (as root)");
        if (!noPrinter && QStandardPaths::findExecutable("pdftotext").isEmpty())
            SKIP_OR_FAIL("pdftotext (poppler-utils) is not installed");
        // Texts that tell their column: E<r> in column 0, "Grundriss <r>" in
        // 17, A1 in 20, Müller in 21 and PDF<r> in 27.
        QByteArray text;
        for (int r = 1; r <= rows; ++r)
            text += QString("E%1;Plan;;;;;;;;;;;;;;;;Grundriss %1;;;A1;Müller;;;;;;PDF%1\n")
                        .arg(r)
                        .toUtf8();
        const QString path = writeFile(dir.filePath("Bauteil 7/plan.csv"), text);
        window = openWindow(path);
        window->show();
        const QMap<int, QString> old = jobsAfter(0);
        const int newest = old.isEmpty() ? 0 : old.lastKey();
        const QStringList before = cupsPdfOutput().entryList({"*.pdf"});

        QString heading;
        expect<SelectCol>([&](SelectCol *dialog) {
            heading = dialog->title->text();
            dialog->title->setText("Eine andere Überschrift");
            // ExportID, Beschreibung and DTYPE marked by hand.
            QTest::mouseClick(dialog->clearAll, Qt::LeftButton);
            for (int n : {1, 18, 28})
                dialog->findChild<QCheckBox *>(QString("checkBox_%1").arg(n))->click();
            if (steps[0] == "Escape" || steps[0] == "Enter")
                QTest::keyClick(dialog->title,
                                steps[0] == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
            else
                QTest::mouseClick(steps[0] == "Cancel" ? dialog->pushButton_2 : dialog->pushButton,
                                  Qt::LeftButton);
        });
        QStringList texts; // on the last page of the preview
        if (steps.size() > 1) {
            expect<Preview>([&](Preview *dialog) {
                QCOMPARE(!dialog->printerNames->count() && !dialog->currentPrinter
                             && !dialog->previewWidget,
                         noPrinter);
                if (!noPrinter) {
                    dialog->printerNames->setCurrentIndex(dialog->printerNames->findText(Queue));
                    QTRY_VERIFY(dialog->previewWidget->pageCount() > 0);
                    for (QGraphicsItem *item :
                         dialog->findChildren<QGraphicsScene *>().last()->items())
                        if (auto *text = qgraphicsitem_cast<QGraphicsTextItem *>(item))
                            texts << text->toPlainText();
                }
                if (steps[1] == "close")
                    dialog->close();
                else
                    QTest::mouseClick(steps[1] == "Cancel" ? dialog->pushButton_2
                                                           : dialog->pushButton,
                                      Qt::LeftButton);
            });
        }
        trigger(window.get(), "actionDrucken");
        checkDialogs();
        QCOMPARE(heading, path);
        QVERIFY(window->findChildren<QDialog *>().isEmpty());
        QCOMPARE(window->windowTitle(), titleOf(path));
        if (rows == 3 && !texts.isEmpty()) { // the marks made by hand reach the preview
            std::sort(texts.begin(), texts.end());
            QCOMPARE(texts,
                     ("Beschreibung|DTYPE|Datei: " + path
                      + "|E1|E2|E3|ExportID|Grundriss 1|Grundriss 2|"
                        "Grundriss 3|PDF1|PDF2|PDF3")
                         .split('|'));
        }
        const QMap<int, QString> jobs = jobsAfter(newest);
        if (!pages || noPrinter) {
            QCOMPARE(jobs, {}); // a job would be there by now
            return;
        }

        // What the spooler took: on its pages the file line, then exactly the
        // marked columns.
        QCOMPARE(jobs.values(), QStringList {Queue});
        const QString job =
            QString("/var/spool/cups/d%1-001").arg(jobs.firstKey(), 5, 10, QChar('0'));
        if (!QFileInfo(job).isReadable())
            SKIP_OR_FAIL(qPrintable("the spooler's copy of the job cannot be read: " + job));
        const QStringList pageTexts = pdfText(job).split('\f');
        QCOMPARE(pageTexts.size() - 1, pages);
        QStringList expected =
            ("Datei: " + path).split(' ') + QStringList {"ExportID", "Beschreibung", "DTYPE"};
        for (int r = 1; r <= rows; ++r)
            expected << QString("E%1 Grundriss %1 PDF%1").arg(r).split(' ');
        QCOMPARE(pageTexts.join(' ').split(QRegularExpression("\\s+"), Qt::SkipEmptyParts),
                 expected);

        // cups-pdf writes its file once the job has gone through the filters.
        QStringList fresh;
        QTRY_VERIFY_WITH_TIMEOUT(
            (fresh = cupsPdfOutput().entryList({"*.pdf"}), fresh.size() > before.size())
                && output("lpstat", {"-W", "not-completed", "-o", Queue}).isEmpty(),
            120000);
        for (const QString &old : before)
            fresh.removeAll(old);
        QCOMPARE(fresh.size(), 1);
        const QString pdf = cupsPdfOutput().filePath(fresh.first());
        const int printed = pdfText(pdf).count('\f');
        QFile::remove(pdf);
        QCOMPARE(printed, pages);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
