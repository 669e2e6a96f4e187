// Printing: the column dialog's marks; the print command, its dialogs ended every way, the words
// of its pages and, on "Drucken", the job on a PDF queue of a CUPS print spooler. Run once more
// without any printer. The layout fuzz target checks where texts, frames and page breaks sit.
#include "Preview.h"
#include "SelectCol.h"
#include "TestSupport.h"

#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>

using namespace TestSupport;

namespace {

// Made by scripts/print-spooler.sh with VorlanPDF3 the default, so a print there shows.
const QString Queue = "VorlanPDF1";

// The spooler's jobs but those in `old`, each as "queue-number".
QStringList spooledJobs(const QStringList &old = {})
{
    QProcess lpstat;
    lpstat.start("lpstat", {"-W", "all", "-o"});
    lpstat.waitForFinished();
    QStringList jobs = QString(lpstat.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    jobs.replaceInStrings(QRegularExpression(" .*"), "");
    for (const QString &job : old)
        jobs.removeOne(job);
    return jobs;
}

// Ends a dialog as the user does: a button's text, Escape or Enter in the heading, or "close".
void press(QDialog *dialog, const QString &how)
{
    if (how == "Escape" || how == "Enter")
        QTest::keyClick(dialog->findChild<QLineEdit *>("title"),
                        how == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
    else if (how == "close")
        dialog->close();
    for (QPushButton *button : dialog->findChildren<QPushButton *>())
        if (button->text() == how)
            button->click();
}

} // namespace

class TestPrinting : public WindowTest
{
    Q_OBJECT

    QTemporaryDir dir;

    static QCheckBox *box(QWidget *d, int n)
    {
        return d->findChild<QCheckBox *>("checkBox_" + QString::number(n));
    }
    static QStringList words(QString t) { return t.simplified().split(' ', Qt::SkipEmptyParts); }
    // The words of a PDF file, each page ended by "|".
    static QStringList pageWords(QString pdf) { return words(pdfText(pdf).replace('\f', " | ")); }

private slots:

    // The boxes carry the titles and start with the default marks; the flags are read back by the
    // number in each box's name, whatever the order of the boxes among the children. Marks by
    // hand and clearing all, the print test prints.
    void marks_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("clicks"); // boxes and buttons
        QTest::addColumn<QString>("marked");
        const auto all = [](QString t) { return (t + '|').repeated(27).append(t).split('|'); };
        const QString defaults = "3 18 19 20 21 22 23 24 25 26", none;
        const QString every =
            "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28";
        QTest::newRow("the program's headers: 3 and 18 to 26") << ColumnTitles << none << defaults;
        QTest::newRow("three characters stay unmarked") << all("abc") << none << none;
        QTest::newRow("three umlauts count as three") << all("äöü") << none << none;
        QTest::newRow("four characters are marked") << all("Plan") << none << every;
        QTest::newRow("a listed name in other case is marked") << all("dtype") << none << every;
        QTest::newRow("defaults undo checks and unchecks")
            << ColumnTitles << QString("1 3 18 28 setDefault") << defaults;
    }
    void marks()
    {
        QFETCH(QStringList, titles);
        QFETCH(QString, clicks);
        QFETCH(QString, marked);
        SelectCol dialog(titles, nullptr);
        QCOMPARE(dialog.windowTitle() + "|" + dialog.setDefault->text() + "|"
                     + dialog.clearAll->text(),
                 "Druckvorbereitung|Default-Markierungen setzen|Alle Markierungen entfernen");
        for (int n = 28; n >= 1; --n) {
            QCheckBox *moved = box(&dialog, n);
            QCOMPARE(moved->text(), titles.at(n - 1));
            moved->setParent(nullptr);
            moved->setParent(dialog.columns);
        }
        for (const QString &click : words(clicks))
            click.toInt() ? box(&dialog, click.toInt())->click()
                          : dialog.findChild<QPushButton *>(click)->click();
        bool flags[28];
        std::fill(std::begin(flags), std::end(flags), true);
        dialog.readColumnFlags(flags);
        QStringList read;
        for (int n = 1; n <= 28; ++n)
            read << (flags[n - 1] ? QString::number(n) : "");
        QCOMPARE(words(read.join(' ')).join(' '), marked);
    }

    // The print command, its dialogs ended every way. The preview lists the printers, starts on
    // the default, gives each one chosen an A4 landscape preview; its pages, also in a PDF file
    // without a printer, hold the file line and marked titles; "Drucken" spools them.
    void print_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("steps"); // how the column dialog ends, then the preview
        const QStringList print = {"Vorschau..", "Drucken"}, look = {"Vorschau..", "Cancel"};
        QTest::newRow("empty table: file line and titles, printed") << 0 << print;
        QTest::newRow("17 rows fill the first page") << 17 << look;
        QTest::newRow("the 18th row opens page 2, printed") << 18 << print;
        QTest::newRow("Cancel in the column dialog") << 3 << QStringList {"Cancel"};
        QTest::newRow("Escape in the column dialog") << 3 << QStringList {"Escape"};
        QTest::newRow("Enter in the heading, then closing the preview")
            << 3 << QStringList {"Enter", "close"};
    }
    void print()
    {
        QFETCH(int, rows);
        const QVector<int> marked = {1, 18, 21, 28}; // ExportID, Beschreibung, Format, DTYPE
        QFETCH(QStringList, steps);
        const bool noPrinter = qEnvironmentVariableIsSet("VORLAN_NO_PRINTER");
        if (!noPrinter && QPrinterInfo::printerInfo(Queue).isNull())
            QFAIL("no PDF queue VorlanPDF1 of a print spooler: scripts/print-spooler.sh makes it");
        // Cell texts that tell their row and column, every fourth empty; the drop-downs show "---".
        const auto cell = [](int r, int n) {
            if (QList<int> {21, 23, 24, 25, 26}.contains(n))
                return QString("---");
            return (r + n) % 4 ? QString("z%1s%2").arg(r).arg(n) : QString();
        };
        const QString path = dir.filePath("Bauteil 7/plan.csv");
        QStringList lines, expected = words("Datei: " + path); // lines: the titles, the file's
        for (int t = -1; t < rows; ++t) {
            QStringList fields;
            for (int n = 1; n <= 28; ++n)
                fields << (t < 0 ? ColumnTitles.at(n - 1) : cell(t, n));
            lines << fields.join(';');
            if (t >= 17 && (t - 17) % 20 == 0)
                expected << "|";
            for (int n : marked)
                expected << words(fields.at(n - 1));
        }
        expected << "|";
        window = openWindow(writeFile(path, planFile(lines.mid(1))));
        window->show();
        const QStringList old = spooledJobs();
        expect<SelectCol>([&](SelectCol *dialog) {
            QCOMPARE(dialog->title->text(), path);
            dialog->title->setText("Eine andere Überschrift");
            dialog->clearAll->click();
            for (int n : marked)
                box(dialog, n)->click();
            press(dialog, steps[0]);
        });
        if (steps.size() > 1) {
            expect<Preview>([&](Preview *dialog) {
                QStringList listed;
                for (int i = 0; i < dialog->printerNames->count(); ++i)
                    listed << dialog->printerNames->itemText(i);
                QCOMPARE(listed, QPrinterInfo::availablePrinterNames());
                QCOMPARE(dialog->windowTitle() + " " + dialog->label->text() + " "
                             + dialog->printerNames->currentText(),
                         "Druck-Vorschau Druckerauswahl " + QPrinterInfo::defaultPrinterName());
                QCOMPARE(!dialog->currentPrinter && !dialog->previewWidget, noPrinter);
                for (const QString &printer :
                     noPrinter ? QStringList() : QStringList {listed.value(0), Queue}) {
                    dialog->printerNames->setCurrentIndex(dialog->printerNames->findText(printer));
                    const QPageLayout layout = dialog->currentPrinter->pageLayout();
                    QCOMPARE(dialog->currentPrinter->printerName(), printer);
                    QCOMPARE(qMakePair(layout.pageSize().id(), layout.orientation()),
                             qMakePair(QPageSize::A4, QPageLayout::Landscape));
                    QCOMPARE(dialog->findChildren<QPrintPreviewWidget *>().size(), 1);
                    QCOMPARE(dialog->verticalLayout->itemAt(0)->widget(), dialog->previewWidget);
                    QTRY_VERIFY(dialog->previewWidget->pageCount() > 0);
                }
                QPrinter pdf(QPrinter::HighResolution);
                pdf.setPageLayout(
                    QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, {}));
                pdf.setOutputFileName(dir.filePath("vorschau.pdf"));
                dialog->on_paintRequested(&pdf);
                QCOMPARE(pageWords(pdf.outputFileName()), expected);
                press(dialog, steps[1]);
            });
        }
        trigger(window.get(), "actionDrucken");
        QVERIFY(window->findChildren<QDialog *>().isEmpty());
        QCOMPARE(window->windowTitle(), titleOf(path));
        const QStringList jobs = spooledJobs(old);
        QCOMPARE(jobs.join(' ').remove(QRegularExpression("-\\d+")),
                 steps.last() == "Drucken" && !noPrinter ? Queue : "");
        if (jobs.isEmpty())
            return;

        // What the spooler took, page by page, and the job through the filters to cups-pdf.
        const int number = jobs.first().section('-', -1).toInt();
        const QString job = QString("/var/spool/cups/d%1-001").arg(number, 5, 10, QChar('0'));
        if (!QFileInfo(job).isReadable() && qgetenv("CI") != "true") // readable for root
            QSKIP(qPrintable("no read access to the spooler's copy of the job " + job));
        QCOMPARE(pageWords(job), expected);
        const QStringList output = {QString("*job_%1.pdf").arg(number)};
        QTRY_VERIFY_WITH_TIMEOUT(!QDir("/var/spool/cups-pdf/VORLAN").entryList(output).isEmpty(),
                                 120000);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
