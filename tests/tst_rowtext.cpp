// The row text form and the filling of rows: splitting, trimming, the
// 28-field limit, the drop-down vocabularies and the 30-character field.
#include "ColumnCatalog.h"
#include "TestSupport.h"
#include "VorlanCSV.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestSupport;

class TestRowText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { table(window.get())->setRowCount(0); }
    void cleanupTestCase() { discardWindow(window); }

    void splitRowText_data();
    void splitRowText();
    void fillRow_data();
    void fillRow();
    void fillingInPlace();
    void everyEntrySelectsItself_data();
    void everyEntrySelectsItself();

private:
    QTemporaryDir dir;
    std::unique_ptr<VorlanCSV> window;
};

// A row of 28 fields, empty but for `column`.
static QString withField(int column, const QString &value)
{
    QStringList fields = QString(";").repeated(27).split(';');
    fields[column] = value;
    return fields.join(';');
}

void TestRowText::initTestCase()
{
    isolateSettings();
    window = openWindow(writeFile(dir.filePath("empty.csv"), QByteArray()));
    QVERIFY(window);
}

void TestRowText::splitRowText_data()
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

void TestRowText::splitRowText()
{
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    QCOMPARE(window->splitRowText(text), fields);
}

void TestRowText::fillRow_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("rowText"); // "refused" when the row is not taken
    const QString empty = QString(";").repeated(20) + "---;;---;---;---;---;;";
    QTest::newRow("empty row: drop-downs show ---, 42 characters")
        << ";;;;;;;;;;;;;;;;;;;;;;;;;;" << empty;
    QTest::newRow("28 fields") << withField(27, "PDF") << QString(empty).append("PDF");
    QTest::newRow("29 fields are refused") << withField(27, "PDF") + ";x"
                                           << "refused";
    QTest::newRow("short text fills its columns only, no editors after")
        << "0;1;2;3;4;5;6;7;8;9"
        << "0;1;2;3;4;5;6;7;8;9" + QString(";").repeated(18);
    QTest::newRow("scale with blanks is trimmed, then chosen")
        << withField(24, " 1:50 ") << QString(";").repeated(20) + "---;;---;---;1:50;---;;";
    QTest::newRow("value of another list is not chosen") << withField(20, "1:50") << empty;
    QTest::newRow("near spelling is no entry") << withField(22, "Keller- und Erdgeschoss") << empty;
    QTest::newRow("case matters") << withField(23, "elektro") << empty;
    QTest::newRow("explanation cut to 30 characters")
        << withField(19, "Erläuterung mit einunddreißig!!")
        << QString(empty).replace(19, 0, "Erläuterung mit einunddreißig!");
}

void TestRowText::fillRow()
{
    QFETCH(QString, text);
    QFETCH(QString, rowText);
    QTableWidget *tab = table(window.get());
    const bool taken = window->insertRowFromText(0, text);
    QCOMPARE(taken ? window->rowText(0) : QString("refused"), rowText);
    QCOMPARE(tab->rowCount(), taken ? 1 : 0);
    const int fields = window->splitRowText(text).size();
    QCOMPARE(tab->item(0, 27) != nullptr, taken && fields == 28);
    QCOMPARE(tab->cellWidget(0, 20) != nullptr, taken && fields > 20);
    if (!taken || fields < 28)
        return;
    QVERIFY(qobject_cast<QLineEdit *>(tab->cellWidget(0, 19)));
    QCOMPARE(qobject_cast<QLineEdit *>(tab->cellWidget(0, 19))->maxLength(), 30);
    for (int c : {20, 22, 23, 24, 25})
        QVERIFY(!qobject_cast<QComboBox *>(tab->cellWidget(0, c))->isEditable());
}

void TestRowText::fillingInPlace()
{
    QVERIFY(window->insertRowFromText(0, QString("x;").repeated(27) + "y"));
    table(window.get())->item(0, 1)->setText("  Haus A ");
    QVERIFY(window->rowText(0).startsWith("x;  Haus A ;")); // written as it stands

    QVERIFY(window->insertRowFromText(0, "a;b"));
    QVERIFY(!window->insertRowFromText(0, QString(";").repeated(28)));
    QCOMPARE(window->rowText(0), "a;b;" + QString("x;").repeated(18) + "---;x;---;---;---;---;x;y");
    QCOMPARE(window->rowText(-1), QString());
    QCOMPARE(window->rowText(1), QString());
}

void TestRowText::everyEntrySelectsItself_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("last");
    QTest::newRow("Format") << 20 << 11 << "A4";
    QTest::newRow("Geschoß") << 22 << 46 << "Z1-Zwischengeschoss";
    QTest::newRow("Gewerk") << 23 << 19 << "Tiefbau";
    QTest::newRow("Maßstab") << 24 << 25 << "1:10000";
    QTest::newRow("Planart") << 25 << 39 << "Verteiler";
}

void TestRowText::everyEntrySelectsItself()
{
    QFETCH(int, column);
    QFETCH(int, count);
    QFETCH(QString, last);
    QVERIFY(window->insertRowFromText(0, withField(column, last)));
    auto *combo = qobject_cast<QComboBox *>(table(window.get())->cellWidget(0, column));
    QCOMPARE(combo->count(), count);
    QCOMPARE(combo->itemText(0), QString("---"));
    QCOMPARE(combo->currentIndex(), count - 1);
    for (int i = 0; i < count; ++i) {
        QVERIFY(window->insertRowFromText(0, withField(column, combo->itemText(i))));
        auto *filled = qobject_cast<QComboBox *>(table(window.get())->cellWidget(0, column));
        QCOMPARE(filled->currentIndex(), i);
        QCOMPARE(window->rowText(0).split(';').at(column), filled->itemText(i));
    }
}

QTEST_MAIN(TestRowText)
#include "tst_rowtext.moc"
