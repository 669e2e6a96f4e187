// The window and the printout on an X screen of DISPLAY_CHECK_DPI dots per inch, as
// display-check.sh runs them at 96, 144 and 192: the window keeps its 96-dpi layout
// in logical pixels with a device pixel ratio of dpi / 96, and the printout of a wide
// table is the same as from the 96-dpi screen, also under a user's own scale settings.
// What a person compares is written to DISPLAY_CHECK_FILES-DPI.txt, beside a picture.
#include "Preview.h"
#include "ScreenScaling.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QPrinter>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

using namespace TestSupport;

namespace {

using Figures = QMap<QString, QString>;

const QString SamplePlanList = SAMPLE_PLAN_LIST;
const QList<int> Densities = {96, 144, 192};
const int Dpi = qEnvironmentVariableIntValue("DISPLAY_CHECK_DPI");
const QString Files = qEnvironmentVariable("DISPLAY_CHECK_FILES");

QString number(double value)
{
    return QString::number(value, 'g', 4);
}

// The sample list with every column marked: wider than a page, on four pages.
Figures printout()
{
    PrintRows rows = {{"planliste-verwaltungsbau.csv"}, ColumnTitles};
    for (const QString &line : QString(readFile(SamplePlanList)).split('\n', Qt::SkipEmptyParts))
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
    // The pages as grey pixels: the same picture gives the same hash.
    QProcess raster;
    raster.start("pdftoppm", {"-r", "30", "-gray", pdf.outputFileName()});
    if (!raster.waitForFinished(60000) || raster.exitCode() != 0)
        qFatal("pdftoppm (poppler-utils) on %s: %s", qPrintable(pdf.outputFileName()),
               qPrintable(raster.errorString()));
    return {{"printout pages", QString::number(pdfText(pdf.outputFileName()).count('\f'))},
            {"printout font size", QString::number(texts.value(0)->font().pointSize())},
            {"printout last page's table", number(table.width()) + " x " + number(table.height())},
            {"printout texts on the last page", QString::number(texts.size())},
            {"printout pictures",
             QCryptographicHash::hash(raster.readAllStandardOutput(), QCryptographicHash::Md5)
                 .toHex()}};
}

// One "name: value" a line.
Figures parse(const QString &lines)
{
    Figures figures;
    for (const QString &line : lines.split('\n', Qt::SkipEmptyParts))
        figures.insert(line.section(": ", 0, 0), line.section(": ", 1));
    return figures;
}

QByteArray text(const Figures &figures)
{
    QByteArray lines;
    for (auto f = figures.begin(); f != figures.end(); ++f)
        lines += (f.key() + ": " + f.value() + "\n").toUtf8();
    return lines;
}

} // namespace

class TestDisplay : public WindowTest
{
    Q_OBJECT

    Figures shown;

    // The sample list in the window, scrolled to the drop-downs, as the user sees it.
    void lookAtWindow()
    {
        window = openWindow(SamplePlanList);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTableWidget *tab = table(window.get());
        tab->scrollTo(tab->model()->index(0, 27));
        QList<QComboBox *> inSight;
        const auto lookAtDropDowns = [&] {
            inSight.clear();
            for (QComboBox *combo : tab->viewport()->findChildren<QComboBox *>())
                if (combo->isVisible())
                    inSight << combo;
            return !inSight.isEmpty();
        };
        QTRY_VERIFY(lookAtDropDowns());

        QStringList widths, cut;
        for (int c = 0; c < tab->columnCount(); ++c)
            widths << QString::number(tab->columnWidth(c));
        for (QComboBox *combo : inSight) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                               QStyle::SC_ComboBoxEditField, combo);
            if (combo->fontMetrics().horizontalAdvance(combo->currentText()) > field.width())
                cut << combo->currentText();
        }
        cut.sort();
        QStringList icons; // device pixels of each toolbar icon per logical pixel
        auto *toolBar = window->findChild<QToolBar *>("toolBar");
        for (QAction *action : toolBar->actions())
            if (!action->isSeparator())
                icons << number(action->icon().pixmap(toolBar->iconSize()).width()
                                / double(toolBar->iconSize().width()));
        shown = printout();
        shown.insert("device pixel ratio", number(window->devicePixelRatioF()));
        shown.insert("column widths", widths.join(' '));
        shown.insert("row height", QString::number(tab->rowHeight(0)));
        shown.insert("table font height", QString::number(tab->fontMetrics().height()));
        shown.insert("drop-downs in sight", QString::number(inSight.size()));
        shown.insert("drop-down texts cut short", cut.join(", "));
        shown.insert("toolbar icon pixels per logical pixel", icons.join(' '));
        writeFile(Files + QString("-%1.txt").arg(Dpi), text(shown));
        window->grab().save(Files + QString("-window-%1.png").arg(Dpi));
    }

private slots:
    // The density's own facts, then everything else as on the 96-dpi screen.
    void screen_data()
    {
        QTest::addColumn<QString>("figure");
        QTest::addColumn<QString>("expected");
        const QString ratio = number(Dpi / 96.0);
        QTest::newRow("device pixel ratio dpi / 96, unrounded") << "device pixel ratio" << ratio;
        QTest::newRow("toolbar icons drawn from images of as many pixels")
            << "toolbar icon pixels per logical pixel"
            << QString(ratio + ' ').repeated(4).trimmed();
        if (Dpi == 96)
            return;
        const Figures at96 = parse(readFile(Files + "-96.txt"));
        QVERIFY2(at96.contains("column widths"),
                 "no figures from 96 dpi; display-check.sh measures that density first");
        for (auto f = at96.begin(); f != at96.end(); ++f)
            if (f.key() != "device pixel ratio" && !f.key().startsWith("toolbar"))
                QTest::newRow(qPrintable(f.key() + " as at 96 dpi")) << f.key() << f.value();
    }
    void screen()
    {
        QFETCH(QString, figure);
        QFETCH(QString, expected);
        if (shown.isEmpty())
            lookAtWindow();
        QCOMPARE(shown.value(figure), expected);
    }

    // A user's own scale settings decide over the program's; the printout stays the same.
    void userSettings_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("ratios"); // at 96, 144 and 192 dpi
        QTest::newRow("QT_SCALE_FACTOR alone scales") << "QT_SCALE_FACTOR=1.25"
                                                      << "1.25 1.25 1.25";
        QTest::newRow("QT_ENABLE_HIGHDPI_SCALING=0: not scaled") << "QT_ENABLE_HIGHDPI_SCALING=0"
                                                                 << "1 1 1";
        QTest::newRow("QT_SCALE_FACTOR_ROUNDING_POLICY rounds 1.5")
            << "QT_SCALE_FACTOR_ROUNDING_POLICY=Floor"
            << "1 1 2";
    }
    void userSettings()
    {
        QFETCH(QString, settings);
        QFETCH(QString, ratios);
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(settings.section('=', 0, 0), settings.section('=', 1));
        run.setProcessEnvironment(environment);
        run.start(QCoreApplication::applicationFilePath(), {"--printout"});
        QVERIFY2(run.waitForFinished(120000) && run.exitCode() == 0,
                 run.readAllStandardError().constData());
        const Figures figures = parse(run.readAllStandardOutput());
        Figures expected = printout();
        expected.insert("device pixel ratio", ratios.split(' ').value(Densities.indexOf(Dpi)));
        QCOMPARE(text(figures), text(expected));
    }
};

int main(int argc, char *argv[])
{
    prepareScreenScaling();
    QApplication app(argc, argv);
    // The figures of a run under a user's settings, for userSettings().
    if (app.arguments().value(1) == "--printout") {
        Figures figures = printout();
        figures.insert("device pixel ratio", number(app.devicePixelRatio()));
        fputs(text(figures).constData(), stdout);
        return 0;
    }
    if (!Densities.contains(Dpi) || Files.isEmpty()) {
        fputs("run by display-check.sh: DISPLAY_CHECK_DPI 96, 144 or 192, DISPLAY_CHECK_FILES\n",
              stderr);
        return 1;
    }
    TestDisplay test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_display.moc"
