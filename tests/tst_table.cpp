// The plan table: rows filled from text, typing, the row commands, undo, find and a long list.
#include "TestSupport.h"

#include <QtTest>
#include <QtWidgets>

using namespace TestSupport;

namespace {

const QString RowA = "1;Plan A;a.pdf;;;;;;;;;;;;;;;Grundriss;12;Plan A;A1;Firma;Erdgeschoss;"
                     "Elektro;1:50;Grundriss;T-4;PDF";
const QString RowB = "2;Plan B;b.pdf;;;;;;;;;;;;;;;Schnitt;13;;A3;;Dachgeschoss;Heizung;1:100;"
                     "Schnitt;;PDF";
// A new empty row: "---" in the five drop-downs, nothing in column 27.
const QString EmptyRow = QString(20, ';') + "---;;---;---;---;---;;", Refused = "refused";

// `row` with `value` in `column`; by default a row of 28 empty fields.
QString withField(int column, const QString &value, const QString &row = QString(27, ';'))
{
    QStringList fields = row.split(';');
    fields[column] = value;
    return fields.join(';');
}

struct MenuCase
{
    QStringList document;
    int row;                  // right-clicked; -1: below the last row
    QString clipboard, entry; // the entry picked; none: the menu is dismissed
    QStringList offered, after;
    bool marked;
    QString clipboardAfter, cell = {}; // cell: put into column 1 of the row and saved first
    QString changedTo = {};            // the clipboard while the menu is open
};

} // namespace

Q_DECLARE_METATYPE(MenuCase)

class TestTable : public WindowTest
{
    Q_OBJECT

    QTemporaryDir dir;
    QString file = dir.filePath("plan.csv");

    PlanTable *tab() const { return table(window.get()); }
    void load(const QStringList &rows)
    {
        window = openWindow(writeFile(file, planFile(rows)));
        window->show();
        window->activateWindow(); // keys go to the focus, as on a desktop
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

private slots:

    // A row's drop-downs: none where a short text has no field, else their list, after it a value
    // the list lacks in that cell only; "---" when empty. The row fuzz target checks the text.
    void fillRow_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rowText");
        const auto add = [](const char *what, const QString &text, const QString &rowText) {
            QTest::newRow(what) << text << rowText;
        };
        add("empty row: drop-downs show ---, 42 characters", QString(26, ';'), EmptyRow);
        add("29 fields are refused", withField(27, "PDF") + ";x", Refused);
        add("short text fills its columns only, trimmed, quotes kept", " ; a  b ;\t\"c,d\"\r",
            ";a  b;\"c,d\"" + QString(25, ';'));
        add("scale with blanks is trimmed, then chosen", withField(24, " 1:50 "),
            withField(24, "1:50", EmptyRow));
        add("value of another list is kept, offered in its cell", withField(20, "1:50"),
            withField(20, "1:50", EmptyRow));
        add("other case is kept", withField(23, "elektro"), withField(23, "elektro", EmptyRow));
    }
    void fillRow()
    {
        QFETCH(QString, text);
        QFETCH(QString, rowText);
        load({});
        const bool taken = window->insertRowFromText(0, text);
        // A screen reader reads every cell's value, drop-downs and explanation included.
        QAccessibleTableInterface *cells =
            QAccessible::queryAccessibleInterface(tab())->tableInterface();
        for (int c = 0; taken && c < 28; ++c)
            QCOMPARE(cells->cellAt(0, c)->text(QAccessible::Name), rowText.section(';', c, c));
        window->insertRowFromText(int(taken), QString(26, ';'));
        window->resize(3000, 400); // every column in sight
        QCoreApplication::processEvents();
        for (int c : {20, 22, 23, 24, 25}) {
            const QString value = rowText.section(';', c, c);
            const bool own = taken && !vocabulary(c).contains(value), none = text.count(';') < c;
            QCOMPARE(items(tab()->cellEditor(0, c)),
                     none ? QStringList() : vocabulary(c) + QStringList(value).mid(!own));
            QCOMPARE(items(tab()->cellEditor(taken, c)), vocabulary(c));
        }
        // In a list shorter than the window every row has its editors.
        for (int r = 0; r < 5; ++r)
            window->insertRowFromText(tab()->rowCount(), RowA);
        QTRY_VERIFY(tab()->cellEditor(tab()->rowCount() - 1, 19));
    }

    // "ab" typed into a cell, then, before Enter, a scroll of any kind or a command that reads the
    // table: the typing counts as entered, "cd" goes on in that editor or cell only, the wheel
    // leaves drop-downs as they are (Down for two letters). A short row takes no typing ("xyz",
    // by double click or F2) where it has no fields; into its plain cells it does.
    void typing_data()
    {
        QTest::addColumn<int>("column"); // of row 2 of 120; column 5 and "short row": row 3, "a;b"
        QTest::addColumn<QString>("then");
        QTest::addColumn<QString>("value"); // the cell as saved
        const auto add = [](const char *what, int column, const char *then, const char *value) {
            QTest::newRow(what) << column << QString(then) << QString(value);
        };
        add("explanation, bar dragged", 19, "bar dragged", "Prüfung 2abcd");
        add("explanation, track clicked", 19, "track clicked", "Prüfung 2abcd");
        add("explanation, wheel", 19, "wheel", "Prüfung 2abcd");
        add("plain cell, bar dragged: the edit ends, the cell typed over", 1, "bar dragged", "cd");
        add("cell without item, track clicked", 5, "track clicked", "cd");
        add("cell without item, wheel: the editor keeps the focus", 5, "wheel", "abcd");
        add("drop-down, wheel", 22, "wheel", "4. Ebene");
        add("drop-down, bar across dragged: Down moves to the next row", 22, "across", "3. Ebene");
        add("drop-down without focus, wheel over it", 24, "wheel, no focus", "1:2");
        for (const char *command : {"Speichern", "Kopieren", "Drucken"})
            add(qPrintable(QString("typed without Enter, ") + command), 17, command, "ab");
        add("short row, drop-down column", 20, "short row", "");
        add("short row, explanation column", 19, "short row", "");
        add("short row, plain column", 4, "short row", "z");
    }
    void typing()
    {
        QFETCH(int, column);
        QFETCH(QString, then);
        QFETCH(QString, value);
        QStringList rows = planRows(120);
        rows[3] = "a;b";
        load(rows);
        rows[3] += QString(26, ';'); // saved with all its fields
        window->resize(900, 500);
        QGuiApplication::clipboard()->clear();
        const int row = column == 5 || then == "short row" ? 3 : 2;
        const QModelIndex index = tab()->model()->index(row, column);
        tab()->scrollTo(index);
        QWidget *cell = tab()->cellEditor(row, column);
        QTRY_VERIFY(!cell || cell->isVisible());
        const bool focused = !then.endsWith("no focus"), dropDown = column == 22,
                   command = QString("Speichern Kopieren Drucken").contains(then);
        const auto type = [&](const char *keys) {
            QWidget *focus = QApplication::focusWidget();
            QVERIFY(focus == (cell ? cell : tab()->indexWidget(index)) || focus == tab());
            QVERIFY(!focused || focus != tab() || tab()->currentIndex() == index);
            for (const char *key = keys; *key && focused; key += 1 + dropDown) // to the focus
                dropDown ? QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down)
                         : QTest::keyClick(QApplication::focusWidget(), *key);
        };
        const auto enter = [](char key) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QTRY_VERIFY(QApplication::focusWidget()->inherits("PlanTable"));
        };
        tab()->setCurrentIndex(index);
        tab()->setFocus();
        if (focused && cell)
            cell->setFocus(Qt::OtherFocusReason);
        QScrollBar *down = tab()->verticalScrollBar(), *across = tab()->horizontalScrollBar();
        const int shownFrom = down->value();
        if (then == "short row") {
            QTest::mouseDClick(tab()->viewport(), Qt::LeftButton, {},
                               tab()->visualRect(index).center());
            enter('x');
            QTest::keyClick(tab(), Qt::Key_F2);
            enter('y');
            enter('z');
        } else {
            type("ab");
        }
        if (command) {
            QCOMPARE(window->windowTitle(), titleOf(file));
            if (then == "Drucken")
                expect<QDialog>([](QDialog *selectCol) { selectCol->reject(); });
            if (then == "Kopieren")
                rightClick(tab(), QPoint(500, tab()->rowViewportPosition(row) + 10), "Kopieren");
            else
                clickTool(window.get(), then == "Speichern" ? "actionSpeichern" : "actionDrucken");
        } else if (then == "bar dragged" || then == "across") {
            dragScrollBar(then == "across" ? across : down, then == "across" ? 0.0 : 0.8);
        } else if (then == "track clicked") {
            QTest::mouseClick(down, Qt::LeftButton, {}, {down->width() / 2, down->height() - 30});
        } else if (then != "short row") {
            turnWheel(cell ? cell : tab()->viewport(),
                      cell ? cell->rect().center() : tab()->visualRect(index).center(), -75);
        }
        QCoreApplication::processEvents();
        const QString shown = withField(column, value, rows[row]);
        if (command || then == "short row") {
            QCOMPARE(window->rowText(row), shown);
            QCOMPARE(tab()->indexWidget(index), nullptr); // no editor left open
            QCOMPARE(window->windowTitle(), titleOf(file, !value.isEmpty() && then != "Speichern"));
        } else {
            QVERIFY(then == "across" ? across->value() == 0 : down->value() > shownFrom);
            type("cd");
        }
        clickTool(window.get(), "actionSpeichern");
        rows[row] = shown;
        QCOMPARE(QString(readFile(file)).split('\n'), QString(planFile(rows)).split('\n'));
        QCOMPARE(window->windowTitle(), titleOf(file));
        QCOMPARE(QGuiApplication::clipboard()->text(), then == "Kopieren" ? shown : "");
    }

    void rowCommands_data()
    {
        QTest::addColumn<MenuCase>("c");
        const QStringList ab = {RowA, RowB};
        const QString copy = "Kopieren", paste = "Einfügen", empty = "Leere Zeile einfügen",
                      remove = "Löschen";
        const QStringList all = {copy, paste, empty, remove}, noPaste = {copy, empty, remove};
        const QString spacedB = QString(RowB).replace("Plan B", "  Plan B ");
        const auto add = [](const char *what, MenuCase c) {
            c.after = c.entry.isEmpty() ? c.document : c.after;
            c.clipboardAfter = c.clipboardAfter == "=" ? c.clipboard : c.clipboardAfter;
            QTest::newRow(what) << c;
        };
        add("on a row, a row on the clipboard", {ab, 1, RowB, "", all, {}, false, "="});
        add("on a row, empty clipboard", {ab, 0, "", "", noPaste, {}, false, "="});
        add("empty row on row 0 becomes row 0",
            {ab, 0, "", empty, noPaste, {EmptyRow, RowA, RowB}, true, ""});
        add("empty row below the last row is appended",
            {ab, -1, "", empty, {empty}, {RowA, RowB, EmptyRow}, true, ""});
        add("copy keeps blanks and is no change",
            {ab, 1, "x", copy, noPaste, {RowA, spacedB}, false, spacedB, "  Plan B "});
        add("paste on row 1 goes above it, trimmed",
            {ab, 1, QString(RowB).replace(";", " ;  "), paste, all, {RowA, RowB, RowB}, true, "="});
        add("paste inserts the row checked as the menu opened",
            {ab, 0, RowB, paste, all, {RowB, RowA, RowB}, true, "x;\ny", "", "x;\ny"});
        add("paste below the last row is appended",
            {{RowA}, -1, RowB, paste, {paste, empty}, {RowA, RowB}, true, "="});
        add("delete", {ab, 0, "", remove, noPaste, {RowB}, true, ""});
    }
    void rowCommands()
    {
        QFETCH(MenuCase, c);
        load(c.document);
        if (!c.cell.isEmpty()) {
            editCell(tab(), c.row, 1, c.cell);
            trigger(window.get(), "actionSpeichern");
        }
        QGuiApplication::clipboard()->setText(c.clipboard);
        const QString meanwhile = c.changedTo.isEmpty() ? c.clipboard : c.changedTo;
        // Well right of the row numbers: only the height picks the row.
        const int y =
            c.row < 0 ? tab()->viewport()->height() - 5 : tab()->rowViewportPosition(c.row) + 10;
        const auto change = [&] { QGuiApplication::clipboard()->setText(meanwhile); };
        QCOMPARE(rightClick(tab(), QPoint(500, y), c.entry, change), c.offered);
        QCOMPARE(rowTexts(window.get()), c.after);
        QCOMPARE(QGuiApplication::clipboard()->text(), c.clipboardAfter);
        QCOMPARE(window->windowTitle(), titleOf(file, c.marked));
    }

    // Each kind of change, then Ctrl+Z where the focus is: the table as opened, its cell current,
    // the title clean; the redo key brings it back; a save after the undo writes the table opened.
    // At the explanation's limit of 30 a character beyond the basic plane goes in where it fits
    // and not at all where only half of it would, typed or pasted: a save could only write "?".
    void history_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("redo");
        QTest::addColumn<int>("row"); // current after the undo
        QTest::addColumn<int>("column");
        const auto add = [](const char *what, const char *change, const char *redo, int row,
                            int column) {
            QTest::newRow(what) << QString(change) << QString(redo) << row << column;
        };
        add("plain cell typed and confirmed", "plain", "Ctrl+Y", 1, 1);
        add("drop-down chosen by key", "drop-down", "Ctrl+Shift+Z", 1, 22);
        add("explanation typed and pasted at its limit: one step", "explanation", "Ctrl+Y", 1, 19);
        add("paste at the end of the list", "Einfügen", "Ctrl+Y", 1, -1);
        add("empty row on row 0", "Leere Zeile einfügen", "Ctrl+Shift+Z", 0, -1);
        add("delete of the last row", "Löschen", "Ctrl+Y", 1, -1);
    }
    void history()
    {
        QFETCH(QString, change);
        QFETCH(QString, redo);
        QFETCH(int, row);
        QFETCH(int, column);
        load({RowA, change == "explanation" ? withField(19, QString(27, 'e'), RowB) : RowB});
        const QStringList opened = rowTexts(window.get());
        const auto press = [this](const QString &keys) {
            QApplication::setActiveWindow(window.get()); // offscreen, a closed menu can stay
            QTest::keySequence(QApplication::focusWidget(), QKeySequence(keys));
        };
        QGuiApplication::clipboard()->setText(RowA);
        if (change == "plain") {
            editCell(tab(), 1, 1, "Neu");
        } else if (column > 0) {
            tab()->scrollTo(tab()->model()->index(1, column));
            QWidget *editor = tab()->cellEditor(1, column);
            editor->setFocus();
            if (change == "drop-down") {
                QTest::keyClick(editor, Qt::Key_Down);
            } else { // the second character, typed or pasted, would be cut in half
                QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, "😀", {});
                QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, "😀", {});
                QGuiApplication::clipboard()->setText("😀😀");
                QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
            }
        } else {
            const int y = change == "Einfügen" ? 300 : tab()->rowViewportPosition(row) + 10;
            rightClick(tab(), QPoint(300, y), change); // at 300 below the last row
        }
        const QStringList changed = rowTexts(window.get());
        QVERIFY(changed != opened);
        QVERIFY(column != 19 || changed[1].section(';', 19, 19) == QString(27, 'e') + "😀");
        QCOMPARE(window->windowTitle(), titleOf(file, true));
        press("Ctrl+Z");
        QCOMPARE(rowTexts(window.get()), opened);
        QCOMPARE(window->windowTitle(), titleOf(file));
        QCOMPARE(tab()->currentRow(), row);
        const QModelIndex cell = tab()->model()->index(1, column); // a cell change's
        QVERIFY(column < 0 || tab()->currentIndex() == cell);
        QVERIFY(column < 0 || tab()->visualRect(cell).intersects(tab()->viewport()->rect()));
        tab()->setCurrentCell(0, 0); // redo too makes the changed cell current
        press(redo);
        QVERIFY(column < 0 || tab()->currentIndex() == cell);
        QCOMPARE(rowTexts(window.get()), changed);
        QCOMPARE(window->windowTitle(), titleOf(file, true));
        press("Ctrl+Z");
        clickTool(window.get(), "actionSpeichern");
        QCOMPARE(readFile(file), planFile(opened));
    }

    // Ctrl+F on 120 rows, "Kessel" in row 50's columns 2 and 26: found as typed from the current
    // cell on, on with Enter or F3, back with Shift, the focus in the bar until Escape; no change.
    void find_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("keys"); // then, each to the focus
        QTest::addColumn<QPoint>("found");     // column, row of the current cell
        QTest::addColumn<QString>("message");
        const auto add = [](const char *what, const char *typed, const QStringList &keys,
                            QPoint found, const char *message = "") {
            QTest::newRow(what) << QString(typed) << keys << found << QString(message);
        };
        add("typed, any case: the first match from the current cell on", "KESSEL", {}, {2, 50});
        add("Enter: the next match, left to right in a row", "kessel", {"Return"}, {26, 50});
        add("Enter: the next match, row by row", "plan 11", {"Return"}, {1, 110});
        add("F3 past the last match: on from the start", "kessel", {"F3", "F3"}, {2, 50},
            "Am Ende der Liste, weiter am Anfang");
        add("Shift+Enter before the first match: on from the end", "kessel", {"Shift+Return"},
            {26, 50}, "Am Anfang der Liste, weiter am Ende");
        add("Shift+F3: the previous match", "kessel", {"Return", "Shift+F3"}, {2, 50});
        add("no match, also on Enter: red, the table as it was", "kesselx", {"Return"}, {2, 50},
            "Nicht gefunden");
        add("a match again: the field's own colour", "kesselx", {"Backspace"}, {2, 50});
        add("Ctrl+F again selects the text", "kessel", {"Return", "Ctrl+F"}, {26, 50});
        add("Escape: the focus in the table at the match", "kessel", {"Return", "Esc"}, {26, 50});
        add("a drop-down's value", "feuerwehrlaufkarte", {}, {25, 14});
        add("the explanation", "PRÜFUNG 42", {}, {19, 42});
    }
    void find()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, keys);
        QFETCH(QPoint, found);
        QFETCH(QString, message);
        QStringList rows = planRows(120);
        rows[50] = withField(26, "KESSEL", withField(2, "Kessel.pdf", rows[50]));
        load(rows);
        tab()->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
        auto *findText = window->findChild<QLineEdit *>("findText");
        QCOMPARE(QApplication::focusWidget(), findText);
        QTest::keyClicks(QApplication::focusWidget(), typed);
        for (const QString &key : keys)
            QTest::keySequence(QApplication::focusWidget(), QKeySequence(key));
        const bool closed = keys.contains("Esc");
        QCOMPARE(QPoint(tab()->currentColumn(), tab()->currentRow()), found);
        QVERIFY(tab()->visualRect(tab()->currentIndex()).intersects(tab()->viewport()->rect()));
        QCOMPARE(window->findChild<QWidget *>("findBar")->isVisible(), !closed);
        QCOMPARE(QApplication::focusWidget(), closed ? static_cast<QWidget *>(tab()) : findText);
        QCOMPARE(findText->selectedText(), keys.endsWith("Ctrl+F") ? typed : QString());
        QCOMPARE(window->findChild<QLabel *>("findMessage")->text(), message);
        QCOMPARE(findText->palette().color(QPalette::Base) == Qt::red, message == "Nicht gefunden");
        QCOMPARE(rowTexts(window.get()), rows);
        QCOMPARE(window->windowTitle(), titleOf(file));
    }

    // A long list holding every drop-down entry, opened from the menu under a busy cursor: each
    // drop-down offers its list, and scrolling through it changes nothing.
    void longList()
    {
        const QStringList lines = planRows(1500);
        load({RowA});
        QList<bool> busy;
        connect(tab(), &QTableWidget::cellChanged, this,
                [&] { busy << bool(QGuiApplication::overrideCursor()); });
        expectFile(writeFile(dir.filePath("lang.csv"), planFile(lines)));
        trigger(window.get(), "actionOeffnen");
        disconnect(tab(), nullptr, this, nullptr);
        QVERIFY(!busy.isEmpty() && !busy.contains(false));
        window->resize(3000, 700);
        QScrollBar *down = tab()->verticalScrollBar();
        for (int position : {0, down->maximum() / 2, down->maximum()}) {
            down->setValue(position);
            QCoreApplication::processEvents();
            for (int c : {20, 22, 23, 24, 25})
                QCOMPARE(items(tab()->cellEditor(tab()->rowAt(0), c)), vocabulary(c));
        }
        trigger(window.get(), "actionSpeichern");
        QCOMPARE(readFile(dir.filePath("lang.csv")), planFile(lines));
    }
};

QTEST_MAIN(TestTable)
#include "tst_table.moc"
