// A plan list of a few thousand rows: every row arrives with its editors and
// values, the editors in sight sit on their cells while scrolling, and long
// work shows a busy cursor that gives way to message boxes.
#include "ColumnCatalog.h"
#include "TestSupport.h"
#include "VorlanCSV.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestSupport;

class TestLargeList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void everyRowArrives_data();
    void everyRowArrives();
    void editorsFollowScrolling();
    void busyCursorGivesWayToMessages();

private:
    static QString line(int row);
    void checkEditorsInSight();

    QTemporaryDir dir;
    std::unique_ptr<VorlanCSV> window;
};

static const int Rows = 3000;

QString TestLargeList::line(int row)
{
    QStringList f = QString(";").repeated(27).split(';');
    f[0] = QString::number(row);
    f[17] = QString("Grundriss Achse %1").arg(row);
    f[19] = QString("Prüfung %1").arg(row);
    f[20] = FormatValues.at(row % FormatValues.size());
    f[22] = GeschossValues.at(row % GeschossValues.size());
    f[23] = GewerkValues.at(row % GewerkValues.size());
    f[24] = MassstabValues.at(row % MassstabValues.size());
    f[25] = PlanartValues.at(row % PlanartValues.size());
    f[27] = "PDF";
    return f.join(';');
}

void TestLargeList::initTestCase()
{
    isolateSettings();
}

void TestLargeList::init()
{
    QByteArray bytes;
    for (int r = 0; r < Rows; ++r)
        bytes += line(r).toUtf8() + '\n';
    writeFile(dir.filePath("gross.csv"), bytes);
    writeFile(dir.filePath("klein.csv"), (line(7) + "\n").toUtf8());
}

void TestLargeList::cleanup()
{
    discardWindow(window);
    cancelPendingModalActions();
}

void TestLargeList::everyRowArrives_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("at start-up") << false;
    QTest::newRow("from the menu, replacing a list") << true;
}

void TestLargeList::everyRowArrives()
{
    QFETCH(bool, fromMenu);
    window = openWindow(dir.filePath(fromMenu ? "klein.csv" : "gross.csv"));
    window->show();
    if (fromMenu) {
        chooseFileInNextDialog(dir.filePath("gross.csv"));
        window->findChild<QAction *>("actionOeffnen")->trigger();
    }
    QTableWidget *tab = table(window.get());
    QCOMPARE(tab->rowCount(), Rows);
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + dir.filePath("gross.csv"));
    for (int r = 0; r < Rows; ++r) {
        QCOMPARE(window->rowText(r), line(r));
        for (int c : {20, 22, 23, 24, 25}) {
            auto *combo = qobject_cast<QComboBox *>(tab->cellWidget(r, c));
            QVERIFY(combo);
            QCOMPARE(combo->count(), ColumnCatalog::entry(c).list->size());
        }
        auto *edit = qobject_cast<QLineEdit *>(tab->cellWidget(r, 19));
        QVERIFY(edit);
        QCOMPARE(edit->maxLength(), 30);
    }

    // An edit deep in the list is a change like any other.
    auto *combo = qobject_cast<QComboBox *>(tab->cellWidget(Rows - 1, 23));
    combo->setCurrentText("Tiefbau");
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + dir.filePath("gross.csv") + " *");
    window->findChild<QAction *>("actionSpeichern")->trigger();
    const QByteArray saved = readFile(dir.filePath("gross.csv"));
    QCOMPARE(saved.count('\n'), Rows);
    QVERIFY(saved.endsWith(";Tiefbau;" + MassstabValues.at((Rows - 1) % 25).toUtf8() + ";"
                           + PlanartValues.at((Rows - 1) % 39).toUtf8() + ";;PDF\n"));
}

// Every editor whose cell is in sight is shown exactly over its cell; the
// others are hidden.
void TestLargeList::checkEditorsInSight()
{
    QTableWidget *tab = table(window.get());
    const QRect sight = tab->viewport()->rect();
    int shown = 0;
    for (int r = 0; r < tab->rowCount(); ++r) {
        for (int c : {19, 20, 22, 23, 24, 25}) {
            QWidget *editor = tab->cellWidget(r, c);
            const QRect cell = tab->visualRect(tab->model()->index(r, c));
            const bool inSight = cell.intersects(sight);
            QCOMPARE(editor->isVisible(), inSight);
            if (inSight) {
                QCOMPARE(editor->parentWidget(), tab->viewport());
                QVERIFY(cell.contains(editor->geometry()));
                ++shown;
            }
        }
    }
    QVERIFY(shown > 0);
}

void TestLargeList::editorsFollowScrolling()
{
    window = openWindow(dir.filePath("gross.csv"));
    window->resize(1200, 700);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QTableWidget *tab = table(window.get());
    QScrollBar *down = tab->verticalScrollBar();
    QScrollBar *across = tab->horizontalScrollBar();

    across->setValue(across->maximum());
    QVERIFY(waitUntil([&] { return tab->cellWidget(0, 25)->isVisible(); }));
    checkEditorsInSight();
    const QList<int> positions = {down->maximum() / 2, down->maximum() / 2 + down->pageStep(),
                                  down->maximum(), 0};
    for (int position : positions) {
        down->setValue(position);
        across->setValue(across->maximum());
        QCoreApplication::processEvents();
        checkEditorsInSight();
    }

    // Rows inserted and removed above keep the editors on their cells.
    down->setValue(down->maximum());
    tab->insertRow(0);
    window->insertRowFromText(0, line(99));
    tab->removeRow(5); // line 4, one down since the insert
    QCoreApplication::processEvents();
    checkEditorsInSight();
    QCOMPARE(window->rowText(0), line(99));
    QCOMPARE(window->rowText(Rows - 1), line(Rows - 1));
    QCOMPARE(window->rowText(5), line(5));
}

void TestLargeList::busyCursorGivesWayToMessages()
{
    window = openWindow(dir.filePath("klein.csv"));
    window->show();
    QTableWidget *tab = table(window.get());

    // A list with one bad line in the middle, opened from the menu.
    QByteArray bytes;
    for (int r = 0; r < 200; ++r)
        bytes += (r == 100 ? line(r) + ";zuviel" : line(r)).toUtf8() + '\n';
    writeFile(dir.filePath("fehler.csv"), bytes);

    QList<bool> busyWhileFilling;
    connect(tab, &QTableWidget::cellChanged, this, [&busyWhileFilling]() {
        const QCursor *cursor = QGuiApplication::overrideCursor();
        busyWhileFilling << (cursor && cursor->shape() == Qt::WaitCursor);
    });
    bool busyDuringMessage = true;
    chooseFileInNextDialog(dir.filePath("fehler.csv"));
    QTimer::singleShot(0, [&] {
        onNextModalOf<QMessageBox>([&](QMessageBox *box) {
            busyDuringMessage = QGuiApplication::overrideCursor() != nullptr;
            box->accept();
        });
    });
    window->findChild<QAction *>("actionOeffnen")->trigger();
    QCOMPARE(tab->rowCount(), 199);
    QVERIFY(!busyWhileFilling.isEmpty());
    QVERIFY(!busyWhileFilling.contains(false));
    QVERIFY(!busyDuringMessage);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    disconnect(tab, nullptr, this, nullptr);

    window->findChild<QAction *>("actionSpeichern")->trigger();
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

QTEST_MAIN(TestLargeList)
#include "tst_largelist.moc"
