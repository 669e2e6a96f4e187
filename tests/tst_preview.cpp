// The print preview dialog: its form, the printer list and the printer
// change, its buttons, and the pages it lays out, read back from the scene
// after painting.
#include "TestSupport.h"

#include "Preview.h"
#include "VorlanCSV.h" // the main window's form, for the header texts

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QMainWindow>
#include <QPointer>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <unistd.h>

using namespace TestSupport;

namespace {

const QString FilePath = "/daten/Bau 7/plan.csv";
// Two extra queues whose names sort before every usual printer name, so the
// default printer is at least third in the list.
const QStringList ExtraQueues = {"AAVorlanTestA", "AAVorlanTestB"};

QFont printFont(int pointSize)
{
    return QFont("Nimbus Sans L", pointSize);
}

// The width of a text as a text item in the printing font shows it.
double measure(const QString &text, int pointSize = 20)
{
    QGraphicsTextItem item(text);
    item.setFont(printFont(pointSize));
    return item.boundingRect().width();
}

struct Cell
{
    QString text;
    QPointF textPos;
    double textHeight;
    int fontSize;
    QRectF frame;
};

// What the scene of the last painted page holds.
struct Page
{
    QGraphicsTextItem *fileLine = nullptr;
    QList<QList<Cell>> rows; // by y, each by x
    int frames = 0;
};

// The scenes the page rendering made, one per painting; the preview widget
// has a scene of its own further down.
QList<QGraphicsScene *> pageScenes(Preview &dialog)
{
    return dialog.findChildren<QGraphicsScene *>(QString(), Qt::FindDirectChildrenOnly);
}

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void form();
    void printerList();
    void defaultPrinterNotFirst();
    void choosingAnotherPrinter();
    void buttons_data();
    void buttons();

    void pageLayout_data();
    void pageLayout();
    void narrowTable();
    void wideTable();
    void noColumnMarked_data();
    void noColumnMarked();
    void emptyColumnStillGetsCell();
    void rowWithMoreThan28Parts();

private:
    PrintRows makeRows(int tableRows) const;
    static int paint(Preview &dialog);
    static Page lastPage(Preview &dialog);
    static void verifyCellFrames(const Page &page);
    QString addExtraQueues(); // why it failed; empty when done
    static void removeExtraQueues();

    QStringList titles;
    bool extraQueues = false;
};

void TestPreview::initTestCase()
{
    QMainWindow window;
    Ui::VorlanCSVClass ui;
    ui.setupUi(&window);
    for (int c = 0; c < ui.tab->columnCount(); ++c)
        titles << ui.tab->horizontalHeaderItem(c)->text();
    QCOMPARE(titles.size(), 28);
}

void TestPreview::cleanupTestCase()
{
    if (extraQueues)
        removeExtraQueues();
}

void TestPreview::cleanup()
{
    cancelPendingModalActions();
}

PrintRows TestPreview::makeRows(int tableRows) const
{
    PrintRows rows;
    rows << QStringList(FilePath) << titles;
    for (int r = 0; r < tableRows; ++r) {
        QStringList fields;
        for (int c = 0; c < 28; ++c)
            fields << QString("z%1s%2").arg(r).arg(c);
        rows << fields;
    }
    return rows;
}

// Paints all pages through a preview widget of the test's own, as the
// dialog's preview widget does; returns the number of pages.
int TestPreview::paint(Preview &dialog)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewWidget widget(&printer);
    QObject::connect(&widget, &QPrintPreviewWidget::paintRequested, &dialog,
                     &Preview::on_paintRequested);
    widget.updatePreview();
    return widget.pageCount();
}

Page TestPreview::lastPage(Preview &dialog)
{
    Page page;
    const QList<QGraphicsScene *> scenes = pageScenes(dialog);
    if (scenes.isEmpty())
        return page;
    QGraphicsScene *scene = scenes.last();

    QList<QGraphicsTextItem *> texts;
    QList<QGraphicsRectItem *> frames;
    for (QGraphicsItem *item : scene->items()) {
        if (auto *text = qgraphicsitem_cast<QGraphicsTextItem *>(item))
            texts << text;
        else if (auto *frame = qgraphicsitem_cast<QGraphicsRectItem *>(item))
            frames << frame;
    }
    page.frames = frames.size();

    QMap<double, QList<Cell>> byY;
    for (QGraphicsTextItem *text : texts) {
        if (text->toPlainText().startsWith("Datei: ")) {
            page.fileLine = text;
            continue;
        }
        Cell cell {text->toPlainText(), text->pos(), text->boundingRect().height(),
                   text->font().pointSize(), QRectF()};
        // The frame of a cell is the one whose left edge lies 20 left of the
        // text and whose vertical middle is the text's.
        for (QGraphicsRectItem *frame : frames) {
            const QRectF r = frame->rect();
            if (qFuzzyCompare(r.left() + 20 + 1, cell.textPos.x() + 1)
                && qAbs(r.center().y() - (cell.textPos.y() + cell.textHeight / 2)) < 0.01)
                cell.frame = r;
        }
        byY[text->pos().y()] << cell;
    }
    for (auto &row : byY) {
        std::sort(row.begin(), row.end(),
                  [](const Cell &a, const Cell &b) { return a.textPos.x() < b.textPos.x(); });
        page.rows << row;
    }
    return page;
}

// Every cell has its frame: 80 high, left edge 20 left of the text, the text
// centred vertically; the frames of a row touch each other.
void TestPreview::verifyCellFrames(const Page &page)
{
    int cells = 0;
    for (const QList<Cell> &row : page.rows) {
        for (int c = 0; c < row.size(); ++c) {
            const Cell &cell = row.at(c);
            QVERIFY2(!cell.frame.isNull(), qPrintable("no frame for " + cell.text));
            QCOMPARE(cell.frame.height(), 80.0);
            QCOMPARE(cell.frame.left(), cell.textPos.x() - 20);
            QCOMPARE(cell.frame.top(), cell.textPos.y() - (80.0 - cell.textHeight) * 0.5);
            if (c > 0)
                QCOMPARE(cell.frame.left(), row.at(c - 1).frame.right());
            ++cells;
        }
    }
    QCOMPARE(page.frames, cells);
}

QString TestPreview::addExtraQueues()
{
    if (extraQueues)
        return QString();
    if (geteuid() != 0)
        return "adding printer queues needs root";
    if (QPrinterInfo::availablePrinters().isEmpty())
        return "no printer installed (no print spooler reachable)";
    removeExtraQueues();
    for (const QString &queue : ExtraQueues) {
        if (!run(
                "lpadmin",
                {"-p", queue, "-E", "-v", "cups-pdf:/", "-m", "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"}))
            return "lpadmin cannot add a cups-pdf queue";
    }
    extraQueues = true;
    if (!waitUntil([] { return QPrinterInfo::availablePrinters().size() >= 3; }))
        return "the added queues do not show in the printer list";
    return QString();
}

void TestPreview::removeExtraQueues()
{
    for (const QString &queue : ExtraQueues)
        run("lpadmin", {"-x", queue});
}

void TestPreview::form()
{
    PrintRows rows = makeRows(2);
    ColumnFlags flags = {};
    Preview dialog(rows, &flags, nullptr);

    QCOMPARE(dialog.objectName(), QString("Preview"));
    QCOMPARE(dialog.windowTitle(), QString("Druck-Vorschau"));
    QCOMPARE(dialog.size(), QSize(630, 425));
    QCOMPARE(dialog.label->text(), QString("Druckerauswahl"));
    QCOMPARE(dialog.pushButton->text(), QString("Drucken"));
    QCOMPARE(dialog.pushButton_2->text(), QString("Cancel"));
    QCOMPARE(dialog.printerNames->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(dialog.printerNames->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);

    // The bottom row: space, caption, printers, space, the two buttons.
    QCOMPARE(dialog.horizontalLayout->count(), 6);
    QVERIFY(dialog.horizontalLayout->itemAt(0)->spacerItem());
    QCOMPARE(dialog.horizontalLayout->itemAt(1)->widget(), dialog.label);
    QCOMPARE(dialog.horizontalLayout->itemAt(2)->widget(), dialog.printerNames);
    QVERIFY(dialog.horizontalLayout->itemAt(3)->spacerItem());
    QCOMPARE(dialog.horizontalLayout->itemAt(4)->widget(), dialog.pushButton);
    QCOMPARE(dialog.horizontalLayout->itemAt(5)->widget(), dialog.pushButton_2);

    // The preview, when there is one, stands above the bottom row.
    const int last = dialog.verticalLayout->count() - 1;
    QCOMPARE(dialog.verticalLayout->itemAt(last)->layout(), dialog.horizontalLayout);
    if (dialog.previewWidget) {
        QCOMPARE(last, 1);
        QCOMPARE(dialog.verticalLayout->itemAt(0)->widget(), dialog.previewWidget);
    } else {
        QCOMPARE(last, 0);
    }
}

void TestPreview::printerList()
{
    PrintRows rows = makeRows(3);
    ColumnFlags flags = {};
    flags[2] = true;
    Preview dialog(rows, &flags, nullptr);

    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    QCOMPARE(dialog.printerNames->count(), printers.size());
    int expectedCurrent = printers.isEmpty() ? -1 : 0;
    for (int i = 0; i < printers.size(); ++i) {
        QCOMPARE(dialog.printerNames->itemText(i), printers.at(i).printerName());
        if (printers.at(i).isDefault())
            expectedCurrent = i;
    }
    QCOMPARE(dialog.printerNames->currentIndex(), expectedCurrent);

    if (printers.isEmpty()) {
        // Nothing to preview on: neither printer nor preview widget, only
        // the bottom row.
        QVERIFY(!dialog.previewWidget);
        QVERIFY(!dialog.currentPrinter);
        QVERIFY(dialog.findChildren<QPrintPreviewWidget *>().isEmpty());
        QCOMPARE(dialog.verticalLayout->count(), 1);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(pageScenes(dialog).isEmpty());
        return;
    }

    QVERIFY(dialog.previewWidget);
    QVERIFY(dialog.currentPrinter);
    QCOMPARE(dialog.findChildren<QPrintPreviewWidget *>().size(), 1);
    QCOMPARE(dialog.previewWidget->parentWidget(), &dialog);
    QCOMPARE(dialog.currentPrinter->printerName(), dialog.printerNames->currentText());
    QCOMPARE(dialog.currentPrinter->pageLayout().pageSize().id(), QPageSize::A4);
    QCOMPARE(dialog.currentPrinter->pageLayout().orientation(), QPageLayout::Landscape);
    QCOMPARE(dialog.currentPrinter->resolution(), QPrinter(QPrinter::HighResolution).resolution());

    // Shown, the preview asks for its pages.
    QVERIFY(pageScenes(dialog).isEmpty());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(waitUntil([&] { return dialog.previewWidget->pageCount() == 1; }));
    QCOMPARE(pageScenes(dialog).size(), 1);
    QCOMPARE(lastPage(dialog).rows.size(), 4);
}

void TestPreview::defaultPrinterNotFirst()
{
    const QString noQueues = addExtraQueues();
    if (!noQueues.isEmpty())
        QSKIP(qPrintable(noQueues));
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    int defaultIndex = -1;
    for (int i = 0; i < printers.size(); ++i) {
        if (printers.at(i).isDefault())
            defaultIndex = i;
    }
    if (defaultIndex < 2)
        QSKIP("the default printer is not third or later in the list");

    PrintRows rows = makeRows(1);
    ColumnFlags flags = {};
    Preview dialog(rows, &flags, nullptr);
    QCOMPARE(dialog.printerNames->count(), printers.size());
    QCOMPARE(dialog.printerNames->currentIndex(), defaultIndex);
    QCOMPARE(dialog.currentPrinter->printerName(), printers.at(defaultIndex).printerName());
    // The preview made for the first printer is gone again.
    QCOMPARE(dialog.findChildren<QPrintPreviewWidget *>().size(), 1);
    QCOMPARE(dialog.verticalLayout->count(), 2);
    QCOMPARE(dialog.verticalLayout->itemAt(0)->widget(), dialog.previewWidget);
}

void TestPreview::choosingAnotherPrinter()
{
    const QString noQueues = addExtraQueues();
    if (!noQueues.isEmpty())
        QSKIP(qPrintable(noQueues));
    PrintRows rows = makeRows(18);
    ColumnFlags flags = {};
    flags[17] = true;
    Preview dialog(rows, &flags, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(waitUntil([&] { return dialog.previewWidget->pageCount() == 2; }));
    const int scenesBefore = pageScenes(dialog).size();

    const int other = dialog.printerNames->currentIndex() == 0 ? 1 : 0;
    const QString otherName = dialog.printerNames->itemText(other);
    QPointer<QPrintPreviewWidget> old = dialog.previewWidget;
    dialog.printerNames->setFocus();
    QTest::keyClick(dialog.printerNames, other == 0 ? Qt::Key_Home : Qt::Key_Up);
    QCOMPARE(dialog.printerNames->currentIndex(), other);

    QVERIFY(old.isNull());
    QVERIFY(dialog.previewWidget);
    QCOMPARE(dialog.findChildren<QPrintPreviewWidget *>().size(), 1);
    QCOMPARE(dialog.verticalLayout->itemAt(0)->widget(), dialog.previewWidget);
    QCOMPARE(dialog.currentPrinter->printerName(), otherName);
    QCOMPARE(dialog.currentPrinter->pageLayout().pageSize().id(), QPageSize::A4);
    QCOMPARE(dialog.currentPrinter->pageLayout().orientation(), QPageLayout::Landscape);
    // The new preview draws the pages again.
    QVERIFY(waitUntil([&] { return dialog.previewWidget->pageCount() == 2; }));
    QCOMPARE(pageScenes(dialog).size(), scenesBefore + 1);
    QVERIFY(dialog.previewWidget->isVisible());
}

void TestPreview::buttons_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");

    QTest::newRow("Drucken accepts") << "print" << int(QDialog::Accepted);
    QTest::newRow("Cancel rejects") << "cancel" << int(QDialog::Rejected);
    QTest::newRow("closing the window rejects") << "close" << int(QDialog::Rejected);
}

void TestPreview::buttons()
{
    QFETCH(QString, how);
    QFETCH(int, result);

    PrintRows rows = makeRows(1);
    ColumnFlags flags = {};
    QWidget parent;
    auto *dialog = new Preview(rows, &flags, &parent);
    bool driven = false;
    onNextModalOf<Preview>([&](Preview *shown) {
        driven = true;
        if (how == "print")
            QTest::mouseClick(shown->pushButton, Qt::LeftButton);
        else if (how == "cancel")
            QTest::mouseClick(shown->pushButton_2, Qt::LeftButton);
        else
            shown->close();
    });
    QCOMPARE(dialog->exec(), result);
    QVERIFY(driven);
    delete dialog;
}

void TestPreview::pageLayout_data()
{
    QTest::addColumn<int>("tableRows");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("rowsOnLastPage");
    QTest::addColumn<int>("firstY");

    QTest::newRow("empty table: file line and titles") << 0 << 1 << 1 << 240;
    QTest::newRow("one row") << 1 << 1 << 2 << 240;
    QTest::newRow("17 rows fill the first page") << 17 << 1 << 18 << 240;
    QTest::newRow("18th row opens page 2 at y 80") << 18 << 2 << 1 << 80;
    QTest::newRow("37 rows fill page 2") << 37 << 2 << 20 << 80;
    QTest::newRow("38th row opens page 3") << 38 << 3 << 1 << 80;
    QTest::newRow("57 rows fill page 3") << 57 << 3 << 20 << 80;
}

void TestPreview::pageLayout()
{
    QFETCH(int, tableRows);
    QFETCH(int, pages);
    QFETCH(int, rowsOnLastPage);
    QFETCH(int, firstY);

    // The default marks: columns 2 and 17 to 25.
    ColumnFlags flags = {};
    QList<int> marked = {2};
    for (int c = 17; c <= 25; ++c)
        marked << c;
    for (int c : marked)
        flags[c] = true;
    PrintRows rows = makeRows(tableRows);
    Preview dialog(rows, &flags, nullptr);

    QCOMPARE(paint(dialog), pages);
    const Page page = lastPage(dialog);

    if (pages == 1) {
        QVERIFY(page.fileLine);
        QCOMPARE(page.fileLine->toPlainText(), "Datei: " + FilePath);
        QCOMPARE(page.fileLine->pos(), QPointF(40, 80));
        QCOMPARE(page.fileLine->font().pointSize(), 20);
    } else {
        QVERIFY(!page.fileLine);
    }

    QCOMPARE(page.rows.size(), rowsOnLastPage);
    // The printed rows of the last page, as (index into rows) - 1.
    const int firstPrinted = rows.size() - 1 - rowsOnLastPage;
    for (int k = 0; k < page.rows.size(); ++k) {
        const QList<Cell> &row = page.rows.at(k);
        const QStringList &fields = rows.at(firstPrinted + k + 1);
        QCOMPARE(row.size(), marked.size());
        for (int c = 0; c < row.size(); ++c) {
            QCOMPARE(row.at(c).text, fields.at(marked.at(c)));
            QCOMPARE(row.at(c).textPos.y(), double(firstY + 80 * k));
            QCOMPARE(row.at(c).fontSize, 20);
        }
        QCOMPARE(row.first().textPos.x(), 40.0);
    }
    verifyCellFrames(page);
    if (rowsOnLastPage == 20 || (pages == 1 && rowsOnLastPage == 18))
        QCOMPARE(page.rows.last().first().textPos.y(), 1600.0);
}

void TestPreview::narrowTable()
{
    // One marked column: the cell is the longest text plus 40 wide, nothing
    // is scaled.
    PrintRows rows = makeRows(0);
    rows << (QStringList() << ""
                           << ""
                           << "kurz")
         << (QStringList() << ""
                           << ""
                           << "ein längerer Text, der bestimmt");
    ColumnFlags flags = {};
    flags[2] = true;
    Preview dialog(rows, &flags, nullptr);
    QCOMPARE(paint(dialog), 1);
    const Page page = lastPage(dialog);

    const int width = int(measure("ein längerer Text, der bestimmt") + 40);
    QVERIFY(width < 2970 - 40);
    QCOMPARE(page.fileLine->pos(), QPointF(40, 80));
    QCOMPARE(page.rows.size(), 3);
    QCOMPARE(page.rows.at(0).at(0).text, QString("Datei"));
    QCOMPARE(page.rows.at(1).at(0).text, QString("kurz"));
    for (const QList<Cell> &row : page.rows) {
        QCOMPARE(row.size(), 1);
        QCOMPARE(row.at(0).frame.left(), 20.0);
        QCOMPARE(row.at(0).frame.width(), double(width));
        QCOMPARE(row.at(0).fontSize, 20);
    }
    verifyCellFrames(page);
}

void TestPreview::wideTable()
{
    // Every column marked and long texts: wider than 2970, so widths and
    // font shrink by 2970 / width.
    PrintRows rows = makeRows(0);
    QStringList fields;
    for (int c = 0; c < 28; ++c)
        fields << QString("Feld %1 mit einem recht langen Text darin").arg(c);
    rows << fields;
    ColumnFlags flags;
    std::fill(std::begin(flags), std::end(flags), true);
    Preview dialog(rows, &flags, nullptr);
    QCOMPARE(paint(dialog), 1);
    const Page page = lastPage(dialog);

    QList<int> widths;
    int tableWidth = 40;
    for (int c = 0; c < 28; ++c) {
        widths << int(qMax(measure(titles.at(c)), measure(fields.at(c))) + 40);
        tableWidth += widths.last();
    }
    QVERIFY(tableWidth > 2 * 2970);
    const double scale = 2970.0 / tableWidth;
    const int fontSize = int(20 * scale);
    QVERIFY(fontSize < 10);

    QCOMPARE(page.fileLine->pos(), QPointF(40 * scale, 80));
    QCOMPARE(page.fileLine->font().pointSize(), fontSize);
    QCOMPARE(page.rows.size(), 2);
    for (const QList<Cell> &row : page.rows) {
        QCOMPARE(row.size(), 28);
        QCOMPARE(row.first().frame.left(), double(int(40 * scale) - 20));
        for (int c = 0; c < 28; ++c) {
            QCOMPARE(row.at(c).fontSize, fontSize);
            QCOMPARE(row.at(c).frame.width(), double(int(widths.at(c) * scale)));
        }
        QVERIFY(row.last().frame.right() <= 2970 - 20);
    }
    verifyCellFrames(page);
}

void TestPreview::noColumnMarked_data()
{
    QTest::addColumn<int>("tableRows");
    QTest::addColumn<int>("pages");

    QTest::newRow("three rows: the file line only") << 3 << 1;
    QTest::newRow("20 rows: a second, blank page") << 20 << 2;
}

void TestPreview::noColumnMarked()
{
    QFETCH(int, tableRows);
    QFETCH(int, pages);

    PrintRows rows = makeRows(tableRows);
    ColumnFlags flags = {};
    Preview dialog(rows, &flags, nullptr);
    QCOMPARE(paint(dialog), pages);
    const Page page = lastPage(dialog);
    QCOMPARE(page.frames, 0);
    QVERIFY(page.rows.isEmpty());
    if (pages == 1) {
        QVERIFY(page.fileLine);
        QCOMPARE(page.fileLine->pos(), QPointF(40, 80));
        QCOMPARE(page.fileLine->font().pointSize(), 20);
    } else {
        QVERIFY(!page.fileLine);
    }
}

void TestPreview::emptyColumnStillGetsCell()
{
    PrintRows rows = makeRows(2);
    rows[1][5] = QString();
    rows[2][5] = QString();
    rows[3][5] = QString();
    ColumnFlags flags = {};
    flags[5] = true;
    Preview dialog(rows, &flags, nullptr);
    QCOMPARE(paint(dialog), 1);
    const Page page = lastPage(dialog);

    QCOMPARE(page.rows.size(), 3);
    const double width = int(measure(QString()) + 40);
    QVERIFY(width >= 40);
    for (const QList<Cell> &row : page.rows) {
        QCOMPARE(row.size(), 1);
        QCOMPARE(row.at(0).text, QString());
        QCOMPARE(row.at(0).frame.width(), width);
    }
    verifyCellFrames(page);
}

void TestPreview::rowWithMoreThan28Parts()
{
    // A field that held ";" split into two parts: the parts after it moved
    // one place right, and only the first 28 parts are looked at.
    PrintRows rows = makeRows(0);
    QStringList parts;
    for (int i = 0; i < 29; ++i)
        parts << QString("t%1").arg(i);
    rows << parts;
    ColumnFlags flags = {};
    flags[26] = true;
    flags[27] = true;
    Preview dialog(rows, &flags, nullptr);
    QCOMPARE(paint(dialog), 1);
    const Page page = lastPage(dialog);

    QCOMPARE(page.rows.size(), 2);
    QCOMPARE(page.rows.at(1).size(), 2);
    QCOMPARE(page.rows.at(1).at(0).text, QString("t26"));
    QCOMPARE(page.rows.at(1).at(1).text, QString("t27"));
    verifyCellFrames(page);
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
