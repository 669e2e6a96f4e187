// Random tables entered into the plan table, saved and opened again through the real commands:
// every cell comes back, and a file the program wrote keeps its bytes when saved unchanged.
#include "ColumnCatalog.h"
#include "TestSupport.h"
#include "VorlanCSV.h"

#include <QAction>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestSupport;
using namespace ColumnCatalog;

namespace {

const int Tables = 200;
// Plan list letters and what trips up CSV tools: umlauts, blanks, quotes, commas; never ";" or
// a line break.
const QString Alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789äöüÄÖÜß"
                         "    \"\"'',,..--/()&+:!?#%€°²§@_=<>*\t\u00A0";

} // namespace

class TestRoundTrip : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString file = dir.filePath("Rundreise Pläne.csv");
    std::unique_ptr<VorlanCSV> window;
    QStringList messages;

    void trigger(const char *name) { window->findChild<QAction *>(name)->trigger(); }

private slots:
    void initTestCase()
    {
        isolateSettings();
        window = openWindow(writeFile(file, ""));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        answerEveryMessageBox(QMessageBox::Ok, &messages);
    }
    void cleanupTestCase()
    {
        cancelPendingModalActions();
        discardWindow(window);
    }
    // No command may show a message or ask a question.
    void cleanup() { QCOMPARE(std::exchange(messages, {}), QStringList()); }
    void randomTable_data();
    void randomTable();
};

void TestRoundTrip::randomTable_data()
{
    bool given = false;
    quint32 seed = qEnvironmentVariableIntValue("VORLAN_ROUNDTRIP_SEED", &given);
    seed = given ? seed : 4711;
    qInfo("seed %u, %d random tables (VORLAN_ROUNDTRIP_SEED repeats a run)", seed, Tables);
    QTest::addColumn<quint32>("tableSeed");
    QRandomGenerator seeds(seed);
    for (int i = 0; i < Tables; ++i)
        QTest::newRow(qPrintable(QString("table %1").arg(i))) << seeds.generate();
}

void TestRoundTrip::randomTable()
{
    QFETCH(quint32, tableSeed);
    QRandomGenerator random(tableSeed);
    const auto below = [&](int n) { return int(random.bounded(quint32(n))); };
    const auto text = [&](int maxLength) {
        QString s;
        for (int i = below(maxLength + 1); i > 0; --i)
            s += Alphabet.at(below(Alphabet.size()));
        return s;
    };

    // Rows pasted as text, with blanks around the values.
    QTableWidget *tab = table(window.get());
    tab->setRowCount(0);
    QList<QStringList> entered; // what the cells hold
    for (int r = below(9); r > 0; --r) {
        QStringList fields, cells;
        for (int c = 0; c < ColumnCount; ++c) {
            const QStringList *values = entry(c).list;
            const QString value = values ? values->at(below(values->size())) : text(40);
            fields << QString(below(3), ' ') + value + QString(below(3), ' ');
            cells << value.trimmed().left(c == LineEditorColumn ? LineEditorMaxLength : -1);
        }
        QVERIFY(window->insertRowFromText(tab->rowCount(), fields.join(';')));
        entered << cells;
    }
    // Values with blanks around them, as the in-place editor hands them to the table.
    for (int i = entered.isEmpty() ? 0 : below(8); i > 0; --i) {
        const int r = below(entered.size()), c = below(ColumnCount);
        if (!tab->cellWidget(r, c)) {
            entered[r][c] = " " + text(30) + " ";
            tab->model()->setData(tab->model()->index(r, c), entered[r][c]);
        }
    }

    // Saved as one line of plain values per row, read back with the blanks around them gone.
    QByteArray lines;
    for (const QStringList &row : entered)
        lines += row.join(';').toUtf8() + '\n';
    trigger("actionSpeichern");
    QCOMPARE(readFile(file), lines);
    chooseFileInNextDialog(file);
    trigger("actionOeffnen");
    QCOMPARE(tab->rowCount(), entered.size());
    for (int r = 0; r < entered.size(); ++r) {
        for (int c = 0; c < ColumnCount; ++c)
            QCOMPARE(cellText(tab, r, c), entered[r][c].trimmed());
    }

    // A file the program wrote keeps its bytes when opened and saved unchanged.
    trigger("actionSpeichern");
    const QByteArray written = readFile(file);
    chooseFileInNextDialog(file);
    trigger("actionOeffnen");
    trigger("actionSpeichern");
    QCOMPARE(readFile(file), written);
}

QTEST_MAIN(TestRoundTrip)
#include "tst_roundtrip.moc"
