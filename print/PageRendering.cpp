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
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

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

// How every text of one printout is laid out: in its font, on the layout
// basis, with the margin in screen pixels, which the layout turns into the
// basis's; the margin is meant in the basis's.
struct TextLayout
{
    QFont font;
    qreal margin;
};

TextLayout textLayout(const QFont &font)
{
    qreal margin = QTextDocument().documentMargin();
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen)
        margin = margin * qRound(screen->logicalDotsPerInchY()) / LayoutDpi;
    return {font, margin};
}

// Lays `text` out in the document once: while its page size is null the
// layout waits, instead of running again for the device, the font, the
// margin and the text.
void layOut(QTextDocument *document, const QString &text, const TextLayout &layout)
{
    const QSizeF pageSize = document->pageSize();
    document->setPageSize(QSizeF(0, 0));
    document->documentLayout()->setPaintDevice(layoutBasis());
    document->setDefaultFont(layout.font);
    document->setDocumentMargin(layout.margin);
    document->setPlainText(text);
    document->setPageSize(pageSize);
}

// Text items and frames are kept from page to page and given the next page's
// texts and places: making a text item costs far more than laying a text out
// in it. They keep the order in which a page adds them, text and then frame
// for each cell, so every page is drawn in that order.
class Cells
{
public:
    Cells(QGraphicsScene *scene, const TextLayout &layout) : scene(scene), layout(layout) {}

    QGraphicsTextItem *addText(const QString &text)
    {
        if (used == texts.size()) {
            auto *item = new QGraphicsTextItem;
            scene->addItem(item);
            texts.append(item);
            frames.append(scene->addRect(QRectF(), QPen(), QBrush()));
        }
        QGraphicsTextItem *item = texts.at(used);
        layOut(item->document(), text, layout);
        return item;
    }

    // The frame of the text added last.
    void addFrame(const QRectF &rect) { frames.at(used++)->setRect(rect); }

    // Removes the cells the page did not use; the next page starts again
    // with the first.
    void endPage()
    {
        while (texts.size() > used) {
            delete texts.takeLast();
            delete frames.takeLast();
        }
        used = 0;
    }

private:
    QGraphicsScene *scene;
    const TextLayout &layout;
    QList<QGraphicsTextItem *> texts;
    QList<QGraphicsRectItem *> frames;
    int used = 0;
};

// Draws the scene onto the whole page as QGraphicsScene::render would, keeping the
// aspect ratio, but with one pen for the page instead of a painter state of each
// item's own: the preview keeps every page's drawing commands, and those states
// were most of its memory.
void renderPage(QGraphicsScene *scene, QPainter *painter)
{
    const QRectF source = scene->sceneRect(),
                 target(0, 0, painter->device()->width(), painter->device()->height());
    const qreal ratio =
        qMin(target.width() / source.width(), target.height() / source.height());
    painter->save();
    painter->setClipRect(target, Qt::IntersectClip);
    painter->setWorldTransform(
        QTransform().scale(ratio, ratio).translate(-source.left(), -source.top()), true);
    painter->setPen(QPen());
    painter->setBrush(Qt::NoBrush);
    // Each frame on its own, as the items draw them: where two frames meet, the line
    // is drawn twice.
    for (QGraphicsItem *item : scene->items(Qt::AscendingOrder)) {
        if (auto *frame = qgraphicsitem_cast<QGraphicsRectItem *>(item))
            painter->drawRect(frame->rect().translated(frame->pos()));
        else if (auto *text = qgraphicsitem_cast<QGraphicsTextItem *>(item))
            text->document()->firstBlock().layout()->draw(painter, text->pos());
    }
    painter->restore();
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
    // The cells move from page to page; an index would be rebuilt for each.
    scene->setItemIndexMethod(QGraphicsScene::NoIndex);
    TextLayout layout = textLayout(QFont(FontFamily, FontPointSize));

    // Printed row 0 is the title row, printed row k the table row k - 1; each
    // holds the marked fields only. Widths belong to positions in a printed
    // row, not to table columns.
    QList<QStringList> printedRows;
    int widths[ColumnCatalog::ColumnCount] = {};
    // Plan lists repeat their texts a lot; each is measured once, without a
    // text item.
    QHash<QString, int> measured;
    QTextDocument measuring;
    for (int i = 1; i < printRows.size(); ++i) {
        const QStringList &fields = printRows.at(i);
        QStringList printed;
        for (int j = 0; j < fields.size() && j < ColumnCatalog::ColumnCount; ++j) {
            if (!(*columnFlags)[j])
                continue;
            const QString &text = fields.at(j);
            auto known = measured.constFind(text);
            if (known == measured.constEnd()) {
                layOut(&measuring, text, layout);
                known = measured.insert(text, int(measuring.size().width() + 2 * CellPadding));
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
        layout.font.setPointSize(pointSize);

    const QString file = printRows.isEmpty() ? QString() : printRows.first().value(0);
    auto *fileLine = new QGraphicsTextItem;
    layOut(fileLine->document(), "Datei: " + file, layout);
    fileLine->setPos(LeftMargin * scale, FileLineY);
    scene->addItem(fileLine);

    Cells cells(scene, layout);
    const int left = int(LeftMargin * scale);
    int y = FirstPageTop;
    for (int r = 0; r < printedRows.size(); ++r) {
        const QStringList &printed = printedRows.at(r);
        int x = left;
        for (int c = 0; c < printed.size(); ++c) {
            QGraphicsTextItem *text = cells.addText(printed.at(c));
            text->setPos(x, y);
            const int width = int(widths[c] * scale);
            const double height = text->boundingRect().height();
            cells.addFrame(
                QRectF(x - CellPadding, y - (CellHeight - height) * 0.5, width, CellHeight));
            x += width;
        }
        y += RowPitch;

        if (r % RowsPerPage == LastRowOnPage && r + 1 < printedRows.size()) {
            cells.endPage();
            renderPage(scene, &painter);
            delete fileLine;
            fileLine = nullptr;
            printer->newPage();
            y = NextPageTop;
        }
    }
    cells.endPage();
    renderPage(scene, &painter);
}
