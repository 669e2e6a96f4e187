// The window and the printout on the X screens of display-check.sh: the window keeps its 96-dpi
// layout in logical pixels, with the device pixel ratio DISPLAY_CHECK_RATIO and toolbar icons
// drawn from images of as many pixels, and a wide printout is the same as from 96 dpi.
#include "Preview.h"
#include "ScreenScaling.h"
#include "TestSupport.h"

#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>

using namespace TestSupport;

class TestDisplay : public WindowTest
{
    Q_OBJECT

    QMap<QString, QString> shown; // what a person compares, by name

    // The sample list with every column marked: wider than a page.
    QString printout()
    {
        PrintRows rows = {{"planliste-verwaltungsbau.csv"}, ColumnTitles};
        for (const QString &line :
             QString(readFile(SAMPLE_PLAN_LIST)).split('\n', Qt::SkipEmptyParts))
            rows << line.split(';');
        ColumnFlags flags;
        std::fill(std::begin(flags), std::end(flags), true);
        QTemporaryDir dir;
        Preview preview(rows, &flags, nullptr);
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, {}));
        pdf.setOutputFileName(dir.filePath("wide.pdf"));
        preview.on_paintRequested(&pdf);
        QRectF table;
        QList<QGraphicsTextItem *> texts;
        for (QGraphicsItem *item : preview.findChildren<QGraphicsScene *>().last()->items()) {
            if (auto *frame = qgraphicsitem_cast<QGraphicsRectItem *>(item))
                table |= frame->rect();
            else if (auto *text = qgraphicsitem_cast<QGraphicsTextItem *>(item))
                texts << text;
        }
        return QString::asprintf("%d pages, %d pt, last page's table %g x %g, %d texts",
                                 int(pdfText(pdf.outputFileName()).count('\f')),
                                 texts.value(0)->font().pointSize(), table.width(), table.height(),
                                 int(texts.size()));
    }

    void look()
    {
        window = openWindow(SAMPLE_PLAN_LIST);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTableWidget *tab = table(window.get());
        tab->scrollTo(tab->model()->index(0, 27));
        QTRY_VERIFY(tab->viewport()->findChild<QComboBox *>()->isVisible());
        QStringList widths, cut, icons;
        for (int c = 0; c < tab->columnCount(); ++c)
            widths << QString::number(tab->columnWidth(c));
        for (QComboBox *combo : tab->viewport()->findChildren<QComboBox *>()) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const int room = combo->style()
                                 ->subControlRect(QStyle::CC_ComboBox, &option,
                                                  QStyle::SC_ComboBoxEditField, combo)
                                 .width();
            if (combo->isVisible()
                && combo->fontMetrics().horizontalAdvance(combo->currentText()) > room)
                cut << combo->currentText();
        }
        cut.removeDuplicates();
        auto *toolBar = window->findChild<QToolBar *>("toolBar");
        for (QAction *action : toolBar->actions()) // device pixels per logical pixel
            if (!action->isSeparator())
                icons << QString::number(action->icon().pixmap(toolBar->iconSize()).width()
                                         / double(toolBar->iconSize().width()));
        shown = {{"device pixel ratio", QString::number(window->devicePixelRatioF())},
                 {"toolbar icons", icons.join(' ')},
                 {"column widths", widths.join(' ')},
                 {"row height", QString::number(tab->rowHeight(0))},
                 {"table font height", QString::number(tab->fontMetrics().height())},
                 {"drop-down texts cut short", cut.join(", ")},
                 {"printout", printout()}};
    }

private slots:
    void screen_data()
    {
        QTest::addColumn<QString>("figure");
        QTest::addColumn<QString>("expected"); // as on a 96-dpi screen, but for the density
        const QString ratio = qEnvironmentVariable("DISPLAY_CHECK_RATIO", "1");
        const QMap<QString, QString> facts = {
            {"device pixel ratio", ratio},
            {"toolbar icons", QString(ratio + ' ').repeated(4).trimmed()},
            {"column widths",
             "40 160 40 160 160 40 40 160 40 40 40 40 40 40 40 40 40 160 40 160 "
             "80 160 160 160 80 160 80 100"},
            {"row height", "30"},
            {"table font height", QT_VERSION_MAJOR == 5 ? "15" : "14"}, // Qt 6 measures less
            {"drop-down texts cut short", "Messen, Steuern und Regeln"},
            {"printout", "4 pages, 10 pt, last page's table 2938 x 560, 196 texts"}};
        for (auto fact = facts.begin(); fact != facts.end(); ++fact)
            QTest::newRow(qPrintable(fact.key())) << fact.key() << fact.value();
    }
    void screen()
    {
        QFETCH(QString, figure);
        QFETCH(QString, expected);
        if (shown.isEmpty())
            look();
        QCOMPARE(shown.value(figure), expected);
    }
};

int main(int argc, char *argv[])
{
    prepareScreenScaling(); // as the program's own entry does
    QApplication app(argc, argv);
    TestDisplay test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_display.moc"
