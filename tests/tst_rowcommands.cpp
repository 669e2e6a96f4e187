// The table's context menu driven as a user would: a right click on a row,
// below the last row or in an empty table, then an entry picked from the menu.
#include "TestSupport.h"
#include "VorlanCSV.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestSupport;

class TestRowCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void menuEntries_data();
    void menuEntries();
    void insertEmptyRow_data();
    void insertEmptyRow();
    void copyThenPaste();
    void pasteTrimsFields();
    void copyOfRowWithSeparatorClearsClipboard();
    void deleteMarksDocument();

private:
    void load(const QByteArray &bytes);
    QPoint pointOfRow(int row) const;
    // Right-clicks at `pos` in the table and picks `entry` (empty: the menu
    // is dismissed). Returns the entries the menu offered.
    QStringList rightClick(QPoint pos, const QString &entry = QString());
    QTableWidget *tab() const { return table(window.get()); }

    QTemporaryDir dir;
    QString file;
    std::unique_ptr<VorlanCSV> window;
};

static const QString RowA = "1;Plan A;a.pdf;;;;;;;;;;;;;;;Grundriss;12;Erste Ausgabe;A1;Firma;"
                            "Erdgeschoss;Elektro;1:50;Grundriss;T-4;PDF";
static const QString RowB = "2;Plan B;b.pdf;;;;;;;;;;;;;;;Schnitt;13;;A3;;Dachgeschoss;Heizung;"
                            "1:100;Schnitt;;PDF";

void TestRowCommands::initTestCase()
{
    isolateSettings();
    file = dir.filePath("plan.csv");
}

void TestRowCommands::cleanup()
{
    discardWindow(window);
    cancelPendingModalActions();
    QGuiApplication::clipboard()->clear();
}

void TestRowCommands::load(const QByteArray &bytes)
{
    writeFile(file, bytes);
    window = openWindow(file);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

QPoint TestRowCommands::pointOfRow(int row) const
{
    if (row < 0) // below the last row
        return QPoint(30, tab()->viewport()->height() - 5);
    return QPoint(30, tab()->rowViewportPosition(row) + tab()->rowHeight(row) / 2);
}

QStringList TestRowCommands::rightClick(QPoint pos, const QString &entry)
{
    QStringList offered;
    auto *timer = new QTimer(this);
    timer->setInterval(10);
    connect(timer, &QTimer::timeout, [&offered, entry, timer]() {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu || !menu->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        for (QAction *action : menu->actions()) {
            offered << action->text();
            if (action->text() == entry)
                menu->setActiveAction(action);
        }
        QTest::keyClick(menu, entry.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
    });
    timer->start();

    QWidget *viewport = tab()->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, viewport->mapToGlobal(pos));
    QApplication::sendEvent(viewport, &event);
    return offered;
}

void TestRowCommands::menuEntries_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<int>("row"); // -1: below the last row
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QStringList>("entries");

    const QByteArray two = (RowA + "\n" + RowB + "\n").toUtf8();
    const QStringList all = {"Kopieren", "Einfügen", "Leere Zeile einfügen", "Löschen"};
    const QStringList noPaste = {"Kopieren", "Leere Zeile einfügen", "Löschen"};
    QTest::newRow("on a row, row on the clipboard") << two << 1 << RowB << all;
    QTest::newRow("on a row, empty clipboard") << two << 0 << "" << noPaste;
    QTest::newRow("below the last row")
        << two << -1 << RowA << QStringList {"Einfügen", "Leere Zeile einfügen"};
    QTest::newRow("empty table") << QByteArray() << -1 << ""
                                 << QStringList {"Leere Zeile einfügen"};
    QTest::newRow("27 fields are no row") << two << 0 << QString(";").repeated(26) << noPaste;
    QTest::newRow("29 fields are no row") << two << 0 << RowA + ";x" << noPaste;
    QTest::newRow("tab-separated text is no row")
        << two << 0 << QString(RowA).replace(';', '\t') << noPaste;
    QTest::newRow("line copied from an editor, with its line end") << two << 0 << RowA + "\r\n"
                                                                   << all;
    QTest::newRow("line break inside a field")
        << two << 0 << QString(RowA).replace("Plan A", "Plan\nA") << noPaste;
}

void TestRowCommands::menuEntries()
{
    QFETCH(QByteArray, document);
    QFETCH(int, row);
    QFETCH(QString, clipboard);
    QFETCH(QStringList, entries);
    load(document);
    QGuiApplication::clipboard()->setText(clipboard);
    QCOMPARE(rightClick(pointOfRow(row)), entries);
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + file); // dismissing changes nothing
}

void TestRowCommands::insertEmptyRow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("newRow");
    QTest::newRow("on row 0: new row 0") << 0 << 0;
    QTest::newRow("on row 1: new row 1") << 1 << 1;
    QTest::newRow("below the last row: appended") << -1 << 2;
}

void TestRowCommands::insertEmptyRow()
{
    QFETCH(int, row);
    QFETCH(int, newRow);
    load((RowA + "\n" + RowB + "\n").toUtf8());
    rightClick(pointOfRow(row), "Leere Zeile einfügen");
    QCOMPARE(tab()->rowCount(), 3);
    QCOMPARE(window->rowText(newRow), QString(";").repeated(20) + "---;;---;---;---;---;;");
    QStringList others;
    for (int r = 0; r < 3; ++r)
        if (r != newRow)
            others << window->rowText(r);
    QCOMPARE(others, QStringList({RowA, RowB}));
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + file + " *");
    QVERIFY(!tab()->item(newRow, 27));
}

void TestRowCommands::copyThenPaste()
{
    load((RowA + "\n" + RowB + "\n").toUtf8());
    tab()->item(1, 1)->setText("  Plan B  ");
    window->findChild<QAction *>("actionSpeichern")->trigger();

    rightClick(pointOfRow(1), "Kopieren");
    QCOMPARE(QGuiApplication::clipboard()->text(), QString(RowB).replace("Plan B", "  Plan B  "));
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + file); // copying is no change

    rightClick(pointOfRow(1), "Einfügen");
    QCOMPARE(tab()->rowCount(), 3);
    QCOMPARE(window->rowText(1), RowB); // the pasted row, above and trimmed
    QCOMPARE(window->rowText(2), QString(RowB).replace("Plan B", "  Plan B  "));
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + file + " *");
    QVERIFY(qobject_cast<QComboBox *>(tab()->cellWidget(1, 24)));

    // The pasted drop-downs report edits like loaded ones.
    window->findChild<QAction *>("actionSpeichern")->trigger();
    auto *combo = qobject_cast<QComboBox *>(tab()->cellWidget(1, 24));
    combo->setCurrentIndex(1);
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + file + " *");
}

void TestRowCommands::pasteTrimsFields()
{
    load(QByteArray());
    QString spaced = RowA;
    spaced.replace(";", " ;  ");
    QGuiApplication::clipboard()->setText(spaced);
    rightClick(pointOfRow(-1), "Einfügen");
    QCOMPARE(tab()->rowCount(), 1);
    QCOMPARE(window->rowText(0), RowA);
}

void TestRowCommands::copyOfRowWithSeparatorClearsClipboard()
{
    load((RowA + "\n").toUtf8());
    tab()->item(0, 1)->setText("a;b"); // only possible by program, not by the editor
    QGuiApplication::clipboard()->setText("previous");
    rightClick(pointOfRow(0), "Kopieren");
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
}

void TestRowCommands::deleteMarksDocument()
{
    load((RowA + "\n" + RowB + "\n").toUtf8());
    rightClick(pointOfRow(0), "Löschen");
    QCOMPARE(tab()->rowCount(), 1);
    QCOMPARE(window->rowText(0), RowB);
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + file + " *");

    QString question;
    answerNextMessageBox(QMessageBox::Yes, &question);
    window->findChild<QAction *>("actionBeenden")->trigger();
    QCOMPARE(question, "Datei\n" + file + "\njetzt speichern?");
    QCOMPARE(readFile(file), (RowB + "\n").toUtf8());
}

QTEST_MAIN(TestRowCommands)
#include "tst_rowcommands.moc"
