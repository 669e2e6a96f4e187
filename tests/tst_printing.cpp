// Printing through the main window: both dialogs ended every way, and "Drucken"
// onto the PDF queue of a real CUPS print spooler, its pages counted by pdfinfo.
#include "TestSupport.h"

#include "Preview.h"
#include "SelectCol.h"
#include "VorlanCSV.h"

#include <QtPrintSupport>
#include <QtTest>

#include <pwd.h>
#include <unistd.h>

using namespace TestSupport;

namespace {

// The PDF queue to print on, set up by tests/start-print-spooler.sh: one that
// is not the default printer, so that printing on the default instead of the
// chosen one shows.
QString chosenQueue()
{
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    for (const QString &name : QStringList{"VorlanPDF", "VorlanPDF2"}) {
        if (!QPrinterInfo::printerInfo(name).isNull() && name != defaultName)
            return name;
    }
    return QString();
}

QString output(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// The first capture of `pattern`, matched line by line.
QString capture(const QString &pattern, const QString &text)
{
    return QRegularExpression(pattern, QRegularExpression::MultilineOption).match(text).captured(1);
}

// The queues of the jobs the spooler has seen after job number `after`. Job
// numbers count across all queues; old jobs may be dropped from the history.
QStringList queuesOfJobsAfter(int after)
{
    QMap<int, QString> jobs;
    const QRegularExpression job("^(\\S+)-(\\d+)\\s", QRegularExpression::MultilineOption);
    for (auto it = job.globalMatch(output("lpstat", {"-W", "all", "-o"})); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        jobs.insert(match.captured(2).toInt(), match.captured(1));
    }
    QStringList queues;
    for (auto it = jobs.upperBound(after); it != jobs.end(); ++it)
        queues << it.value();
    return queues;
}

int newestJob()
{
    int newest = 0;
    const QRegularExpression job("^\\S+-(\\d+)\\s", QRegularExpression::MultilineOption);
    for (auto it = job.globalMatch(output("lpstat", {"-W", "all", "-o"})); it.hasNext();)
        newest = qMax(newest, it.next().captured(1).toInt());
    return newest;
}

int pdfPages(const QString &pdf)
{
    return capture("^Pages:\\s+(\\d+)", output("pdfinfo", {pdf})).toInt();
}

// Where cups-pdf puts this user's PDFs: its "Out" setting, filled in as it does.
QString cupsPdfOutputDir()
{
    QString out = capture("^Out\\s+(\\S+)", readFile("/etc/cups/cups-pdf.conf"));
    const passwd *user = getpwuid(getuid());
    return (out.isEmpty() ? "/var/spool/cups-pdf/${USER}" : out)
        .replace("${HOME}", user->pw_dir)
        .replace("${USER}", user->pw_name);
}

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<VorlanCSV> window;

    QString writePlan(int rows)
    {
        QByteArray text;
        for (int r = 1; r <= rows; ++r)
            text += QString("%1;Plan %1;;;;;;;;;;;;;;;;Grundriss EG;12;A1;Müller GmbH\n")
                        .arg(r)
                        .toUtf8();
        return writeFile(dir.filePath("Bauteil 7/plan.csv"), text);
    }

    void printCommand() { window->findChild<QAction *>("actionDrucken")->trigger(); }

private slots:
    void initTestCase() { isolateSettings(); }

    void cleanup()
    {
        discardWindow(window);
        cancelPendingModalActions();
    }

    void printsOnChosenQueue_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages");

        QTest::newRow("empty table: one page") << 0 << 1;
        QTest::newRow("17 rows: one page") << 17 << 1;
        QTest::newRow("18 rows: two pages") << 18 << 2;
        QTest::newRow("37 rows: two pages") << 37 << 2;
        QTest::newRow("38 rows: three pages") << 38 << 3;
    }

    void printsOnChosenQueue()
    {
        QFETCH(int, rows);
        QFETCH(int, pages);
        const QString Queue = chosenQueue();
        if (Queue.isEmpty())
            QSKIP("no print spooler with a PDF queue VorlanPDF or VorlanPDF2 besides the "
                  "default printer; start one with tests/start-print-spooler.sh (as root)");
        if (QStandardPaths::findExecutable("pdfinfo").isEmpty())
            QSKIP("pdfinfo (poppler-utils) is not installed");

        const QString path = writePlan(rows);
        window = openWindow(path);
        const int newest = newestJob();
        const QDir outputDir(cupsPdfOutputDir());
        const QStringList before = outputDir.entryList({"*.pdf"});
        QString heading;
        onNextModalOf<SelectCol>([&](SelectCol *dialog) {
            heading = dialog->title->text();
            dialog->title->setText("Eine andere Überschrift");
            QTest::mouseClick(dialog->pushButton, Qt::LeftButton);
        });
        QString chosen;
        QStringList texts; // on the last page the preview drew
        onNextModalOf<Preview>([&](Preview *dialog) {
            dialog->printerNames->setCurrentIndex(dialog->printerNames->findText(Queue));
            chosen = dialog->currentPrinter->printerName();
            waitUntil([&] { return dialog->previewWidget->pageCount() > 0; });
            const auto scenes =
                dialog->findChildren<QGraphicsScene *>(QString(), Qt::FindDirectChildrenOnly);
            for (QGraphicsItem *item :
                 scenes.isEmpty() ? QList<QGraphicsItem *>() : scenes.last()->items()) {
                if (auto *text = qgraphicsitem_cast<QGraphicsTextItem *>(item))
                    texts << text->toPlainText();
            }
            QTest::mouseClick(dialog->pushButton, Qt::LeftButton);
        });
        printCommand();

        QCOMPARE(heading, path);
        QCOMPARE(chosen, Queue);
        // The file line names the file; the heading field is not printed.
        QCOMPARE(texts.contains("Datei: " + path), pages == 1);
        QVERIFY(!texts.join('|').contains("andere"));
        QCOMPARE(queuesOfJobsAfter(newest), QStringList {Queue});

        // cups-pdf writes the file once the job has gone through its filters.
        QStringList fresh;
        const auto written = [&] {
            fresh = outputDir.entryList({"*.pdf"});
            for (const QString &old : before)
                fresh.removeAll(old);
            return fresh.size() == 1
                && output("lpstat", {"-W", "not-completed", "-o", Queue}).isEmpty();
        };
        QVERIFY2(waitUntil(written, 120000), qPrintable("no new PDF in " + outputDir.path()));
        QCOMPARE(pdfPages(outputDir.filePath(fresh.first())), pages);
        QFile::remove(outputDir.filePath(fresh.first()));
    }

    void endsWithoutPrinting_data()
    {
        // The button or key in the column dialog, then in the preview.
        QTest::addColumn<QStringList>("steps");

        QTest::newRow("Cancel in the column dialog") << QStringList {"Cancel"};
        QTest::newRow("Escape in the column dialog") << QStringList {"Escape"};
        QTest::newRow("Vorschau.., then Cancel in the preview")
            << QStringList {"Vorschau..", "Cancel"};
        QTest::newRow("Enter in the heading, then closing the preview")
            << QStringList {"Enter", "close"};
        QTest::newRow("no printer: Drucken ends like Cancel")
            << QStringList {"Vorschau..", "Drucken"};
    }

    void endsWithoutPrinting()
    {
        QFETCH(QStringList, steps);
        const QString columnDialog = steps.first(), preview = steps.value(1);
        if (preview == "Drucken" && !QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("printers are installed; tst_printing_noprinter runs this without a spooler");

        window = openWindow(writePlan(3));
        window->show();
        const int newest = newestJob();
        onNextModalOf<SelectCol>([&](SelectCol *dialog) {
            if (columnDialog == "Cancel")
                QTest::mouseClick(dialog->pushButton_2, Qt::LeftButton);
            else if (columnDialog == "Escape")
                QTest::keyClick(dialog, Qt::Key_Escape);
            else if (columnDialog == "Enter")
                QTest::keyClick(dialog->title, Qt::Key_Return);
            else
                QTest::mouseClick(dialog->pushButton, Qt::LeftButton);
        });
        QString shown;
        bool withoutPrinter = false;
        onNextModalOf<Preview>([&](Preview *dialog) {
            shown = preview;
            withoutPrinter = dialog->printerNames->count() == 0 && !dialog->currentPrinter
                && !dialog->previewWidget;
            if (preview == "close")
                dialog->close();
            else
                QTest::mouseClick(preview == "Cancel" ? dialog->pushButton_2 : dialog->pushButton,
                                  Qt::LeftButton);
        });
        printCommand();

        QCOMPARE(shown, preview);
        QVERIFY(withoutPrinter || preview != "Drucken");
        QVERIFY(window->findChildren<SelectCol *>().isEmpty());
        QVERIFY(window->findChildren<Preview *>().isEmpty());
        QVERIFY(window->isVisible());
        QCOMPARE(queuesOfJobsAfter(newest),
                 QStringList()); // a job would be there before the command returns
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
