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

QCheckBox *box(SelectCol &dialog, int number)
{
    return dialog.columns->findChild<QCheckBox *>(QString("checkBox_%1").arg(number));
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

    // The boxes carry the titles and start with the default marks; the flags
    // are read back by the number in each box's name, whatever the order of
    // the boxes among the children.
    void marks_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QList<int>>("toggled");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QList<int>>("marked");
        const auto all = [](const QString &title) {
            return QStringList(QVector<QString>(28, title).toList());
        };
        QList<int> every;
        for (int n = 1; n <= 28; ++n)
            every << n;
        const QList<int> defaults = {3, 18, 19, 20, 21, 22, 23, 24, 25, 26};
        QTest::newRow("the program's headers: 3 and 18 to 26")
            << ColumnTitles << QList<int>() << "" << defaults;
        QTest::newRow("three characters stay unmarked")
            << all("abc") << QList<int>() << "" << QList<int>();
        QTest::newRow("four characters are marked") << all("abcd") << QList<int>() << "" << every;
        QTest::newRow("three umlauts count as three")
            << all("äöü") << QList<int>() << "" << QList<int>();
        QTest::newRow("a listed name in other case is marked")
            << all("dtype") << QList<int>() << "" << every;
        QTest::newRow("part of a listed name is marked")
            << all("Verzeich") << QList<int>() << "" << every;
        QTest::newRow("by hand") << ColumnTitles << QList<int> {1, 3, 28} << ""
                                 << QList<int> {1, 18, 19, 20, 21, 22, 23, 24, 25, 26, 28};
        QTest::newRow("clearing all")
            << ColumnTitles << QList<int> {1, 2, 27} << "clearAll" << QList<int>();
        QTest::newRow("defaults undo checks and unchecks")
            << ColumnTitles << QList<int> {1, 3, 18, 28} << "setDefault" << defaults;
    }
    void marks()
    {
        QFETCH(QStringList, titles);
        QFETCH(QList<int>, toggled);
        QFETCH(QString, button);
        QFETCH(QList<int>, marked);
        SelectCol dialog(titles, nullptr);
        for (int n = 28; n >= 1; --n) {
            QCheckBox *moved = box(dialog, n);
            QCOMPARE(moved->text(), titles.at(n - 1));
            moved->setParent(nullptr);
            moved->setParent(dialog.columns);
        }
        for (int n : toggled)
            box(dialog, n)->click();
        if (!button.isEmpty())
            dialog.findChild<QPushButton *>(button)->click();
        bool flags[28];
        std::fill(std::begin(flags), std::end(flags), true);
        dialog.readColumnFlags(flags);
        QList<int> checked, read;
        for (int n = 1; n <= 28; ++n) {
            if (box(dialog, n)->isChecked())
                checked << n;
            if (flags[n - 1])
                read << n;
        }
        QCOMPARE(checked, marked);
        QCOMPARE(read, marked);
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
            SKIP_OR_FAIL("needs a print spooler whose default printer is not the first one; "
                         "tests/print-spooler.sh start sets one up");
        const PrintRows rows = makeRows(18);
        ColumnFlags flags = {};
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
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            SKIP_OR_FAIL("pdftotext (poppler-utils) is not installed");
        const PrintRows rows = makeRows(tableRows);
        ColumnFlags flags = {};
        for (int c : marked)
            flags[c] = true;
        Preview dialog(rows, &flags, nullptr);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(dir.filePath("seiten.pdf"));
        printer.setPageOrientation(QPageLayout::Landscape);
        dialog.on_paintRequested(&printer);

        // The words on each page: the file line and the titles on page 1, table
        // row t on page 1 when t < 17, else on page 2 + (t - 17) / 20.
        const QStringList pageTexts = pdfText(dir.filePath("seiten.pdf")).split('\f');
        QCOMPARE(pageTexts.size() - 1, pages);
        for (int p = 1; p <= pages; ++p) {
            QStringList expected =
                p == 1 ? QStringList({"Datei:", "/daten/Bau", "7/plan.csv"}) : QStringList();
            for (int t = -1; t < tableRows; ++t) {
                for (int c : marked)
                    if ((t < 17 ? 1 : 2 + (t - 17) / 20) == p)
                        expected << rows.at(t + 2).at(c);
            }
            QCOMPARE(pageTexts.at(p - 1).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts),
                     expected);
        }

        // The last page's scene: each text 20 inside a frame 80 high, in its
        // middle; rows 80 apart from y 240 on page 1 (the file line at 80), else
        // from y 80; the frames of a row touching, a column equally wide and
        // at least as wide as its texts and 40; a scaled table at most 2970 wide.
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
        QVERIFY(scaled ? fontSize < 20 : fontSize == 20);
        const double fileX = pages == 1 ? texts.first()->x() : 40;
        if (pages == 1) {
            QCOMPARE(texts.first()->toPlainText(), "Datei: " + rows.at(0).at(0));
            QCOMPARE(texts.takeFirst()->y(), 80.0);
        }
        QVERIFY(scaled ? fileX < 40 : fileX == 40);
        QCOMPARE(frames.size(), texts.size());
        QList<double> widths;
        double right = 0;
        for (int i = 0; i < texts.size(); ++i) {
            const QRectF box = texts.at(i)->mapRectToScene(texts.at(i)->boundingRect());
            const auto frame = std::find_if(frames.begin(), frames.end(), [&](const QRectF &f) {
                return f.left() == box.left() - 20 && f.height() == 80
                    && qAbs(f.center().y() - box.center().y()) < 0.01;
            });
            QVERIFY2(frame != frames.end(),
                     qPrintable("no frame around " + texts.at(i)->toPlainText()));
            QCOMPARE(texts.at(i)->font().pointSize(), fontSize);
            QCOMPARE(box.top(), (pages == 1 ? 240.0 : 80.0) + 80 * (i / n));
            QCOMPARE(i % n ? frame->left() : box.left(), i % n ? right : int(fileX));
            QVERIFY(scaled || frame->width() >= int(box.width() + 40));
            widths << frame->width();
            QCOMPARE(frame->width(), widths.at(i % n));
            right = frame->right();
        }
        QVERIFY(right + 20 <= 2970 && (!scaled || right > 2900));
    }
};

QTEST_MAIN(TestPrintLayout)
#include "tst_printlayout.moc"
