// Printing: the column dialog's marks, the pages laid out, and the print command
// with both dialogs ended every way, "Drucken" printing onto a PDF queue of a CUPS
// print spooler. Run once more without any printer (VORLAN_NO_PRINTER).
#include "TestSupport.h"

#include "Preview.h"
#include "SelectCol.h"
#include "VorlanCSV.h"

#include <QCheckBox>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestSupport;

namespace {

// Set up by tests/print-spooler.sh, which makes VorlanPDF3 the default printer:
// a print on the default instead of the chosen queue shows.
const QString Queue = "VorlanPDF1";

// The spooler's jobs, each as "queue-number".
QStringList spooledJobs()
{
    QProcess lpstat;
    lpstat.start("lpstat", {"-W", "all", "-o"});
    lpstat.waitForFinished();
    QStringList jobs;
    for (const QString &line : QString(lpstat.readAllStandardOutput()).split('\n'))
        jobs << line.section(' ', 0, 0);
    return jobs;
}

QCheckBox *box(QWidget *dialog, int number)
{
    return dialog->findChild<QCheckBox *>(QString("checkBox_%1").arg(number));
}

// Ends a dialog as the user does: a button by its text, Escape, Enter in the
// heading field, or the window's close button.
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

QStringList words(const QString &text)
{
    return text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
}

} // namespace

class TestPrinting : public WindowTest
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:

    // The boxes carry the titles and start with the default marks; the flags
    // are read back by the number in each box's name, whatever the order of
    // the boxes among the children.
    void marks_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("clicks"); // boxes and buttons
        QTest::addColumn<QString>("marked");
        const auto all = [](const char *title) {
            return QStringList(QVector<QString>(28, title).toList());
        };
        const QString defaults = "3 18 19 20 21 22 23 24 25 26", none;
        QTest::newRow("the program's headers: 3 and 18 to 26") << ColumnTitles << none << defaults;
        QTest::newRow("three characters stay unmarked") << all("abc") << none << none;
        QTest::newRow("three umlauts count as three") << all("äöü") << none << none;
        QTest::newRow("a listed name in other case is marked")
            << all("dtype") << none
            << "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28";
        QTest::newRow("by hand") << ColumnTitles << QString("1 3 28")
                                 << "1 18 19 20 21 22 23 24 25 26 28";
        QTest::newRow("clearing all") << ColumnTitles << QString("1 2 27 clearAll") << none;
        QTest::newRow("defaults undo checks and unchecks")
            << ColumnTitles << QString("1 3 18 28 setDefault") << defaults;
    }
    void marks()
    {
        QFETCH(QStringList, titles);
        QFETCH(QString, clicks);
        QFETCH(QString, marked);
        SelectCol dialog(titles, nullptr);
        QCOMPARE(
            QStringList({dialog.windowTitle(), dialog.setDefault->text(), dialog.clearAll->text()}),
            QStringList({"Druckvorbereitung", "Default-Markierungen setzen",
                         "Alle Markierungen entfernen"}));
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

    void pages_data()
    {
        QTest::addColumn<int>("tableRows");
        QTest::addColumn<QList<int>>("marked");
        QTest::addColumn<int>("pages");
        QList<int> all;
        for (int c = 0; c < 28; ++c)
            all << c;
        const QList<int> defaults = {2, 17, 18, 19, 20, 21, 22, 23, 24, 25};
        QTest::newRow("empty table: file line and titles") << 0 << defaults << 1;
        QTest::newRow("17 rows fill the first page") << 17 << defaults << 1;
        QTest::newRow("the 18th row opens page 2") << 18 << defaults << 2;
        QTest::newRow("37 rows fill page 2") << 37 << defaults << 2;
        QTest::newRow("the 38th row opens page 3") << 38 << QList<int> {0, 27} << 3;
        QTest::newRow("no column marked: the file line only") << 3 << QList<int>() << 1;
        QTest::newRow("wider than 2970: widths and font shrink") << 2 << all << 1;
    }
    void pages()
    {
        QFETCH(int, tableRows);
        QFETCH(QList<int>, marked);
        QFETCH(int, pages);
        PrintRows rows = {{"/daten/Bau 7/plan.csv"}, ColumnTitles};
        for (int r = 0; r < tableRows; ++r) {
            rows << QStringList();
            for (int c = 0; c < 28; ++c)
                rows.last() << QString("z%1s%2").arg(r).arg(c);
            rows.last() << "Teil29"; // a field held ";": this part is not printed
        }
        ColumnFlags flags = {};
        for (int c : marked)
            flags[c] = true;
        Preview dialog(rows, &flags, nullptr);
        QPrinter printer(QPrinter::HighResolution); // as the preview's, A4 landscape
        printer.setOutputFileName(dir.filePath("seiten.pdf"));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Landscape);
        dialog.on_paintRequested(&printer);

        // The words on each page: the file line and the titles on page 1, table
        // row t on page 1 when t < 17, else on page 2 + (t - 17) / 20.
        const QStringList pageTexts = pdfText(dir.filePath("seiten.pdf")).split('\f');
        QCOMPARE(pageTexts.size() - 1, pages);
        for (int p = 1; p <= pages; ++p) {
            QStringList expected = p == 1 ? words("Datei: " + rows[0][0]) : QStringList();
            for (int t = -1; t < tableRows; ++t) {
                for (int c : marked)
                    expected << ((t < 17 ? 1 : 2 + (t - 17) / 20) == p ? rows[t + 2][c] : "");
            }
            QCOMPARE(words(pageTexts.at(p - 1)), words(expected.join(' ')));
        }

        // The last page's scene: each text 20 inside a frame 80 high, in its middle;
        // rows 80 apart from y 240 on page 1 (the file line at 80), else from y 80;
        // frames touching, a column's equally wide and 40 wider than its texts.
        QList<QGraphicsTextItem *> texts;
        QList<QRectF> frames;
        for (QGraphicsItem *item : dialog.findChildren<QGraphicsScene *>().last()->items()) {
            if (auto *frame = qgraphicsitem_cast<QGraphicsRectItem *>(item))
                frames << frame->rect();
            else if (auto *text = qgraphicsitem_cast<QGraphicsTextItem *>(item))
                texts << text;
        }
        std::sort(texts.begin(), texts.end(), [](QGraphicsTextItem *a, QGraphicsTextItem *b) {
            return qMakePair(a->y(), a->x()) < qMakePair(b->y(), b->x());
        });
        const bool scaled = marked.size() == 28;
        const int n = marked.size(), fontSize = texts.value(0)->font().pointSize();
        const double fileX = pages == 1 ? texts.first()->x() : 40;
        QVERIFY(scaled ? fontSize < 20 && fileX < 40 : fontSize == 20 && fileX == 40);
        if (pages == 1) {
            QCOMPARE(texts.first()->toPlainText(), "Datei: " + rows[0][0]);
            QCOMPARE(texts.takeFirst()->y(), 80.0);
        }
        QCOMPARE(frames.size(), texts.size());
        QList<double> widths;
        double right = 0;
        for (int i = 0; i < texts.size(); ++i) {
            const QRectF box = texts[i]->mapRectToScene(texts[i]->boundingRect());
            const auto frame = std::find_if(frames.begin(), frames.end(), [&](const QRectF &f) {
                return f.left() == box.left() - 20 && f.height() == 80
                    && qAbs(f.center().y() - box.center().y()) < 0.01;
            });
            QVERIFY2(frame != frames.end(),
                     qPrintable("no frame around " + texts[i]->toPlainText()));
            QCOMPARE(texts[i]->font().family() + QString::number(texts[i]->font().pointSize()),
                     "Nimbus Sans L" + QString::number(fontSize));
            QCOMPARE(box.top(), (pages == 1 ? 240.0 : 80.0) + 80 * (i / n));
            QCOMPARE(i % n ? frame->left() : box.left(), i % n ? right : int(fileX));
            QVERIFY(scaled || frame->width() >= int(box.width() + 40));
            widths << frame->width();
            QCOMPARE(frame->width(), widths.at(i % n));
            right = frame->right();
        }
        QVERIFY(right + 20 <= 2970 && (!scaled || right > 2900));
    }

    void print_data()
    {
        // How the column dialog ends, then the preview.
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages"); // 0: nothing printed
        const QStringList print = {"Vorschau..", "Drucken"};
        QTest::newRow("18 rows on two pages") << print << 18 << 2;
        QTest::newRow("an empty table on one page") << print << 0 << 1;
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
            SKIP_OR_FAIL("no print spooler with the PDF queue VorlanPDF1; tests/print-spooler.sh "
                         "sets it up");
        // Texts that tell their column: E<r>, Grundriss <r>, A1, Müller, PDF<r>.
        QStringList lines;
        for (int r = 1; r <= rows; ++r)
            lines
                << QString("E%1;Plan;;;;;;;;;;;;;;;;Grundriss %1;;;A1;Müller;;;;;;PDF%1\n").arg(r);
        const QString path = writeFile(dir.filePath("Bauteil 7/plan.csv"), lines.join("").toUtf8());
        window = openWindow(path);
        window->show();
        QStringList expected = words("Datei: " + path + " ExportID Beschreibung DTYPE");
        for (int r = 1; r <= rows; ++r)
            expected << words(QString("E%1 Grundriss %1 PDF%1").arg(r));
        const QStringList old = spooledJobs();
        QString heading;
        expect<SelectCol>([&](SelectCol *dialog) {
            heading = dialog->title->text();
            dialog->title->setText("Eine andere Überschrift");
            dialog->clearAll->click(); // then ExportID, Beschreibung and DTYPE by hand
            for (int n : {1, 18, 28})
                box(dialog, n)->click();
            press(dialog, steps[0]);
        });
        // The preview lists the system's printers and starts on the default one;
        // each printer chosen gets one A4 landscape preview above the buttons.
        if (steps.size() > 1) {
            expect<Preview>([&](Preview *dialog) {
                const QStringList names = QPrinterInfo::availablePrinterNames();
                QStringList listed;
                for (int i = 0; i < dialog->printerNames->count(); ++i)
                    listed << dialog->printerNames->itemText(i);
                QCOMPARE(listed, names);
                QCOMPARE(dialog->windowTitle() + " " + dialog->label->text(),
                         "Druck-Vorschau Druckerauswahl");
                QCOMPARE(dialog->printerNames->currentText(), QPrinterInfo::defaultPrinterName());
                QCOMPARE(!dialog->currentPrinter && !dialog->previewWidget, noPrinter);
                for (const QString &printer :
                     noPrinter ? QStringList() : QStringList {names.value(0), Queue}) {
                    dialog->printerNames->setCurrentIndex(dialog->printerNames->findText(printer));
                    const QPageLayout layout = dialog->currentPrinter->pageLayout();
                    QCOMPARE(dialog->currentPrinter->printerName(), printer);
                    QCOMPARE(layout.pageSize().id(), QPageSize::A4);
                    QCOMPARE(layout.orientation(), QPageLayout::Landscape);
                    QCOMPARE(dialog->findChildren<QPrintPreviewWidget *>().size(), 1);
                    QCOMPARE(dialog->verticalLayout->itemAt(0)->widget(), dialog->previewWidget);
                    QTRY_VERIFY(dialog->previewWidget->pageCount() > 0);
                }
                // The pages it shows, also without a printer: the marks made reach them.
                QPrinter pdf(QPrinter::HighResolution);
                pdf.setPageLayout(
                    QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, {}));
                pdf.setOutputFileName(dir.filePath("vorschau.pdf"));
                dialog->on_paintRequested(&pdf);
                QCOMPARE(words(pdfText(pdf.outputFileName())), expected);
                press(dialog, steps[1]);
            });
        }
        trigger(window.get(), "actionDrucken");
        checkDialogs();
        QCOMPARE(heading, path);
        QVERIFY(window->findChildren<QDialog *>().isEmpty());
        QCOMPARE(window->windowTitle(), titleOf(path));
        QStringList jobs = spooledJobs();
        for (const QString &job : old)
            jobs.removeOne(job);
        QCOMPARE(jobs.join(' ').remove(QRegularExpression("-\\d+")),
                 pages && !noPrinter ? Queue : "");
        if (jobs.isEmpty())
            return;

        const int number = jobs.first().section('-', -1).toInt();
        // What the spooler took, page by page, and the job through the filters to cups-pdf.
        const QString job = QString("/var/spool/cups/d%1-001").arg(number, 5, 10, QChar('0'));
        if (!QFileInfo(job).isReadable())
            SKIP_OR_FAIL(qPrintable("no read access to the spooler's copy of the job " + job));
        const QStringList pageTexts = pdfText(job).split('\f');
        QCOMPARE(words(pageTexts.join(' ')), expected);
        QCOMPARE(pageTexts.size() - 1, pages);
        const QStringList output = {QString("*job_%1.pdf").arg(number)};
        QTRY_VERIFY_WITH_TIMEOUT(!QDir("/var/spool/cups-pdf/VORLAN").entryList(output).isEmpty(),
                                 120000);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
