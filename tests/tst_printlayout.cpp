// Printing without the main window: the column dialog's marks, the preview's
// printer list, and the pages laid out in the scene and written to a PDF file.
#include "TestSupport.h"

#include "Preview.h"
#include "SelectCol.h"

#include <QCheckBox>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestSupport;

namespace {

const QList<int> DefaultBoxes = {3, 18, 19, 20, 21, 22, 23, 24, 25, 26};

QList<int> checkedBoxes(SelectCol &dialog)
{
    QList<int> numbers;
    for (int n = 1; n <= 28; ++n) {
        if (dialog.columns->findChild<QCheckBox *>(QString("checkBox_%1").arg(n))->isChecked())
            numbers << n;
    }
    return numbers;
}

PrintRows makeRows(int tableRows)
{
    PrintRows rows = {{"/daten/Bau 7/plan.csv"}, ColumnTitles};
    for (int r = 0; r < tableRows; ++r) {
        rows << QStringList();
        for (int c = 0; c < 28; ++c)
            rows.last() << QString("z%1s%2").arg(r).arg(c);
        rows.last() << "Teil29"; // a field held ";": this part is not printed
    }
    return rows;
}

} // namespace

class TestPrintLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { startTesting(); }
    void cleanup() { checkDialogs(); }

    void defaultMarks_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QList<int>>("marked");
        const auto all = [](const QString &title) { return QString(27, ';').replace(";", title + ";").append(title).split(';'); };
        QList<int> every;
        for (int n = 1; n <= 28; ++n)
            every << n;
        QTest::newRow("the program's headers: 3 and 18 to 26") << ColumnTitles << DefaultBoxes;
        QTest::newRow("three characters stay unmarked") << all("abc") << QList<int>();
        QTest::newRow("four characters are marked") << all("abcd") << every;
        QTest::newRow("three umlauts count as three") << all("äöü") << QList<int>();
        QTest::newRow("a listed name in other case is marked") << all("dtype") << every;
        QTest::newRow("part of a listed name is marked") << all("Verzeich") << every;
    }
    void defaultMarks()
    {
        QFETCH(QStringList, titles);
        QFETCH(QList<int>, marked);
        SelectCol dialog(titles, nullptr);
        for (int n = 1; n <= 28; ++n)
            QCOMPARE(dialog.findChild<QCheckBox *>(QString("checkBox_%1").arg(n))->text(), titles.at(n - 1));
        QCOMPARE(checkedBoxes(dialog), marked);
    }

    // The flags are read back by the number in each box's name, whatever the
    // order of the boxes among the children.
    void markingButtons_data()
    {
        QTest::addColumn<QList<int>>("toggled");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("by hand") << QList<int> {1, 3, 28} << "" << QList<int> {1, 18, 19, 20, 21, 22, 23, 24, 25, 26, 28};
        QTest::newRow("clearing all") << QList<int> {1, 2, 27} << "clearAll" << QList<int>();
        QTest::newRow("defaults undo checks and unchecks") << QList<int> {1, 3, 18, 28} << "setDefault" << DefaultBoxes;
    }
    void markingButtons()
    {
        QFETCH(QList<int>, toggled);
        QFETCH(QString, button);
        QFETCH(QList<int>, expected);
        SelectCol dialog(ColumnTitles, nullptr);
        for (int n = 28; n >= 1; --n) {
            QCheckBox *moved = dialog.columns->findChild<QCheckBox *>(QString("checkBox_%1").arg(n));
            moved->setParent(nullptr);
            moved->setParent(dialog.columns);
        }
        for (int n : toggled)
            dialog.findChild<QCheckBox *>(QString("checkBox_%1").arg(n))->click();
        if (!button.isEmpty())
            dialog.findChild<QPushButton *>(button)->click();
        QCOMPARE(checkedBoxes(dialog), expected);
        bool flags[28];
        std::fill(std::begin(flags), std::end(flags), true);
        dialog.readColumnFlags(flags);
        for (int c = 0; c < 28; ++c)
            QVERIFY2(flags[c] == expected.contains(c + 1), qPrintable(QString("column %1").arg(c)));
    }

    // The system's printers in its order, the default one chosen; each choice
    // gets an A4 landscape printer and one preview widget above the buttons.
    void printers()
    {
        QStringList names;
        int defaultIndex = -1;
        for (const QPrinterInfo &info : QPrinterInfo::availablePrinters()) {
            if (info.isDefault())
                defaultIndex = names.size();
            names << info.printerName();
        }
        if (defaultIndex < 1)
            SKIP_OR_FAIL("needs a print spooler whose default printer is not the first; "
                         "tests/print-spooler.sh start sets one up");
        const PrintRows rows = makeRows(18);
        ColumnFlags flags = {};
        flags[17] = true;
        Preview dialog(rows, &flags, nullptr);
        QStringList listed;
        for (int i = 0; i < dialog.printerNames->count(); ++i)
            listed << dialog.printerNames->itemText(i);
        QCOMPARE(listed, names);
        for (const int index : {defaultIndex, 0}) {
            if (index == 0)
                QTest::keyClick(dialog.printerNames, Qt::Key_Home);
            QCOMPARE(dialog.printerNames->currentIndex(), index);
            QCOMPARE(dialog.currentPrinter->printerName(), names.at(index));
            QCOMPARE(dialog.currentPrinter->pageLayout().pageSize().id(), QPageSize::A4);
            QCOMPARE(dialog.currentPrinter->pageLayout().orientation(), QPageLayout::Landscape);
            QCOMPARE(dialog.findChildren<QPrintPreviewWidget *>().size(), 1);
            QCOMPARE(dialog.verticalLayout->itemAt(0)->widget(), dialog.previewWidget);
            dialog.show();
            QTRY_COMPARE(dialog.previewWidget->pageCount(), 2);
        }
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
        const PrintRows rows = makeRows(tableRows);
        ColumnFlags flags = {};
        for (int c : marked)
            flags[c] = true;
        Preview dialog(rows, &flags, nullptr);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("seiten.pdf"));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Landscape);
        dialog.on_paintRequested(&printer);

        // Page by page, the words on it: table row t is on page 1 when t < 17,
        // else on page 2 + (t - 17) / 20; the file line and titles on page 1.
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            SKIP_OR_FAIL("pdftotext (poppler-utils) is not installed");
        const QStringList pageTexts = pdfText(dir.filePath("seiten.pdf")).split('\f');
        QCOMPARE(pageTexts.size() - 1, pages);
        for (int p = 1; p <= pages; ++p) {
            QStringList expected;
            if (p == 1)
                expected << "Datei:" << "/daten/Bau" << "7/plan.csv";
            for (int i = 1; i < rows.size(); ++i) {
                const int t = i - 2;
                if ((t < 17 ? 1 : 2 + (t - 17) / 20) == p)
                    for (int c : marked)
                        expected << rows.at(i).at(c).split(' ', Qt::SkipEmptyParts);
            }
            QCOMPARE(pageTexts.at(p - 1).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts), expected);
        }

        // The scene of the last page: texts in rows 80 apart, each 20 inside a
        // frame 80 high with the text in its middle, frames of a row touching.
        const auto scenes = dialog.findChildren<QGraphicsScene *>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(!scenes.isEmpty());
        QList<QGraphicsTextItem *> texts;
        QList<QRectF> frames;
        for (QGraphicsItem *item : scenes.last()->items()) {
            if (auto *frame = qgraphicsitem_cast<QGraphicsRectItem *>(item))
                frames << frame->rect();
            else if (auto *text = qgraphicsitem_cast<QGraphicsTextItem *>(item))
                texts << text;
        }
        std::sort(texts.begin(), texts.end(), [](QGraphicsTextItem *a, QGraphicsTextItem *b) {
            return qMakePair(a->y(), a->x()) < qMakePair(b->y(), b->x());
        });
        QVERIFY(!texts.isEmpty());
        const bool scaled = marked.size() == 28;
        const int fontSize = texts.first()->font().pointSize();
        QVERIFY(scaled ? fontSize < 20 : fontSize == 20);
        // The file line at x 40, scaled like everything else; the cells start
        // 20 further left, at the same x in every row.
        const double fileX = pages == 1 ? texts.first()->x() : 40;
        if (pages == 1) {
            QGraphicsTextItem *fileLine = texts.takeFirst();
            QCOMPARE(fileLine->toPlainText(), "Datei: " + rows.at(0).at(0));
            QCOMPARE(fileLine->y(), 80.0);
        }
        QVERIFY(scaled ? fileX < 40 : fileX == 40);
        QCOMPARE(frames.size(), texts.size());
        const int n = marked.size();
        QList<double> widths;
        double right = 0;
        for (int i = 0; i < texts.size(); ++i) {
            QGraphicsTextItem *text = texts.at(i);
            const QRectF box = text->mapRectToScene(text->boundingRect());
            const auto frame = std::find_if(frames.begin(), frames.end(), [&](const QRectF &f) {
                return f.left() == box.left() - 20 && f.height() == 80
                    && qAbs(f.center().y() - box.center().y()) < 0.01;
            });
            QVERIFY2(frame != frames.end(), qPrintable("no frame around " + text->toPlainText()));
            QCOMPARE(text->font().pointSize(), fontSize);
            QCOMPARE(text->y(), (pages == 1 ? 240.0 : 80.0) + 80 * (i / n));
            QCOMPARE(i % n == 0 ? text->x() : frame->left(), i % n == 0 ? int(fileX) : right);
            if (!scaled) // each cell holds its text with 20 to spare on either side
                QVERIFY(frame->width() >= int(box.width() + 40));
            if (i < n)
                widths << frame->width();
            QCOMPARE(frame->width(), widths.at(i % n));
            right = frame->right();
        }
        QVERIFY(right + 20 <= 2970);
        if (scaled)
            QVERIFY(right > 2900);
    }
};

QTEST_MAIN(TestPrintLayout)
#include "tst_printlayout.moc"
