// Page rendering of the preview dialog: lays the marked columns out as a table
// of framed cells in a graphics scene and renders the scene page by page.
#include "Preview.h"

#include "BusyCursor.h"
#include "ColumnCatalog.h"

#include <QAbstractTextDocumentLayout>
#include <QBrush>
#include <QFont>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QScreen>
#include <QTextDocument>

namespace {

// All lengths are scene units, those of a text item in the printing font.
const char *const FontFamily = "Nimbus Sans L";
constexpr int FontPointSize = 20;
// A table wider than this is scaled down, widths and font alike.
constexpr double MaxTableWidth = 2970.0;
constexpr double LeftMargin = 40.0;
// A text sits this far right of its cell's left edge; a cell is as wide as
// its longest text plus this on both sides.
constexpr double CellPadding = 20.0;
constexpr double CellHeight = 80.0;
constexpr double FileLineY = 80.0;
constexpr int FirstPageTop = 240;
constexpr int NextPageTop = 80;
constexpr int RowPitch = 80;
// The first page holds the title row and 17 table rows (printed rows 0 to
// 17), every further page 20 table rows.
constexpr int RowsPerPage = 20;
constexpr int LastRowOnPage = 17;

// Texts are laid out and drawn as on a device of this density, whatever the
// screen's, so that a printout has the same pages, widths and font size from
// every screen.
constexpr int LayoutDpi = 96;

QPaintDevice *layoutBasis()
{
    static QImage basis = [] {
        QImage image(1, 1, QImage::Format_Mono);
        const int dotsPerMeter = qRound(LayoutDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return &basis;
}

// What QGraphicsScene::addText() gives, with the text laid out once in its
// font instead of first in the default font and then again.
QGraphicsTextItem *addText(QGraphicsScene *scene, const QString &text, const QFont &font)
{
    auto *item = new QGraphicsTextItem;
    QTextDocument *document = item->document();
    document->documentLayout()->setPaintDevice(layoutBasis());
    // The layout turns the margin from screen pixels into the device's; it is
    // meant in the device's.
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen)
        document->setDocumentMargin(document->documentMargin()
                                    * qRound(screen->logicalDotsPerInchY()) / LayoutDpi);
    item->setFont(font);
    item->setPlainText(text);
    scene->addItem(item);
    return item;
}

void renderPage(QGraphicsScene *scene, QPainter *painter)
{
    scene->render(painter, QRectF(), QRectF(), Qt::KeepAspectRatio);
}

} // namespace

void Preview::on_paintRequested(QPrinter *printer)
{
    BusyCursor busy;
    QPainter painter(printer);
    if (!painter.isActive())
        return;
    // The dialog made the printer A4 landscape already; while a preview is
    // painted the layout cannot change at all, so only a differing one is set.
    if (printer->pageLayout().pageSize().id() != QPageSize::A4)
        printer->setPageSize(QPageSize(QPageSize::A4));
    if (printer->pageLayout().orientation() != QPageLayout::Landscape)
        printer->setPageOrientation(QPageLayout::Landscape);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                           | QPainter::SmoothPixmapTransform);

    // Stays with the dialog, holding the last page.
    auto *scene = new QGraphicsScene(this);
    QFont font(FontFamily, FontPointSize);

    // Printed row 0 is the title row, printed row k the table row k - 1; each
    // holds the marked fields only. Widths belong to positions in a printed
    // row, not to table columns.
    QList<QStringList> printedRows;
    int widths[ColumnCatalog::ColumnCount] = {};
    // Plan lists repeat their texts a lot; each is measured once.
    QHash<QString, int> measured;
    for (int i = 1; i < printRows.size(); ++i) {
        const QStringList &fields = printRows.at(i);
        QStringList printed;
        for (int j = 0; j < fields.size() && j < ColumnCatalog::ColumnCount; ++j) {
            if (!(*columnFlags)[j])
                continue;
            const QString &text = fields.at(j);
            auto known = measured.constFind(text);
            if (known == measured.constEnd()) {
                QGraphicsTextItem *item = addText(scene, text, font);
                known = measured.insert(text, int(item->boundingRect().width() + 2 * CellPadding));
                delete item;
            }
            const int position = printed.size();
            widths[position] = qMax(widths[position], known.value());
            printed.append(text);
        }
        printedRows.append(printed);
    }

    int tableWidth = int(LeftMargin);
    const int positions = printedRows.isEmpty() ? 0 : printedRows.first().size();
    for (int p = 0; p < positions; ++p)
        tableWidth += widths[p];
    const double scale = qMin(1.0, MaxTableWidth / tableWidth);

    // A size cut to 0 keeps the full font; only the cells shrink then.
    const int pointSize = int(FontPointSize * scale);
    if (pointSize > 0)
        font.setPointSize(pointSize);

    const QString file = printRows.isEmpty() ? QString() : printRows.first().value(0);
    addText(scene, "Datei: " + file, font)->setPos(LeftMargin * scale, FileLineY);

    const int left = int(LeftMargin * scale);
    int y = FirstPageTop;
    for (int r = 0; r < printedRows.size(); ++r) {
        const QStringList &printed = printedRows.at(r);
        int x = left;
        for (int c = 0; c < printed.size(); ++c) {
            QGraphicsTextItem *text = addText(scene, printed.at(c), font);
            text->setPos(x, y);
            const int width = int(widths[c] * scale);
            const double height = text->boundingRect().height();
            scene->addRect(x - CellPadding, y - (CellHeight - height) * 0.5, width, CellHeight,
                           QPen(), QBrush());
            x += width;
        }
        y += RowPitch;

        if (r % RowsPerPage == LastRowOnPage && r + 1 < printedRows.size()) {
            renderPage(scene, &painter);
            scene->clear();
            printer->newPage();
            y = NextPageTop;
        }
    }
    renderPage(scene, &painter);
}
