// The column selection dialog of the print command: its form, the default
// marking, the two marking buttons, the ways to end it and the flags it
// reads back.
#include "TestSupport.h"

#include "SelectCol.h"
#include "VorlanCSV.h" // the main window's form, for the header texts

#include <QCheckBox>
#include <QGridLayout>
#include <QMainWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <algorithm>

using namespace TestSupport;

class TestSelectCol : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void form();
    void defaultMarksOfProgramHeaders();
    void defaultRule_data();
    void defaultRule();
    void markingButtons_data();
    void markingButtons();
    void readColumnFlagsByObjectName();
    void endings_data();
    void endings();

private:
    static QCheckBox *box(SelectCol &dialog, int number);
    static QList<int> checkedBoxes(SelectCol &dialog);

    QStringList programTitles;
};

void TestSelectCol::initTestCase()
{
    // The header texts exactly as the main window's form gives them.
    QMainWindow window;
    Ui::VorlanCSVClass ui;
    ui.setupUi(&window);
    for (int c = 0; c < ui.tab->columnCount(); ++c)
        programTitles << ui.tab->horizontalHeaderItem(c)->text();
    QCOMPARE(programTitles.size(), 28);
}

void TestSelectCol::cleanup()
{
    cancelPendingModalActions();
}

QCheckBox *TestSelectCol::box(SelectCol &dialog, int number)
{
    return dialog.columns->findChild<QCheckBox *>(QString("checkBox_%1").arg(number),
                                                  Qt::FindDirectChildrenOnly);
}

QList<int> TestSelectCol::checkedBoxes(SelectCol &dialog)
{
    QList<int> numbers;
    for (int n = 1; n <= 28; ++n) {
        if (box(dialog, n)->isChecked())
            numbers << n;
    }
    return numbers;
}

void TestSelectCol::form()
{
    SelectCol dialog(programTitles, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QCOMPARE(dialog.objectName(), QString("SelectCol"));
    QCOMPARE(dialog.windowTitle(), QString("Druckvorbereitung"));
    QCOMPARE(dialog.label->text(), QString("Überschrift"));
    QVERIFY(dialog.title->text().isEmpty());
    QCOMPARE(dialog.columns->title(), QString("Spalten auswählen"));
    QCOMPARE(dialog.setDefault->text(), QString("Default-Markierungen setzen"));
    QCOMPARE(dialog.clearAll->text(), QString("Alle Markierungen entfernen"));
    QCOMPARE(dialog.pushButton->text(), QString("Vorschau.."));
    QCOMPARE(dialog.pushButton_2->text(), QString("Cancel"));
    QVERIFY(dialog.pushButton->isDefault());
    QVERIFY(!dialog.pushButton_2->isDefault());

    // Top to bottom: heading, columns, marking buttons, dialog buttons.
    QCOMPARE(dialog.verticalLayout->count(), 4);
    QCOMPARE(dialog.verticalLayout->itemAt(0)->layout(), dialog.horizontalLayout_3);
    QCOMPARE(dialog.verticalLayout->itemAt(1)->widget(), dialog.columns);
    QCOMPARE(dialog.verticalLayout->itemAt(2)->layout(), dialog.horizontalLayout_2);
    QCOMPARE(dialog.verticalLayout->itemAt(3)->layout(), dialog.horizontalLayout);
    QCOMPARE(dialog.columns->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);

    QCOMPARE(dialog.horizontalLayout_2->count(), 5);
    QVERIFY(dialog.horizontalLayout_2->itemAt(0)->spacerItem());
    QCOMPARE(dialog.horizontalLayout_2->itemAt(1)->widget(), dialog.setDefault);
    QVERIFY(dialog.horizontalLayout_2->itemAt(2)->spacerItem());
    QCOMPARE(dialog.horizontalLayout_2->itemAt(3)->widget(), dialog.clearAll);
    QVERIFY(dialog.horizontalLayout_2->itemAt(4)->spacerItem());
    QCOMPARE(dialog.horizontalLayout->count(), 3);
    QVERIFY(dialog.horizontalLayout->itemAt(0)->spacerItem());
    QCOMPARE(dialog.horizontalLayout->itemAt(1)->widget(), dialog.pushButton);
    QCOMPARE(dialog.horizontalLayout->itemAt(2)->widget(), dialog.pushButton_2);
    // The dialog buttons sit at the right edge.
    QVERIFY(dialog.pushButton_2->geometry().right() > dialog.width() - 30);

    // 28 boxes, 7 rows of 4, numbered row by row and labelled with the
    // header text of their column.
    QCOMPARE(dialog.columns->findChildren<QCheckBox *>().size(), 28);
    for (int n = 1; n <= 28; ++n) {
        QCheckBox *b = box(dialog, n);
        QVERIFY2(b, qPrintable(QString("checkBox_%1").arg(n)));
        QVERIFY(b->isVisible());
        QVERIFY(b->isEnabled());
        QCOMPARE(b->text(), programTitles.at(n - 1));
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        dialog.gridLayout->getItemPosition(dialog.gridLayout->indexOf(b), &row, &column, &rowSpan,
                                           &columnSpan);
        QCOMPARE(row, (n - 1) / 4);
        QCOMPARE(column, (n - 1) % 4);
        QCOMPARE(rowSpan, 1);
        QCOMPARE(columnSpan, 1);
    }
}

void TestSelectCol::defaultMarksOfProgramHeaders()
{
    SelectCol dialog(programTitles, nullptr);
    const QList<int> expected = {3, 18, 19, 20, 21, 22, 23, 24, 25, 26};
    QCOMPARE(checkedBoxes(dialog), expected);
}

void TestSelectCol::defaultRule_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("marked");

    QTest::newRow("three characters stay unmarked") << "abc" << false;
    QTest::newRow("four characters are marked") << "abcd" << true;
    QTest::newRow("three umlauts stay unmarked") << "äöü" << false;
    QTest::newRow("empty title stays unmarked") << "" << false;
    QTest::newRow("listed ExportID stays unmarked") << "ExportID" << false;
    QTest::newRow("listed Techn.Obj. stays unmarked") << "Techn.Obj." << false;
    QTest::newRow("listed DTYPE stays unmarked") << "DTYPE" << false;
    QTest::newRow("listed name in other case is marked") << "dtype" << true;
    QTest::newRow("listed name with a blank is marked") << "DokuNr " << true;
    QTest::newRow("part of a listed name is marked") << "Verzeich" << true;
}

void TestSelectCol::defaultRule()
{
    QFETCH(QString, title);
    QFETCH(bool, marked);

    // The tested title stands in every column, so the rule is seen through
    // every box, not only one place in the grid.
    QStringList titles;
    for (int c = 0; c < 28; ++c)
        titles << title;
    SelectCol dialog(titles, nullptr);
    for (int n = 1; n <= 28; ++n) {
        QCOMPARE(box(dialog, n)->text(), title);
        QCOMPARE(box(dialog, n)->isChecked(), marked);
    }
}

void TestSelectCol::markingButtons_data()
{
    QTest::addColumn<QList<int>>("toggled");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<int>>("expected");

    const QList<int> defaults = {3, 18, 19, 20, 21, 22, 23, 24, 25, 26};
    QTest::newRow("clear all right after opening") << QList<int>() << "clearAll" << QList<int>();
    QTest::newRow("clear all after checking more boxes")
        << QList<int> {1, 2, 27, 28} << "clearAll" << QList<int>();
    QTest::newRow("default undoes checks and unchecks")
        << QList<int> {1, 3, 18, 28} << "setDefault" << defaults;
    QTest::newRow("default after every box toggled") << [] {
        QList<int> all;
        for (int n = 1; n <= 28; ++n)
            all << n;
        return all;
    }() << "setDefault" << defaults;
}

void TestSelectCol::markingButtons()
{
    QFETCH(QList<int>, toggled);
    QFETCH(QString, button);
    QFETCH(QList<int>, expected);

    SelectCol dialog(programTitles, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (int n : toggled)
        QTest::keyClick(box(dialog, n), Qt::Key_Space);
    for (int n : toggled)
        QVERIFY(box(dialog, n)->isChecked() != (n == 3 || (n >= 18 && n <= 26)));

    QTest::mouseClick(dialog.findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(checkedBoxes(dialog), expected);

    // Pressing again changes nothing.
    QTest::mouseClick(dialog.findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(checkedBoxes(dialog), expected);
}

void TestSelectCol::readColumnFlagsByObjectName()
{
    SelectCol dialog(programTitles, nullptr);
    dialog.on_clearAll_clicked();
    const QList<int> marked = {1, 2, 7, 28};
    for (int n : marked)
        box(dialog, n)->setChecked(true);

    // Reverse the order of the group's children: the number in the object
    // name decides the column, not the order.
    QList<QCheckBox *> boxes;
    for (int n = 1; n <= 28; ++n)
        boxes << box(dialog, n);
    for (auto it = boxes.rbegin(); it != boxes.rend(); ++it) {
        (*it)->setParent(nullptr);
        (*it)->setParent(dialog.columns);
    }
    QCOMPARE(qobject_cast<QCheckBox *>(*std::find_if(
                 dialog.columns->children().cbegin(), dialog.columns->children().cend(),
                 [](QObject *o) { return qobject_cast<QCheckBox *>(o); })),
             box(dialog, 28));

    bool flags[28];
    std::fill(std::begin(flags), std::end(flags), true);
    dialog.readColumnFlags(flags);
    for (int c = 0; c < 28; ++c)
        QVERIFY2(flags[c] == marked.contains(c + 1), qPrintable(QString("column %1").arg(c)));

    // All 28 entries are written, whatever they held.
    dialog.on_clearAll_clicked();
    std::fill(std::begin(flags), std::end(flags), true);
    dialog.readColumnFlags(flags);
    QVERIFY(std::none_of(std::begin(flags), std::end(flags), [](bool f) { return f; }));
    QCOMPARE(checkedBoxes(dialog), QList<int>());
}

void TestSelectCol::endings_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");

    QTest::newRow("Vorschau.. accepts") << "preview" << int(QDialog::Accepted);
    QTest::newRow("Enter in the heading accepts") << "enter" << int(QDialog::Accepted);
    QTest::newRow("Cancel rejects") << "cancel" << int(QDialog::Rejected);
    QTest::newRow("Escape rejects") << "escape" << int(QDialog::Rejected);
    QTest::newRow("closing the window rejects") << "close" << int(QDialog::Rejected);
}

void TestSelectCol::endings()
{
    QFETCH(QString, how);
    QFETCH(int, result);

    QWidget parent;
    auto *dialog = new SelectCol(programTitles, &parent);
    dialog->title->setText("/daten/plan.csv");
    bool driven = false;
    onNextModalOf<SelectCol>([&](SelectCol *shown) {
        driven = true;
        if (how == "preview") {
            QTest::mouseClick(shown->pushButton, Qt::LeftButton);
        } else if (how == "enter") {
            shown->title->setFocus();
            QTest::keyClicks(shown->title, "x");
            QTest::keyClick(shown->title, Qt::Key_Return);
        } else if (how == "cancel") {
            QTest::mouseClick(shown->pushButton_2, Qt::LeftButton);
        } else if (how == "escape") {
            QTest::keyClick(shown, Qt::Key_Escape);
        } else {
            shown->close();
        }
    });
    const int ended = dialog->exec();
    QVERIFY(driven);
    QCOMPARE(ended, result);
    QCOMPARE(dialog->parentWidget(), &parent);
    if (how == "enter")
        QCOMPARE(dialog->title->text(), QString("/daten/plan.csvx"));
    delete dialog;
}

QTEST_MAIN(TestSelectCol)
#include "tst_selectcol.moc"
