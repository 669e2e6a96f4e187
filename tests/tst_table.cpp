// The plan table: the row text form, rows filled from text with their editors
// and vocabularies, edits marking the document, the context menu's row
// commands, and the editors following the table when it scrolls.
#include "TestSupport.h"
#include "VorlanCSV.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestSupport;

namespace {

const QString RowA = "1;Plan A;a.pdf;;;;;;;;;;;;;;;Grundriss;12;Erste Ausgabe;A1;Firma;Erdgeschoss;"
                     "Elektro;1:50;Grundriss;T-4;PDF";
const QString RowB = "2;Plan B;b.pdf;;;;;;;;;;;;;;;Schnitt;13;;A3;;Dachgeschoss;Heizung;1:100;"
                     "Schnitt;;PDF";
// A new empty row: "---" in the five drop-downs, nothing in column 27.
const QString EmptyRow = QString(";").repeated(20) + "---;;---;---;---;---;;";

// `row` with `value` in `column`; by default a row of 28 empty fields.
QString withField(int column, const QString &value, const QString &row = QString(27, ';'))
{
    QStringList fields = row.split(';');
    fields[column] = value;
    return fields.join(';');
}

} // namespace

class TestTable : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString file;
    std::unique_ptr<VorlanCSV> window;

    QTableWidget *tab() const { return table(window.get()); }
    void load(const QStringList &lines)
    {
        window = openWindow(writeFile(file, (lines.join('\n') + "\n").toUtf8().mid(lines.isEmpty())));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    QStringList rows() const
    {
        QStringList texts;
        for (int r = 0; r < tab()->rowCount(); ++r)
            texts << window->rowText(r);
        return texts;
    }
    // The editor of a cell: its line editor, or the in-place editor of a plain cell.
    QLineEdit *editor(int row, int column)
    {
        if (auto *edit = qobject_cast<QLineEdit *>(tab()->cellWidget(row, column)))
            return edit;
        tab()->editItem(tab()->item(row, column));
        auto *edit = qobject_cast<QLineEdit *>(tab()->indexWidget(tab()->model()->index(row, column)));
        if (edit)
            edit->end(false);
        return edit;
    }

private slots:
    void initTestCase()
    {
        startTesting();
        file = dir.filePath("plan.csv");
    }
    void cleanup()
    {
        discardWindow(window);
        checkDialogs();
        QGuiApplication::clipboard()->clear();
    }

    void splitRowText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("empty text is one empty field") << "" << QStringList {""};
        QTest::newRow("blanks only are one empty field") << "   \t " << QStringList {""};
        QTest::newRow("two separators, three empty fields") << ";;" << QStringList {"", "", ""};
        QTest::newRow("blanks go with their neighbours") << " ; a ;" << QStringList {"", "a", ""};
        QTest::newRow("inner blanks, quotes and commas stay")
            << "Plan  A ;\t\"a,b\"\r" << QStringList {"Plan  A", "\"a,b\""};
    }
    void splitRowText()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, fields);
        load({});
        QCOMPARE(window->splitRowText(text), fields);
    }

    void fillRow_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rowText"); // "refused" when the row is not taken
        QTest::newRow("empty row: drop-downs show ---, 42 characters") << QString(26, ';') << EmptyRow;
        QTest::newRow("28 fields") << withField(27, "PDF") << EmptyRow + "PDF";
        QTest::newRow("29 fields are refused") << withField(27, "PDF") + ";x" << "refused";
        QTest::newRow("short text fills its columns only")
            << "0;1;2;3;4;5;6;7;8;9" << "0;1;2;3;4;5;6;7;8;9" + QString(18, ';');
        QTest::newRow("scale with blanks is trimmed, then chosen")
            << withField(24, " 1:50 ") << withField(24, "1:50", EmptyRow);
        QTest::newRow("value of another list is not chosen") << withField(20, "1:50") << EmptyRow;
        QTest::newRow("near spelling is no entry")
            << withField(22, "Keller- und Erdgeschoss") << EmptyRow;
        QTest::newRow("case matters") << withField(23, "elektro") << EmptyRow;
        QTest::newRow("explanation cut to 30 characters")
            << withField(19, "Erläuterung mit einunddreißig!!")
            << withField(19, "Erläuterung mit einunddreißig!", EmptyRow);
    }
    void fillRow()
    {
        QFETCH(QString, text);
        QFETCH(QString, rowText);
        load({});
        const bool taken = window->insertRowFromText(0, text);
        QCOMPARE(taken ? window->rowText(0) : QString("refused"), rowText);
        QCOMPARE(tab()->rowCount(), int(taken));
    }

    void fillExistingRow()
    {
        load({QString("x;").repeated(27) + "y"});
        tab()->item(0, 1)->setText("  Haus A ");
        QVERIFY(window->rowText(0).startsWith("x;  Haus A ;")); // written as it stands
        QVERIFY(window->insertRowFromText(0, "a;b"));
        QVERIFY(!window->insertRowFromText(0, QString(28, ';')));
        QCOMPARE(rows(), QStringList {"a;b;" + QString("x;").repeated(18) + "---;x;---;---;---;---;x;y"});
        QCOMPARE(window->rowText(-1), QString());
        QCOMPARE(window->rowText(1), QString());
    }

    // Each drop-down offers the file format's vocabulary, and each entry
    // selects itself and is written back as it is.
    void dropDownVocabulary_data()
    {
        QTest::addColumn<int>("column");
        for (int column : {20, 22, 23, 24, 25})
            QTest::newRow(qPrintable(ColumnTitles.at(column))) << column;
    }
    void dropDownVocabulary()
    {
        QFETCH(int, column);
        load({});
        QVERIFY(window->insertRowFromText(0, ""));
        QVERIFY(window->insertRowFromText(0, withField(column, "")));
        auto *combo = qobject_cast<QComboBox *>(tab()->cellWidget(0, column));
        QStringList items;
        for (int i = 0; combo && i < combo->count(); ++i)
            items << combo->itemText(i);
        QCOMPARE(items, vocabulary(column));
        for (const QString &entry : vocabulary(column)) {
            QVERIFY(window->insertRowFromText(0, withField(column, entry)));
            QCOMPARE(window->rowText(0).section(';', column, column), entry);
        }
    }

    void editMarksDocument_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("typing in a plain cell") << 1 << "Plan A" << "Plan AXY";
        QTest::newRow("typing in the explanation field") << 19 << "Erste Ausgabe" << "Erste AusgabeXY";
        QTest::newRow("picking a floor twice") << 22 << "Erdgeschoss" << "Fundament";
    }
    void editMarksDocument()
    {
        QFETCH(int, column);
        QFETCH(QString, before);
        QFETCH(QString, after);
        load({RowA});
        auto edit = [&](const QString &key) {
            if (auto *combo = qobject_cast<QComboBox *>(tab()->cellWidget(0, column)))
                return QTest::keyClick(combo, Qt::Key_Down);
            QLineEdit *cellEditor = editor(0, column);
            QVERIFY(cellEditor);
            QTest::keyClicks(cellEditor, key);
            if (column != 19)
                QTest::keyClick(cellEditor, Qt::Key_Return);
        };
        edit("X");
        QTRY_COMPARE(window->windowTitle(), titleOf(file, true));
        // A further edit leaves the title alone.
        window->setWindowTitle("unverändert");
        edit("Y");
        QTRY_COMPARE(window->rowText(0).section(';', column, column), after);
        QCOMPARE(window->windowTitle(), QString("unverändert"));
        trigger(window.get(), "actionSpeichern");
        QCOMPARE(window->windowTitle(), titleOf(file));
        QCOMPARE(readFile(file), (QString(RowA).replace(before, after) + "\n").toUtf8());
    }

    // Neither a typed nor a pasted ";" or line break gets into a cell: the file
    // could not hold it.
    void editorsKeepOutSeparators_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("result");
        for (int column : {1, 19}) {
            const QByteArray where = column == 1 ? "plain cell: " : "explanation: ";
            QTest::newRow(where + "typed separator") << column << "a;b" << "" << "Plan Aab";
            for (const char *pasted : {"x;y", "x\ny", "x\ry"})
                QTest::newRow(where + "pasted " + QByteArray(pasted).toPercentEncoding())
                    << column << "" << pasted << "Plan A";
            QTest::newRow(where + "pasted comma and quotes")
                << column << "" << ", \"Nord\"" << "Plan A, \"Nord\"";
            QTest::newRow(where + "typed long text")
                << column << QString(40, 'x') << ""
                << (column == 19 ? "Plan A" + QString(24, 'x') : "Plan A" + QString(40, 'x'));
        }
    }
    void editorsKeepOutSeparators()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QString, result);
        load({QString(RowA).replace("Erste Ausgabe", "Plan A")});
        QLineEdit *cellEditor = editor(0, column);
        QVERIFY(cellEditor);
        QTest::keyClicks(cellEditor, typed);
        QGuiApplication::clipboard()->setText(pasted);
        if (!pasted.isEmpty())
            cellEditor->paste();
        QTest::keyClick(cellEditor, Qt::Key_Return);
        if (column != 19) // the in-place editor hands its text over as it closes
            QTRY_VERIFY(!tab()->indexWidget(tab()->model()->index(0, column)));
        QCOMPARE(window->rowText(0).section(';', column, column), result);
    }

    void rowCommands_data()
    {
        QTest::addColumn<QStringList>("document");
        QTest::addColumn<QString>("cell");      // typed into column 1 of the row, then saved
        QTest::addColumn<int>("row");           // right-clicked; -1: below the last row
        QTest::addColumn<QString>("clipboard"); // before the click
        QTest::addColumn<QString>("entry");     // picked; empty: menu dismissed
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("clipboardAfter");
        QTest::addColumn<bool>("marked");

        const QStringList ab = {RowA, RowB};
        const QString copy = "Kopieren", paste = "Einfügen", empty = "Leere Zeile einfügen",
                      remove = "Löschen";
        const QStringList all = {copy, paste, empty, remove}, noPaste = {copy, empty, remove};
        const auto add = [](const char *what, QStringList document, int row, QString clip,
                            QStringList offered, QString entry = {}, QStringList after = {},
                            bool marked = false, QString clipAfter = "same", QString cell = {}) {
            QTest::newRow(what) << document << cell << row << clip << entry << offered
                                << (entry.isEmpty() ? document : after)
                                << (clipAfter == "same" ? clip : clipAfter) << marked;
        };
        add("on a row, row on the clipboard", ab, 1, RowB, all);
        add("on a row, empty clipboard", ab, 0, "", noPaste);
        add("below the last row", ab, -1, RowA, {paste, empty});
        add("empty table", {}, -1, "", {empty});
        add("27 fields are no row", ab, 0, QString(26, ';'), noPaste);
        add("29 fields are no row", ab, 0, RowA + ";x", noPaste);
        add("tab-separated text is no row", ab, 0, QString(RowA).replace(';', '\t'), noPaste);
        add("a line with its line end is a row", ab, 0, RowA + "\r\n", all);
        add("a line break inside a field is no row", ab, 0,
            QString(RowA).replace("Plan A", "Plan\nA"), noPaste);
        add("empty row on row 0 becomes row 0", ab, 0, "", noPaste, empty, {EmptyRow, RowA, RowB},
            true);
        add("empty row below the last row is appended", ab, -1, "", {empty}, empty,
            {RowA, RowB, EmptyRow}, true);
        add("copy keeps blanks and is no change", ab, 1, "x", noPaste, copy,
            {RowA, QString(RowB).replace("Plan B", "  Plan B ")}, false,
            QString(RowB).replace("Plan B", "  Plan B "), "  Plan B ");
        add("copy of a row holding ';' clears the clipboard", {RowA}, 0, "vorher", noPaste, copy,
            {QString(RowA).replace("Plan A", "a;b")}, false, "", "a;b");
        add("paste on row 1 goes above it, trimmed", ab, 1, QString(RowB).replace(";", " ;  "), all,
            paste, {RowA, RowB, RowB}, true);
        add("paste below the last row is appended", {RowA}, -1, RowB, {paste, empty}, paste,
            {RowA, RowB}, true);
        add("delete", ab, 0, "", noPaste, remove, {RowB}, true);
    }
    void rowCommands()
    {
        QFETCH(QStringList, document);
        QFETCH(QString, cell);
        QFETCH(int, row);
        QFETCH(QString, clipboard);
        QFETCH(QString, entry);
        QFETCH(QStringList, offered);
        QFETCH(QStringList, after);
        QFETCH(QString, clipboardAfter);
        QFETCH(bool, marked);
        load(document);
        if (!cell.isEmpty()) {
            tab()->item(row, 1)->setText(cell);
            trigger(window.get(), "actionSpeichern");
        }
        QGuiApplication::clipboard()->setText(clipboard);
        // Well right of the row numbers: only the height picks the row.
        const int y = row < 0 ? tab()->viewport()->height() - 5
                              : tab()->rowViewportPosition(row) + tab()->rowHeight(row) / 2;
        QCOMPARE(rightClick(tab(), QPoint(500, y), entry), offered);
        QCOMPARE(rows(), after);
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboardAfter);
        QCOMPARE(window->windowTitle(), titleOf(file, marked));
    }

    // A long list opened from the menu: every editor whose cell is in sight
    // sits on its cell, the others are hidden, wherever the table is scrolled.
    void editorsFollowScrolling()
    {
        QStringList lines;
        for (int r = 0; r < 1500; ++r) {
            QStringList f = withField(0, QString::number(r)).split(';');
            f[19] = QString("Prüfung %1").arg(r);
            for (int c : {20, 22, 23, 24, 25})
                f[c] = vocabulary(c).at(r % vocabulary(c).size());
            lines << f.join(';');
        }
        load({RowA});
        QList<int> busy;
        connect(tab(), &QTableWidget::cellChanged, this,
                [&busy] { busy << bool(QGuiApplication::overrideCursor()); });
        expectFile(writeFile(dir.filePath("lang.csv"), (lines.join('\n') + "\n").toUtf8()));
        trigger(window.get(), "actionOeffnen");
        disconnect(tab(), nullptr, this, nullptr);
        QVERIFY(!busy.isEmpty() && !busy.contains(false)); // a busy cursor while filling
        window->resize(1200, 700);
        QScrollBar *down = tab()->verticalScrollBar(), *across = tab()->horizontalScrollBar();
        const auto checkEditorsInSight = [&] {
            int shown = 0;
            for (int r = 0; r < tab()->rowCount(); ++r) {
                for (int c : {19, 20, 22, 23, 24, 25}) {
                    QWidget *editor = tab()->cellWidget(r, c);
                    const QRect cell = tab()->visualRect(tab()->model()->index(r, c));
                    const bool inSight = cell.intersects(tab()->viewport()->rect());
                    QVERIFY2(editor->isVisible() == inSight, qPrintable(QString("row %1").arg(r)));
                    if (inSight) {
                        QCOMPARE(editor->parentWidget(), tab()->viewport());
                        QVERIFY(cell.contains(editor->geometry()));
                        ++shown;
                    }
                }
            }
            QVERIFY(shown >= 6);
        };
        across->setValue(across->maximum());
        QTRY_VERIFY(tab()->cellWidget(0, 25)->isVisible());
        for (int position : {0, down->maximum() / 2, down->maximum() / 2 + down->pageStep(),
                             down->maximum(), 0}) {
            down->setValue(position);
            QCoreApplication::processEvents();
            checkEditorsInSight();
        }
        // Rows inserted and removed above keep the editors on their cells.
        down->setValue(down->maximum());
        tab()->insertRow(0);
        window->insertRowFromText(0, RowA);
        tab()->removeRow(5);
        QCoreApplication::processEvents();
        checkEditorsInSight();
        trigger(window.get(), "actionSpeichern");
        lines.insert(0, RowA);
        lines.removeAt(5);
        QCOMPARE(readFile(dir.filePath("lang.csv")), (lines.join('\n') + "\n").toUtf8());
    }
};

QTEST_MAIN(TestTable)
#include "tst_table.moc"
