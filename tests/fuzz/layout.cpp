// Page layout: any rows and column marks in, the preview's pages out. Page 1 holds the file line,
// the title row and 17 rows, every further one 20; each text 20 inside a frame 80 high, a row's
// frames touching from the left margin on; a column's frames equally wide, unscaled 40 wider than
// its longest text; the table within 2970, filling it when scaled down, the font scaled with it.
#include "FuzzSupport.h"
#include "Preview.h"

#include <QtPrintSupport>
#include <QtWidgets>

#include <algorithm>

namespace {

struct Page
{
    QList<QRectF> texts, frames;
    QSet<QString> fonts;
};

// Takes each page as its scene is rendered (the scene asks for the page's
// width then, and is cleared before the next page), and draws nothing.
class PageTaker : public QPrinter, public QPaintEngine
{
public:
    explicit PageTaker(QObject *preview) : QPaintEngine(AllFeatures), preview(preview) {}
    QObject *preview;
    QList<Page> pages;
    mutable Page rendered;

    QPaintEngine *paintEngine() const override { return const_cast<PageTaker *>(this); }
    bool newPage() override { return pages << rendered, true; }
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPath(const QPainterPath &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF &, const QTextItem &) override {}
    Type type() const override { return User; }
    int metric(PaintDeviceMetric metric) const override
    {
        auto *scene = preview->findChild<QGraphicsScene *>();
        if (metric == PdmWidth && scene) {
            rendered = {};
            for (QGraphicsItem *item : scene->items()) {
                if (auto *text = qgraphicsitem_cast<QGraphicsTextItem *>(item)) {
                    rendered.texts << text->mapRectToScene(text->boundingRect());
                    rendered.fonts
                        << text->font().family() + ' ' + QString::number(text->font().pointSize());
                } else if (auto *frame = qgraphicsitem_cast<QGraphicsRectItem *>(item))
                    rendered.frames << frame->rect();
            }
            std::sort(rendered.texts.begin(), rendered.texts.end(), [](QRectF a, QRectF b) {
                return qMakePair(a.y(), a.x()) < qMakePair(b.y(), b.x());
            });
        }
        return QPrinter::metric(metric);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static ColumnFlags marks;
    static PrintRows rows;
    static Preview *preview = new Preview(rows, &marks, mainWindow(""));
    static PageTaker printer(preview);
    if (size < 4)
        return 0;
    // Four bytes of marks, then the title row and up to 45 table rows (three
    // pages), one a line, of at least 28 fields as the print command gives.
    int marked = 0;
    for (int j = 0; j < 28; ++j)
        marked += marks[j] = qFromLittleEndian<quint32>(data) >> j & 1;
    rows = {{"plan.csv"}};
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data) + 4, size - 4);
    for (const QString &line : text.split('\n').mid(0, 46))
        rows << (line + QString(27, ';')).split(';').mid(0, qMax(28, line.count(';') + 1));
    printer.pages.clear();
    preview->on_paintRequested(&printer);
    printer.pages << printer.rendered;
    delete preview->findChild<QGraphicsScene *>();

    const int printed = rows.size() - 1;
    CHECK(printer.pages.size() == 1 + (qMax(0, printed - 18) + 19) / 20);
    const QRectF fileLine = printer.pages[0].texts.value(0);
    CHECK(fileLine.y() == 80);
    const double scale = fileLine.x() / 40; // the file line starts at the margin
    const bool scaled = scale != 1;
    // A point size cut to 0 keeps the full font.
    const int points = int(20 * scale + 1e-9) ? int(20 * scale + 1e-9) : 20;
    QVector<double> widths(28, -1), widest(28, 0);
    double right = 0;
    for (int p = 0, r = 0; p < printer.pages.size(); ++p) {
        const Page &page = printer.pages[p];
        int i = p == 0; // the page's texts, row by row from the top
        CHECK(page.texts.isEmpty()
              || page.fonts == QSet<QString> {"Nimbus Sans L " + QString::number(points)});
        for (int k = 0; k < (p ? 20 : 18) && r < printed; ++k, ++r) {
            for (int c = 0; c < marked; ++c, ++i) {
                CHECK(i < page.texts.size());
                const QRectF text = page.texts[i];
                CHECK(text.y() == (p ? 80 : 240) + 80 * k);
                const auto frame =
                    std::find_if(page.frames.begin(), page.frames.end(), [&](auto f) {
                        return f.left() == text.left() - 20 && f.height() == 80
                            && qAbs(f.center().y() - text.center().y()) < 0.01;
                    });
                CHECK(frame != page.frames.end() && (widths[c] < 0 || frame->width() == widths[c]));
                CHECK(c ? frame->left() == right : text.left() == int(fileLine.x()));
                CHECK(scaled || frame->width() >= int(text.width() + 40));
                widths[c] = frame->width();
                widest[c] = qMax(widest[c], text.width());
                right = frame->right();
            }
        }
        CHECK(i == page.texts.size() && page.frames.size() == page.texts.size() - (p == 0));
    }
    CHECK(right + 20 <= 2970 && (!scaled || right > 2900));
    for (int c = 0; c < marked && !scaled; ++c)
        CHECK(widths[c] == int(widest[c] + 40));
    return 0;
}
