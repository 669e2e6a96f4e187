// Editing cells as a user does: typing into plain cells and the line editor,
// picking drop-down entries, and what that does to the document's title.
#include "TestSupport.h"
#include "VorlanCSV.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestSupport;

class TestEditing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void editMarksTitleOnce_data();
    void editMarksTitleOnce();
    void editorsKeepOutSeparators_data();
    void editorsKeepOutSeparators();
    void lineEditorStopsAt30();

private:
    QTableWidget *tab() const { return table(window.get()); }
    QLineEdit *openPlainEditor(int row, int column);
    // Return ends the edit; the table takes the text over once the editor
    // has closed.
    static void commit(QLineEdit *editor)
    {
        QPointer<QLineEdit> open(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(waitUntil([&] { return !open || !open->isVisible(); }));
    }

    QTemporaryDir dir;
    QString file;
    std::unique_ptr<VorlanCSV> window;
};

void TestEditing::initTestCase()
{
    isolateSettings();
    file = writeFile(dir.filePath("plan.csv"),
                     "1;Plan;a.pdf;;;;;;;;;;;;;;;Grundriss;12;Erste Ausgabe;A1;Firma;Erdgeschoss;"
                     "Elektro;1:50;Grundriss;T-4;PDF\n");
}

void TestEditing::init()
{
    window = openWindow(file);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + file);
}

void TestEditing::cleanup()
{
    discardWindow(window);
    cancelPendingModalActions();
}

QLineEdit *TestEditing::openPlainEditor(int row, int column)
{
    tab()->setCurrentCell(row, column);
    tab()->editItem(tab()->item(row, column));
    // The table's own in-place editor, not one of the cell widgets.
    QLineEdit *editor = nullptr;
    waitUntil([&] {
        const auto edits = tab()->viewport()->findChildren<QLineEdit *>();
        for (QLineEdit *edit : edits) {
            if (edit->isVisible() && edit != tab()->cellWidget(row, 19)
                && edit->metaObject()->className() == QByteArray("QExpandingLineEdit"))
                editor = edit;
        }
        return editor != nullptr;
    });
    return editor;
}

void TestEditing::editMarksTitleOnce_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("typing in a plain cell") << "plain";
    QTest::newRow("typing in the explanation field") << "line";
    QTest::newRow("picking a floor") << "combo";
}

void TestEditing::editMarksTitleOnce()
{
    QFETCH(QString, how);
    const QString marked = "VorlanCSV - " + file + " *";
    auto edit = [&](const QString &keys) {
        if (how == "plain") {
            QLineEdit *editor = openPlainEditor(0, 1);
            QVERIFY(editor);
            editor->end(false);
            QTest::keyClicks(editor, keys);
            commit(editor);
        } else if (how == "line") {
            QTest::keyClicks(tab()->cellWidget(0, 19), keys);
        } else {
            auto *combo = qobject_cast<QComboBox *>(tab()->cellWidget(0, 22));
            QTest::keyClick(combo, Qt::Key_Down);
        }
    };
    edit("X");
    QCOMPARE(window->windowTitle(), marked);
    edit("Y");
    QCOMPARE(window->windowTitle(), marked);

    const QString text = window->rowText(0);
    if (how == "plain")
        QCOMPARE(text.split(';').at(1), QString("PlanXY"));
    else if (how == "line")
        QCOMPARE(text.split(';').at(19), QString("Erste AusgabeXY"));
    else
        QCOMPARE(text.split(';').at(22), QString("Fundament")); // two entries below

    // Saving clears the mark; the file holds the edit.
    window->findChild<QAction *>("actionSpeichern")->trigger();
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + file);
    QCOMPARE(readFile(file), (text + "\n").toUtf8());
    writeFile(file,
              (QString(text)
                   .replace("PlanXY", "Plan")
                   .replace("AusgabeXY", "Ausgabe")
                   .replace("Fundament", "Erdgeschoss")
               + "\n")
                  .toUtf8());
}

void TestEditing::editorsKeepOutSeparators_data()
{
    QTest::addColumn<int>("column"); // 1: plain cell, 19: explanation field
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("result");
    for (int column : {1, 19}) {
        const QByteArray where = column == 1 ? "plain cell: " : "explanation: ";
        QTest::newRow(where + "typed separator is refused") << column << "a;b"
                                                            << ""
                                                            << "Planab";
        QTest::newRow(where + "pasted separator is refused") << column << ""
                                                             << "x;y"
                                                             << "Plan";
        QTest::newRow(where + "pasted line break is refused") << column << ""
                                                              << "x\ny"
                                                              << "Plan";
        QTest::newRow(where + "pasted text without either") << column << ""
                                                            << "Halle 2, \"Nord\""
                                                            << "PlanHalle 2, \"Nord\"";
    }
}

void TestEditing::editorsKeepOutSeparators()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, result);
    QLineEdit *editor = qobject_cast<QLineEdit *>(tab()->cellWidget(0, 19));
    if (column == 19) {
        editor->setText("Plan");
    } else {
        tab()->item(0, 1)->setText("Plan");
        editor = openPlainEditor(0, 1);
        QVERIFY(editor);
        editor->end(false);
    }
    QTest::keyClicks(editor, typed);
    if (!pasted.isEmpty()) {
        QGuiApplication::clipboard()->setText(pasted);
        editor->paste();
    }
    if (column == 1)
        commit(editor);
    QCOMPARE(column == 1 ? tab()->item(0, 1)->text() : editor->text(), result);
    QCOMPARE(window->splitRowText(window->rowText(0)).size(), 28);
}

void TestEditing::lineEditorStopsAt30()
{
    auto *editor = qobject_cast<QLineEdit *>(tab()->cellWidget(0, 19));
    editor->clear();
    QTest::keyClicks(editor, QString("x").repeated(35));
    QCOMPARE(editor->text(), QString("x").repeated(30));
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
