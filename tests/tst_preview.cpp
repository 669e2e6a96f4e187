// The print preview dialog: the printer list and the printer change, and the
// pages it lays out, read back from the scene after painting.
#include "TestSupport.h"

#include "Preview.h"

#include <QProcess>
#include <QtPrintSupport>
#include <QtTest>

#include <unistd.h>

using namespace TestSupport;

namespace {

const QString FilePath = "/daten/Bau 7/plan.csv";
// Sorted before the usual names: the default printer is third or later.
const QStringList ExtraQueues = {"AAVorlanTestA", "AAVorlanTestB"};

PrintRows makeRows(int tableRows)
{
    PrintRows rows = {QStringList(FilePath), programColumnTitles()};
    for (int r = 0; r < tableRows; ++r) {
        rows << QStringList();
        for (int c = 0; c < 28; ++c)
            rows.last() << QString("z%1s%2").arg(r).arg(c);
        rows.last() << "part 29"; // a field held ";": this part is not printed
    }
    return rows;
}

// The width of a cell for `text`: 20 to either side of the text item.
int cellWidth(const QString &text)
{
    QGraphicsTextItem item;
    item.setFont(QFont("Nimbus Sans L", 20));
    item.setPlainText(text);
    return int(item.boundingRect().width() + 40);
}

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void printers()
    {
        const PrintRows rows = makeRows(18);
        ColumnFlags flags = {};
        flags[17] = true;
        if (QPrinterInfo::availablePrinters().isEmpty()) {
            Preview dialog(rows, &flags, nullptr);
            QCOMPARE(dialog.printerNames->count(), 0);
            QVERIFY(!dialog.currentPrinter && !dialog.previewWidget);
            QVERIFY(dialog.findChildren<QPrintPreviewWidget *>().isEmpty());
            return;
        }
        if (geteuid() != 0)
            QSKIP("adding printer queues needs root");
        const auto removeQueues = qScopeGuard([] {
            for (const QString &queue : ExtraQueues)
                QProcess::execute("lpadmin", {"-x", queue});
        });
        for (const QString &queue : ExtraQueues) {
            QCOMPARE(QProcess::execute("lpadmin",
                                       {"-p", queue, "-E", "-v", "cups-pdf:/", "-m",
                                        "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"}),
                     0);
        }
        QVERIFY(waitUntil([] { return QPrinterInfo::availablePrinters().size() >= 3; }));
        QStringList names;
        int defaultIndex = -1;
        for (const QPrinterInfo &info : QPrinterInfo::availablePrinters()) {
            if (info.isDefault())
                defaultIndex = names.size();
            names << info.printerName();
        }
        if (defaultIndex < 2)
            QSKIP("the default printer is not third or later in the list");

        Preview dialog(rows, &flags, nullptr);
        QStringList listed;
        for (int i = 0; i < dialog.printerNames->count(); ++i)
            listed << dialog.printerNames->itemText(i);
        QCOMPARE(listed, names);
        // The default printer first, then the first one chosen by the user:
        // each time one A4 landscape printer and a new preview widget for it.
        for (const int index : {defaultIndex, 0}) {
            QPointer<QPrintPreviewWidget> old = dialog.previewWidget;
            if (index == 0)
                QTest::keyClick(dialog.printerNames, Qt::Key_Home);
            QVERIFY(index == defaultIndex || old.isNull());
            QCOMPARE(dialog.printerNames->currentIndex(), index);
            QCOMPARE(dialog.currentPrinter->printerName(), names.at(index));
            QCOMPARE(dialog.currentPrinter->pageLayout().pageSize().id(), QPageSize::A4);
            QCOMPARE(dialog.currentPrinter->pageLayout().orientation(), QPageLayout::Landscape);
            QCOMPARE(dialog.findChildren<QPrintPreviewWidget *>().size(), 1);
            QCOMPARE(dialog.verticalLayout->itemAt(0)->widget(), dialog.previewWidget);
            dialog.show();
            QVERIFY(waitUntil([&] { return dialog.previewWidget->pageCount() == 2; }));
        }
    }

    void pages_data()
    {
        QTest::addColumn<int>("tableRows");
        QTest::addColumn<QList<int>>("marked");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("rowsOnLastPage");
        QTest::addColumn<bool>("scaled");

        const QList<int> defaults = {2, 17, 18, 19, 20, 21, 22, 23, 24, 25};
        QList<int> all;
        for (int c = 0; c < 28; ++c)
            all << c;
        QTest::newRow("empty table: file line and titles") << 0 << defaults << 1 << 1 << false;
        QTest::newRow("17 rows fill the first page") << 17 << defaults << 1 << 18 << false;
        QTest::newRow("the 18th row opens page 2") << 18 << defaults << 2 << 1 << false;
        QTest::newRow("37 rows fill page 2") << 37 << defaults << 2 << 20 << false;
        QTest::newRow("the 38th row opens page 3") << 38 << defaults << 3 << 1 << false;
        QTest::newRow("no column marked: the file line only")
            << 3 << QList<int>() << 1 << 0 << false;
        QTest::newRow("wider than 2970: widths and font shrink") << 1 << all << 1 << 2 << true;
    }

    void pages()
    {
        QFETCH(int, tableRows);
        QFETCH(QList<int>, marked);
        QFETCH(int, pages);
        QFETCH(int, rowsOnLastPage);
        QFETCH(bool, scaled);

        const PrintRows rows = makeRows(tableRows);
        ColumnFlags flags = {};
        for (int c : marked)
            flags[c] = true;
        Preview dialog(rows, &flags, nullptr);
        // Painted through a preview widget of the test's own, as the dialog's does.
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Landscape);
        QPrintPreviewWidget widget(&printer);
        connect(&widget, &QPrintPreviewWidget::paintRequested, &dialog,
                &Preview::on_paintRequested);
        widget.updatePreview();
        QCOMPARE(widget.pageCount(), pages);

        QList<int> widths;
        int tableWidth = 40;
        for (int c : marked) {
            widths << 0;
            for (int r = 1; r < rows.size(); ++r)
                widths.last() = qMax(widths.last(), cellWidth(rows.at(r).at(c)));
            tableWidth += widths.last();
        }
        QCOMPARE(tableWidth > 2970, scaled);
        const double scale = qMin(1.0, 2970.0 / tableWidth);
        const int fontSize = int(20 * scale);

        // The scene the last page was rendered from.
        const auto scenes =
            dialog.findChildren<QGraphicsScene *>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(!scenes.isEmpty());
        QList<QGraphicsTextItem *> texts;
        QList<QRectF> frames;
        for (QGraphicsItem *item : scenes.last()->items()) {
            if (auto *frame = qgraphicsitem_cast<QGraphicsRectItem *>(item))
                frames << frame->rect();
            else if (auto *text = qgraphicsitem_cast<QGraphicsTextItem *>(item))
                texts << text;
        }
        // Row by row from the top, each from the left; the file line first.
        std::sort(texts.begin(), texts.end(), [](QGraphicsTextItem *a, QGraphicsTextItem *b) {
            return qMakePair(a->y(), a->x()) < qMakePair(b->y(), b->x());
        });
        if (pages == 1) {
            QVERIFY(!texts.isEmpty());
            QGraphicsTextItem *fileLine = texts.takeFirst();
            QCOMPARE(fileLine->toPlainText(), "Datei: " + FilePath);
            QCOMPARE(fileLine->pos(), QPointF(40 * scale, 80));
            QCOMPARE(fileLine->font().pointSize(), fontSize);
        }
        QCOMPARE(texts.size(), rowsOnLastPage * marked.size());
        QCOMPARE(frames.size(), texts.size());
        const int firstRow = rows.size() - rowsOnLastPage;
        double x = 0;
        for (int i = 0; i < texts.size(); ++i) {
            const int k = i / marked.size(), c = i % marked.size();
            x = c == 0 ? int(40 * scale) : x + int(widths.at(c - 1) * scale);
            const double middle = texts.at(i)->y() + texts.at(i)->boundingRect().height() / 2;
            QCOMPARE(texts.at(i)->toPlainText(), rows.at(firstRow + k).at(marked.at(c)));
            QCOMPARE(texts.at(i)->font().pointSize(), fontSize);
            QCOMPARE(texts.at(i)->pos(), QPointF(x, (pages == 1 ? 240 : 80) + 80 * k));
            // The frame: 20 left of the text, 80 high, the text in its middle.
            QVERIFY(frames.contains(QRectF(x - 20, middle - 40, int(widths.at(c) * scale), 80)));
        }
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
