// The column dialog of the print command: default marks, marking buttons and
// the flags read back (its endings are driven in tst_printing).
#include "TestSupport.h"

#include "SelectCol.h"

#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

using namespace TestSupport;

namespace {

const QList<int> DefaultBoxes = {3, 18, 19, 20, 21, 22, 23, 24, 25, 26};

QCheckBox *box(SelectCol &dialog, int number)
{
    return dialog.columns->findChild<QCheckBox *>(QString("checkBox_%1").arg(number));
}

QList<int> checkedBoxes(SelectCol &dialog)
{
    QList<int> numbers;
    for (int n = 1; n <= 28; ++n) {
        if (box(dialog, n)->isChecked())
            numbers << n;
    }
    return numbers;
}

} // namespace

class TestSelectCol : public QObject
{
    Q_OBJECT

private slots:
    void defaultMarks_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QList<int>>("marked");

        // The rule seen through every box: the title stands in all 28.
        const auto all = [](const QString &title) {
            return QStringList(QVector<QString>(28, title).toList());
        };
        QList<int> every;
        for (int n = 1; n <= 28; ++n)
            every << n;
        QTest::newRow("the program's headers: 3 and 18 to 26, listed names unmarked")
            << programColumnTitles() << DefaultBoxes;
        QTest::newRow("three characters stay unmarked") << all("abc") << QList<int>();
        QTest::newRow("four characters are marked") << all("abcd") << every;
        QTest::newRow("three umlauts count as three") << all("äöü") << QList<int>();
        QTest::newRow("a listed name in other case is marked") << all("dtype") << every;
        QTest::newRow("part of a listed name is marked") << all("Verzeich") << every;
    }

    void defaultMarks()
    {
        QFETCH(QStringList, titles);
        QFETCH(QList<int>, marked);

        SelectCol dialog(titles, nullptr);
        for (int n = 1; n <= 28; ++n)
            QCOMPARE(box(dialog, n)->text(), titles.at(n - 1));
        QCOMPARE(checkedBoxes(dialog), marked);
    }

    void markingButtons_data()
    {
        QTest::addColumn<QList<int>>("toggled");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QList<int>>("expected");

        QTest::newRow("clearing after checking more boxes")
            << QList<int> {1, 2, 27, 28} << "clearAll" << QList<int>();
        QTest::newRow("defaults undo checks and unchecks")
            << QList<int> {1, 3, 18, 28} << "setDefault" << DefaultBoxes;
    }

    // Also reads the flags back, with the boxes in reverse order among the
    // children: the number in the object name decides the column.
    void markingButtons()
    {
        QFETCH(QList<int>, toggled);
        QFETCH(QString, button);
        QFETCH(QList<int>, expected);

        SelectCol dialog(programColumnTitles(), nullptr);
        for (int n = 28; n >= 1; --n) {
            QCheckBox *moved = box(dialog, n);
            moved->setParent(nullptr);
            moved->setParent(dialog.columns);
        }
        QCOMPARE(dialog.columns->findChildren<QCheckBox *>().first(), box(dialog, 28));
        for (int n : toggled)
            box(dialog, n)->click();
        QVERIFY(checkedBoxes(dialog) != expected);
        dialog.findChild<QPushButton *>(button)->click();
        QCOMPARE(checkedBoxes(dialog), expected);

        bool flags[28];
        std::fill(std::begin(flags), std::end(flags), true);
        dialog.readColumnFlags(flags);
        for (int c = 0; c < 28; ++c)
            QVERIFY2(flags[c] == expected.contains(c + 1), qPrintable(QString("column %1").arg(c)));
    }
};

QTEST_MAIN(TestSelectCol)
#include "tst_selectcol.moc"
