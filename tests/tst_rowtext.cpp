// The row text form and the filling of rows: splitting, trimming, the
// 28-field limit, the drop-down vocabularies and the 30-character field.
#include "TestSupport.h"
#include "VorlanCSV.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestSupport;

static QStringList emptyFields()
{
    return QString(";").repeated(27).split(';');
}

class TestRowText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void splitRowText_data();
    void splitRowText();
    void rowTextOutsideTable();

    void emptyRow();
    void fieldLimit_data();
    void fieldLimit();
    void dropDownChoice_data();
    void dropDownChoice();
    void vocabulary_data();
    void vocabulary();
    void lineEditorCutsAt30();
    void shortTextFillsFirstColumns();
    void blanksKeptOnTheWayOut();
    void fillingExistingRowKeepsOtherCells();

private:
    QTableWidget *tab() const { return table(window.get()); }
    QString appendRow(const QString &text)
    {
        const int row = tab()->rowCount();
        if (!window->insertRowFromText(row, text))
            return "refused";
        return window->rowText(row);
    }

    QTemporaryDir dir;
    std::unique_ptr<VorlanCSV> window;
};

void TestRowText::initTestCase()
{
    isolateSettings();
    window = openWindow(writeFile(dir.filePath("empty.csv"), QByteArray()));
    QVERIFY(window);
}

void TestRowText::init()
{
    tab()->setRowCount(0);
}

void TestRowText::cleanupTestCase()
{
    discardWindow(window);
}

void TestRowText::splitRowText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("empty text is one empty field") << "" << QStringList {""};
    QTest::newRow("blanks only are one empty field") << "   \t " << QStringList {""};
    QTest::newRow("two separators, three empty fields") << ";;" << QStringList {"", "", ""};
    QTest::newRow("blanks go with their neighbours") << " ; a ;" << QStringList {"", "a", ""};
    QTest::newRow("inner blanks stay") << "Plan  A ;\tB 2\r" << QStringList {"Plan  A", "B 2"};
    QTest::newRow("commas and quotes are plain text")
        << "\"a,b\";'c'" << QStringList {"\"a,b\"", "'c'"};
    QTest::newRow("umlauts") << "Meß-Anhänger ; Größe" << QStringList {"Meß-Anhänger", "Größe"};
}

void TestRowText::splitRowText()
{
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    QCOMPARE(window->splitRowText(text), fields);
}

void TestRowText::rowTextOutsideTable()
{
    QCOMPARE(appendRow("a;b"), "a;b" + QString(";").repeated(26));
    QCOMPARE(window->rowText(-1), QString());
    QCOMPARE(window->rowText(tab()->rowCount()), QString());
}

void TestRowText::emptyRow()
{
    const QString text = appendRow(";;;;;;;;;;;;;;;;;;;;;;;;;;");
    QCOMPARE(text, QString(";").repeated(20) + "---;;---;---;---;---;;");
    QCOMPARE(text.size(), 42);
    QVERIFY(tab()->item(0, 0));
    QVERIFY(tab()->item(0, 26));
    QVERIFY(!tab()->item(0, 27) && !tab()->cellWidget(0, 27));
    QVERIFY(qobject_cast<QLineEdit *>(tab()->cellWidget(0, 19)));
    for (int c : {20, 22, 23, 24, 25})
        QVERIFY(qobject_cast<QComboBox *>(tab()->cellWidget(0, c)));
}

void TestRowText::fieldLimit_data()
{
    QTest::addColumn<int>("fields");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("1 field") << 1 << true;
    QTest::newRow("28 fields") << 28 << true;
    QTest::newRow("29 fields") << 29 << false;
    QTest::newRow("40 fields") << 40 << false;
}

void TestRowText::fieldLimit()
{
    QFETCH(int, fields);
    QFETCH(bool, accepted);
    window->insertRowFromText(0, "keep");
    QStringList parts;
    for (int i = 0; i < fields; ++i)
        parts << QString::number(i);
    const QString text = parts.join(';');

    // Appending and filling in place behave alike.
    QCOMPARE(window->insertRowFromText(1, text), accepted);
    QCOMPARE(tab()->rowCount(), accepted ? 2 : 1);
    QCOMPARE(window->insertRowFromText(0, text), accepted);
    QCOMPARE(cellText(tab(), 0, 0), QString(accepted ? "0" : "keep"));
}

void TestRowText::dropDownChoice_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("shown");
    QTest::newRow("scale with blanks is trimmed first") << 24 << " 1:50 "
                                                        << "1:50";
    QTest::newRow("scale not in the list") << 24 << "1:33"
                                           << "---";
    QTest::newRow("scale in the format column") << 20 << "1:50"
                                                << "---";
    QTest::newRow("empty field") << 22 << ""
                                 << "---";
    QTest::newRow("case matters") << 23 << "elektro"
                                  << "---";
    QTest::newRow("blank before m is another entry") << 22 << "Ebene +7,00 m"
                                                     << "Ebene +7,00 m";
    QTest::newRow("near spelling is not an entry") << 22 << "Keller- und Erdgeschoss"
                                                   << "---";
    QTest::newRow("umlaut entry") << 22 << "Meß-Anhänger"
                                  << "Meß-Anhänger";
    QTest::newRow("longest trade") << 23 << "Kälte mit Lüftung und Heizung"
                                   << "Kälte mit Lüftung und Heizung";
    QTest::newRow("plan type") << 25 << "Geländeschnitt"
                               << "Geländeschnitt";
    QTest::newRow("format") << 20 << ">A4"
                            << ">A4";
}

void TestRowText::dropDownChoice()
{
    QFETCH(int, column);
    QFETCH(QString, field);
    QFETCH(QString, shown);
    QStringList fields = emptyFields();
    fields[column] = field;
    const QString text = appendRow(fields.join(';'));
    QCOMPARE(cellText(tab(), 0, column), shown);
    QCOMPARE(text.split(';').at(column), shown); // what a save writes
}

void TestRowText::vocabulary_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("sample"); // index, text, index, text, ...
    QTest::newRow("Format") << 20 << 11 << QStringList {"0", "---", "1", ">A0", "10", "A4"};
    QTest::newRow("Geschoß") << 22 << 46 << QStringList {"7",  "Buehne",
                                                         "13", "Ebene +7,00m",
                                                         "14", "Ebene +7,00 m",
                                                         "35", "Keller-und Erdgeschoss",
                                                         "22", "Erd- Dachgeschoss",
                                                         "39", "Meß-Anhänger",
                                                         "40", "Meß-Lkw",
                                                         "44", "Z2-Zwischengeschoss",
                                                         "45", "Z1-Zwischengeschoss"};
    QTest::newRow("Gewerk") << 23 << 19 << QStringList {"4",  "Gebäudeautomation",
                                                        "9",  "Kälte mit Lüftung und Heizung",
                                                        "15", "RWA-Anlagen",
                                                        "18", "Tiefbau"};
    QTest::newRow("Maßstab") << 24 << 25 << QStringList {"4", "1:10", "5",  "1:12,5",
                                                         "6", "1:20", "24", "1:10000"};
    QTest::newRow("Planart") << 25 << 39
                             << QStringList {"2",  "Brandabschnitt", "3",  "Blitzschutz",
                                             "20", "Geländeschnitt", "31", "Sanitärabwasser",
                                             "38", "Verteiler"};
}

void TestRowText::vocabulary()
{
    QFETCH(int, column);
    QFETCH(int, count);
    QFETCH(QStringList, sample);
    appendRow(QString(";").repeated(27));
    auto *combo = qobject_cast<QComboBox *>(tab()->cellWidget(0, column));
    QVERIFY(combo);
    QCOMPARE(combo->count(), count);
    QCOMPARE(combo->itemText(0), QString("---"));
    QVERIFY(!combo->isEditable());
    for (int i = 0; i < sample.size(); i += 2)
        QCOMPARE(combo->itemText(sample.at(i).toInt()), sample.at(i + 1));

    // Every entry survives a trip through the row text and selects itself.
    for (int i = 0; i < combo->count(); ++i) {
        QStringList fields = emptyFields();
        fields[column] = combo->itemText(i);
        QVERIFY(window->insertRowFromText(1, fields.join(';')));
        QCOMPARE(cellText(tab(), 1, column), combo->itemText(i));
    }
}

void TestRowText::lineEditorCutsAt30()
{
    QStringList fields = emptyFields();
    fields[19] = "Erläuterung mit einunddreißig!!";
    QCOMPARE(fields[19].size(), 31);
    const QString text = appendRow(fields.join(';'));
    QCOMPARE(text.split(';').at(19), fields[19].left(30));
    auto *edit = qobject_cast<QLineEdit *>(tab()->cellWidget(0, 19));
    QVERIFY(edit);
    QCOMPARE(edit->maxLength(), 30);
}

void TestRowText::shortTextFillsFirstColumns()
{
    QCOMPARE(appendRow("0;1;2;3;4;5;6;7;8;9"), "0;1;2;3;4;5;6;7;8;9" + QString(";").repeated(18));
    QVERIFY(tab()->item(0, 9));
    QVERIFY(!tab()->item(0, 10));
    QVERIFY(!tab()->cellWidget(0, 20));
}

void TestRowText::blanksKeptOnTheWayOut()
{
    appendRow("a");
    tab()->item(0, 0)->setText("  Haus A ");
    const QString text = window->rowText(0);
    QVERIFY(text.startsWith("  Haus A ;"));
    QCOMPARE(window->splitRowText(text).first(), QString("Haus A"));
}

void TestRowText::fillingExistingRowKeepsOtherCells()
{
    appendRow(QString("x;").repeated(27) + "y");
    QVERIFY(window->insertRowFromText(0, "a;b"));
    QCOMPARE(window->rowText(0), "a;b;" + QString("x;").repeated(18) + "---;x;---;---;---;---;x;y");
}

QTEST_MAIN(TestRowText)
#include "tst_rowtext.moc"
