// Measures the main window on large plan lists: start-up open, open from the
// menu, page scrolling, save, a find through the list, the print preview and
// peak memory. Each size
// runs in a process of its own so that its peak memory is its own. Then one
// process opens lists of growing size one after another from the menu, as a
// user works through a day, which shows whether an open stays linear when
// the table has held large lists before.
//
//   vorlanbench [rows ...]        default: 1000 5000 10000 50000, then the sequence
//   vorlanbench --one ROWS        one size, one line of figures (internal)
//   vorlanbench --sequence [rows ...]   default: 2000 5000 10000 20000 50000
//   vorlanbench --queued-sequence [rows ...]   the same, each open queued
#include "ColumnCatalog.h"
#include "PlanTable.h"
#include "Preview.h"
#include "VorlanCSV.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <ctime>
#include <memory>

namespace {

const char *const Nouns[] = {"Grundriss", "Schnitt",     "Übersicht",
                             "Ansicht",   "Detailplan",  "Leitungsführung",
                             "Schächte",  "Außenanlage", "Treppenhaus"};
const char *const Places[] = {"Nordflügel",      "Südflügel",  "Halle 3", "Küche",    "Büros Ost",
                              "Technikzentrale", "Tiefgarage", "Foyer",   "Werkstatt"};
const char *const Firms[] = {"Ingenieurbüro Hähnel", "Elektro Weiß GmbH", "Müller & Söhne",
                             "Planungsgruppe Süd", ""};

QString pick(QRandomGenerator &rng, const QStringList &list)
{
    return list.at(rng.bounded(list.size()));
}

template <size_t N> QString pick(QRandomGenerator &rng, const char *const (&list)[N])
{
    return QString::fromUtf8(list[rng.bounded(int(N))]);
}

// A realistic plan list: values from the drop-down vocabularies, German
// free text, every line 28 fields.
QByteArray planList(int rows)
{
    QRandomGenerator rng(4711);
    QByteArray out;
    for (int r = 0; r < rows; ++r) {
        QStringList f;
        f << QString::number(10000 + r) << "Verwaltungsbau Nord"
          << QString("VW-%1.pdf").arg(r, 5, 10, QChar('0')) << "Planarchiv/" + pick(rng, Places)
          << "Bauabschnitt " + QString::number(r % 4 + 1) << QString(QChar('a' + r % 3)) << "2026"
          << QString("VW-%1").arg(r, 5, 10, QChar('0'));
        for (int c = 8; c <= 16; ++c)
            f << (rng.bounded(4) == 0 ? QString::number(rng.bounded(100)) : QString());
        f << pick(rng, Nouns) + " " + pick(rng, Places) << QString::number(rng.bounded(10, 40))
          << ("Index " + QString(QChar('a' + rng.bounded(5))) + ": " + pick(rng, Nouns)).left(30)
          << pick(rng, FormatValues) << pick(rng, Firms) << pick(rng, GeschossValues)
          << pick(rng, GewerkValues) << pick(rng, MassstabValues) << pick(rng, PlanartValues)
          << (rng.bounded(3) == 0 ? "TO-" + QString::number(rng.bounded(999)) : QString()) << "PDF";
        out += f.join(';').toUtf8() + '\n';
    }
    return out;
}

void chooseInNextFileDialog(const QString &path)
{
    auto *timer = new QTimer(qApp);
    timer->setInterval(1);
    QObject::connect(timer, &QTimer::timeout, [timer, path]() {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        if (auto *nameEdit = dialog->findChild<QLineEdit *>("fileNameEdit"))
            nameEdit->setText(path);
        static_cast<QDialog *>(dialog)->accept();
    });
    timer->start();
}

// Until everything queued has run and the table has painted.
void settle(QTableWidget *table)
{
    QCoreApplication::processEvents();
    table->viewport()->repaint();
    QCoreApplication::processEvents();
}

// Memory figures of this process in KiB (Linux only; -1 elsewhere).
long statusKiB(const char *key)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').first().toLong();
    return -1;
}

// Writes a plan list of `rows` rows and returns its path.
QString writeList(const QString &path, int rows)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(planList(rows));
    return path;
}

// The main window on `path`, chosen in its start-up dialog, shown and drawn;
// null when it never shows.
std::unique_ptr<VorlanCSV> startWindow(const QString &path)
{
    chooseInNextFileDialog(path);
    auto window = std::make_unique<VorlanCSV>();
    window->show();
    window->activateWindow(); // the undo keys are the window's shortcuts
    if (!QTest::qWaitForWindowExposed(window.get()) || !QTest::qWaitForWindowActive(window.get()))
        return nullptr;
    settle(window->findChild<QTableWidget *>("tab"));
    return window;
}

int runOne(int rows)
{
    // The saves of the benchmark must not touch the user's settings.
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    const QString first = writeList(dir.filePath("erste.csv"), rows);
    const QString second = writeList(dir.filePath("zweite.csv"), rows);

    QElapsedTimer clock;
    clock.start();
    const std::unique_ptr<VorlanCSV> started = startWindow(first);
    if (!started)
        return 1;
    VorlanCSV &window = *started;
    auto *table = window.findChild<QTableWidget *>("tab");
    const double startup = clock.nsecsElapsed() / 1e6;
    const long loadedKiB = statusKiB("VmRSS:");

    chooseInNextFileDialog(second);
    clock.restart();
    window.findChild<QAction *>("actionOeffnen")->trigger();
    settle(table);
    const double reopen = clock.nsecsElapsed() / 1e6;

    // One page down, repainted, many times over from the middle.
    QScrollBar *bar = table->verticalScrollBar();
    bar->setValue(bar->maximum() / 3);
    settle(table);
    const int pages = 50;
    clock.restart();
    for (int i = 0; i < pages; ++i) {
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        settle(table);
    }
    const double scroll = clock.nsecsElapsed() / 1e6 / pages;

    clock.restart();
    window.findChild<QAction *>("actionSpeichern")->trigger();
    const double save = clock.nsecsElapsed() / 1e6;
    const long editingPeakKiB = statusKiB("VmHWM:");

    // One step of the find bar through the whole list finding nothing, as
    // Enter in it makes one; the median of three.
    QTest::keyClick(table, Qt::Key_F, Qt::ControlModifier);
    auto *findText = window.findChild<QLineEdit *>("findText");
    findText->setText("nirgends zu finden");
    QList<double> findSteps;
    for (int i = 0; i < 3; ++i) {
        clock.restart();
        QTest::keyClick(findText, Qt::Key_Return);
        findSteps << clock.nsecsElapsed() / 1e6;
    }
    std::sort(findSteps.begin(), findSteps.end());
    const double findMs = findSteps.at(1);

    // Undo and redo by their keys, each the median of three: a cell typed
    // over in the middle of the list, and row 0 deleted from the context menu.
    QTest::keyClick(findText, Qt::Key_Escape);
    const auto timeKey = [&](Qt::Key key) {
        clock.restart();
        QTest::keyClick(table, key, Qt::ControlModifier);
        settle(table);
        return clock.nsecsElapsed() / 1e6;
    };
    const auto median = [](QList<double> times) {
        std::sort(times.begin(), times.end());
        return times.at(times.size() / 2);
    };
    QList<double> cellUndo, cellRedo, rowUndo, rowRedo;
    for (int i = 0; i < 3; ++i) {
        const QModelIndex cell = table->model()->index(rows / 2, 1);
        table->setCurrentIndex(cell);
        table->edit(cell);
        if (auto *editor = qobject_cast<QLineEdit *>(table->indexWidget(cell))) {
            editor->setText("geändert");
            QTest::keyClick(editor, Qt::Key_Return);
        }
        settle(table);
        cellUndo << timeKey(Qt::Key_Z);
        cellRedo << timeKey(Qt::Key_Y);
        QTimer::singleShot(0, [] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                menu->setActiveAction(menu->actions().last()); // "Löschen"
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        const QPoint row0(200, table->rowViewportPosition(0) + 5);
        table->scrollToTop();
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, row0,
                                    table->viewport()->mapToGlobal(row0));
        QApplication::sendEvent(table->viewport(), &menuEvent);
        settle(table);
        rowUndo << timeKey(Qt::Key_Z);
        rowRedo << timeKey(Qt::Key_Y);
    }
    const QString undoMs = QString("%1/%2,%3/%4")
                               .arg(median(cellUndo), 0, 'f', 1)
                               .arg(median(cellRedo), 0, 'f', 1)
                               .arg(median(rowUndo), 0, 'f', 1)
                               .arg(median(rowRedo), 0, 'f', 1);

    // Typing into an explanation field in the middle of the list, a letter and a
    // backspace by turns every 20 ms for three seconds, while the recovery copy of
    // the changes is written: the median key, and the longest pause the events
    // between the keys made (a copy taken from the table among them).
    auto *plan = static_cast<PlanTable *>(table);
    plan->showCell(rows / 2, ColumnCatalog::LineEditorColumn);
    settle(table);
    QList<double> keys;
    double longestPause = 0;
    if (QWidget *field = plan->cellEditor(rows / 2, ColumnCatalog::LineEditorColumn)) {
        field->setFocus();
        for (int i = 0; i < 150; ++i) {
            clock.restart();
            QTest::keyClick(field, i % 2 ? Qt::Key_Backspace : Qt::Key_X);
            QCoreApplication::processEvents();
            keys << clock.nsecsElapsed() / 1e6;
            while (clock.nsecsElapsed() < 20000000) {
                QElapsedTimer pause;
                pause.start();
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
                longestPause = qMax(longestPause, pause.nsecsElapsed() / 1e6);
            }
        }
    }
    const QString typingMs = QString("%1/%2").arg(keys.isEmpty() ? -1 : median(keys), 0, 'f', 2)
                                 .arg(longestPause, 0, 'f', 1);
    window.findChild<QAction *>("actionSpeichern")->trigger(); // nothing to ask at the end

    // The preview's first rendering of every page, default columns, as the
    // print command hands them over.
    PrintRows printRows;
    printRows.append(QStringList(second));
    QStringList titles;
    for (int c = 0; c < ColumnCatalog::ColumnCount; ++c)
        titles << table->horizontalHeaderItem(c)->text();
    printRows.append(titles);
    for (int r = 0; r < table->rowCount(); ++r)
        printRows.append(window.rowText(r).split(';'));
    ColumnFlags flags = {};
    for (int c = 0; c < ColumnCatalog::ColumnCount; ++c)
        flags[c] = titles.at(c).size() > 3 && !DefaultUnmarkedColumns.contains(titles.at(c));
    Preview preview(printRows, &flags, &window);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewWidget previewWidget(&printer);
    QObject::connect(&previewWidget, &QPrintPreviewWidget::paintRequested, &preview,
                     &Preview::on_paintRequested);
    clock.restart();
    previewWidget.show();
    QCoreApplication::processEvents();
    const double previewMs = clock.nsecsElapsed() / 1e6;
    const int previewPages = previewWidget.pageCount();

    QTextStream(stdout) << rows << ' ' << startup << ' ' << reopen << ' ' << scroll << ' ' << save
                        << ' ' << previewMs << ' ' << previewPages << ' ' << editingPeakKiB / 1024
                        << ' ' << statusKiB("VmHWM:") / 1024 << ' ' << loadedKiB / 1024 << ' '
                        << findMs << ' ' << undoMs << ' ' << typingMs << Qt::endl;
    window.close();
    return 0;
}

// A window started on a 2-row list, then menu opens of the given sizes in
// turn, each replacing the one before; either clicked, or queued from the
// event loop as a timer or another program's request runs it.
int runSequence(const QList<int> &sizes, bool queued)
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    const auto list = [&dir](int rows) {
        return writeList(dir.filePath(QString("liste-%1.csv").arg(rows)), rows);
    };
    const QString small = list(2);
    QStringList paths;
    for (int rows : sizes)
        paths << list(rows);

    QTextStream out(stdout);
    QElapsedTimer clock;
    clock.start();
    const std::unique_ptr<VorlanCSV> started = startWindow(small);
    if (!started)
        return 1;
    VorlanCSV &window = *started;
    auto *table = window.findChild<QTableWidget *>("tab");
    out << QString("sequence in one process, opens %1: start-up with 2 rows %2 ms\n")
               .arg(queued ? "queued" : "direct")
               .arg(clock.nsecsElapsed() / 1e6, 0, 'f', 0);
    // The processor time beside the wall time: on a shared machine the wall
    // time also counts what other processes take.
    out << QString("%1 %2 %3 %4 %5\n")
               .arg("rows", 6)
               .arg("menu open ms", 13)
               .arg("cpu ms", 7)
               .arg("peak MB", 8)
               .arg("now MB", 7);

    QMap<int, double> openMs;
    for (int i = 0; i < sizes.size(); ++i) {
        chooseInNextFileDialog(paths.at(i));
        clock.restart();
        const std::clock_t cpuStart = std::clock();
        QAction *open = window.findChild<QAction *>("actionOeffnen");
        if (queued) {
            QTimer::singleShot(0, open, &QAction::trigger);
            while (table->rowCount() != sizes.at(i))
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        } else {
            open->trigger();
        }
        settle(table);
        const double ms = clock.nsecsElapsed() / 1e6;
        const double cpuMs = 1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        if (table->rowCount() != sizes.at(i)) {
            out << sizes.at(i) << ": failed, " << table->rowCount() << " rows\n";
            return 1;
        }
        openMs[sizes.at(i)] = ms;
        out << QString("%1 %2 %3 %4 %5\n")
                   .arg(sizes.at(i), 6)
                   .arg(ms, 13, 'f', 0)
                   .arg(cpuMs, 7, 'f', 0)
                   .arg(statusKiB("VmHWM:") / 1024, 8)
                   .arg(statusKiB("VmRSS:") / 1024, 7);
        out.flush();
    }
    // Doubling the rows should about double the time, five times the rows
    // about five times it.
    for (int i = 1; i < sizes.size(); ++i) {
        const int big = sizes.at(i);
        const int half = big == 50000 ? 10000 : sizes.at(i - 1);
        if ((big == 2 * half || big == 5 * half) && openMs.value(half) > 0)
            out << QString("ratio %1 / %2: %3\n")
                       .arg(big)
                       .arg(half)
                       .arg(openMs.value(big) / openMs.value(half), 0, 'f', 2);
    }
    out.flush();
    window.close();
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsDir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settingsDir.path()));
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.value(0) == "--one")
        return runOne(args.value(1).toInt());
    if (args.value(0) == "--sequence" || args.value(0) == "--queued-sequence") {
        QList<int> sizes;
        for (const QString &arg : args.mid(1))
            sizes << arg.toInt();
        if (sizes.isEmpty())
            sizes = {2000, 5000, 10000, 20000, 50000};
        return runSequence(sizes, args.value(0) == "--queued-sequence");
    }

    QList<int> sizes;
    for (const QString &arg : args)
        sizes << arg.toInt();
    const bool withSequence = sizes.isEmpty();
    if (sizes.isEmpty())
        sizes = {1000, 5000, 10000, 50000};

    QTextStream out(stdout);
    // Memory: the peak while opening, scrolling and saving; the peak once
    // the preview of every page has been drawn too; the size after the
    // start-up open.
    out << QString("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11 %12\n")
               .arg("rows", 6)
               .arg("start-up ms", 12)
               .arg("menu open ms", 13)
               .arg("page scroll ms", 15)
               .arg("save ms", 9)
               .arg("preview ms (pages)", 19)
               .arg("peak MB", 8)
               .arg("+preview MB", 12)
               .arg("loaded MB", 10)
               .arg("find ms", 8)
               .arg("undo/redo ms: cell, row 0", 26)
               .arg("key ms, recording pause", 24);
    for (int rows : sizes) {
        QProcess one;
        one.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        one.start(QCoreApplication::applicationFilePath(), {"--one", QString::number(rows)});
        one.waitForFinished(-1);
        const QStringList f = QString::fromUtf8(one.readAllStandardOutput()).split(' ');
        if (f.size() < 13) {
            out << rows << ": failed\n";
            continue;
        }
        out << QString("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11 %12\n")
                   .arg(f[0], 6)
                   .arg(f[1].toDouble(), 12, 'f', 0)
                   .arg(f[2].toDouble(), 13, 'f', 0)
                   .arg(f[3].toDouble(), 15, 'f', 1)
                   .arg(f[4].toDouble(), 9, 'f', 0)
                   .arg(QString("%1 (%2)").arg(f[5].toDouble(), 0, 'f', 0).arg(f[6]), 19)
                   .arg(f[7], 8)
                   .arg(f[8], 12)
                   .arg(f[9], 10)
                   .arg(f[10].toDouble(), 8, 'f', 1)
                   .arg(f[11], 26)
                   .arg(f[12].trimmed(), 24);
        out.flush();
    }
    for (const char *sequence : {"--sequence", "--queued-sequence"}) {
        if (!withSequence)
            break;
        out << '\n';
        out.flush();
        QProcess run;
        run.setProcessChannelMode(QProcess::ForwardedChannels);
        run.start(QCoreApplication::applicationFilePath(), {sequence});
        run.waitForFinished(-1);
    }
    return 0;
}
