// Hostile and odd plan files opened through the real open command: the program keeps running,
// shows only its own messages, fills the table sanely and writes nothing to disk on its own.
#include "TestSupport.h"
#include "VorlanCSV.h"

#include <QAction>
#include <QDirIterator>
#include <QFileDialog>
#include <QRandomGenerator>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <sys/stat.h>

using namespace TestSupport;

namespace {

const QString FullRow = "7;Plan 3;a.pdf;Haus A;x;1;2;D-001;;;;;;;;;;Grundriss EG;12;Erste Ausgabe;"
                        "A1;Müller GmbH;Erdgeschoss;Elektro;1:50;Grundriss;T-4;PDF";
const QString Umlauts = "1;Grüße, Maß & Öl – 20 € für Jörg Weiß"; // and as a row:
const QString UmlautRow = Umlauts + QString(26, ';');
const QString EmptyRow(27, ';');

// How the chosen file reaches the open command; all but the first two cannot be read.
enum Trick { AtStartUp, FromMenu, VanishesFromMenu, BecomesFolder, Pipe, Device };

// Every entry below `folder` and in the settings store, with each file's content and time.
QMap<QString, QByteArray> diskState(const QString &folder)
{
    QMap<QString, QByteArray> state;
    for (const QString &root : {folder, qEnvironmentVariable("XDG_CONFIG_HOME")}) {
        QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            const QByteArray time = info.lastModified().toString(Qt::ISODateWithMs).toUtf8();
            if (info.fileName() == "QtProject.conf") // the file dialog's, not the program's
                continue;
            state[info.filePath()] = info.isDir() ? "folder"
                : info.isFile()                   ? readFile(info.filePath()) + time
                                                  : "other";
        }
    }
    return state;
}

} // namespace

class TestHostile : public QObject
{
    Q_OBJECT

    std::unique_ptr<VorlanCSV> window;

private slots:
    void initTestCase() { isolateSettings(); }
    void cleanup()
    {
        cancelPendingModalActions();
        discardWindow(window);
    }
    void openFile_data();
    void openFile();
};

void TestHostile::openFile_data()
{
    QTest::addColumn<QString>("name"); // in a fresh folder
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("rows");            // of the table once the file is read
    QTest::addColumn<QStringList>("first");   // the text of the first rows
    QTest::addColumn<QStringList>("refused"); // the lines named in the messages
    QTest::addColumn<int>("trick");
    const auto add = [](const char *what, const QString &name, const QByteArray &bytes, int rows,
                        const QStringList &first = {}, const QStringList &refused = {},
                        Trick trick = AtStartUp) {
        QTest::newRow(what) << name << bytes << rows << first << refused << int(trick);
    };

    // Random bytes, no byte-order mark at the start: every line a row.
    QRandomGenerator random(20240613);
    QByteArray binary(256 * 1024, 'x');
    for (int i = 1; i < binary.size(); ++i)
        binary[i] = char(random.bounded(256));
    const QString megabytes(4 << 20, 'x');
    QTextCodec *utf16 = QTextCodec::codecForName("UTF-16LE"); // writes a byte-order mark

    add("empty file, opened from the menu, empties the table", "leer.csv", "", 0, {}, {}, FromMenu);
    add("random bytes", "binaer.csv", binary, binary.count('\n') + !binary.endsWith('\n'));
    // QByteArrayLiteral and QStringLiteral keep their zero characters.
    add("NUL bytes stay in their fields and their messages", "nul.csv",
        QByteArrayLiteral("\0\0\0\n1;\0Plan\0;x\n\0") + QByteArray(28, ';'), 2,
        {QStringLiteral("\0\0\0") + EmptyRow, QStringLiteral("1;\0Plan\0;x") + QString(25, ';')},
        {QStringLiteral("\0") + QString(28, ';')});
    add("line of 4 MiB in 28 fields", "lang.csv", (megabytes + FullRow.mid(1)).toUtf8(), 1,
        {megabytes + FullRow.mid(1)});
    add("line of 4 MiB in 41 fields is refused, named by its first 1,000 characters", "lang41.csv",
        (megabytes + QString(40, ';') + "\n" + FullRow).toUtf8(), 1, {FullRow},
        {QString(1000, 'x') + " …"});
    add("100,000 empty lines, each an empty row", "leer100000.csv", QByteArray(100000, '\n'),
        100000, {EmptyRow});
    add("29 fields are refused, 28 fields make the first row", "29.csv",
        (FullRow + ";\n" + FullRow + "\n").toUtf8(), 1, {FullRow}, {FullRow + ";"});
    add("UTF-16 with byte-order mark and CR LF", "utf16.csv",
        utf16->fromUnicode(Umlauts + "\r\n" + FullRow + "\r\n"), 2, {UmlautRow, FullRow});
    // Without a mark the file is read as UTF-8, one line per LF byte, with its zero bytes;
    // the "ü" byte 0xFC is no UTF-8 and makes its line Windows-1252.
    add("UTF-16 without byte-order mark is read byte for byte", "utf16ohne.csv",
        utf16->fromUnicode("1;Mü\n2;b\n").mid(2), 3,
        {QStringLiteral("1\0;\0M\0\xFC\0") + QString(26, ';')});
    add("UTF-8 with byte-order mark", "bom.csv",
        "\xEF\xBB\xBF" + (Umlauts + "\n" + FullRow).toUtf8(), 2, {UmlautRow, FullRow});
    add("mixed LF and CR LF, blank lines, no line end at the end", "gemischt.csv",
        "a;b\r\n\r\nc\n \t \r\nd;;e\r\r\n" + FullRow.toUtf8(), 6,
        {"a;b" + QString(26, ';'), EmptyRow, "c" + EmptyRow, EmptyRow, "d;;e" + QString(25, ';')});
    add("path with umlauts and blanks", "Pläne Süd/Übersicht März 2024 – Bauteil Ö.csv",
        Umlauts.toUtf8(), 1, {UmlautRow});
    add("file vanishing after the dialog keeps the previous document", "weg.csv", "x", 1, {FullRow},
        {}, VanishesFromMenu);
    add("file replaced by a folder after the dialog", "ordner.csv", "x", 0, {}, {}, BecomesFolder);
    add("named pipe: no waiting for a writer", "pipe.csv", "", 0, {}, {}, Pipe);
    add("device: no reading without end", "/dev/zero", "", 0, {}, {}, Device);
}

void TestHostile::openFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, rows);
    QFETCH(QStringList, first);
    QFETCH(QStringList, refused);
    QFETCH(int, trick);

    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(name); // an absolute name stays as it is
    if (trick == Pipe)
        QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    else if (trick != Device)
        writeFile(file, bytes);
    const QString previous = dir.filePath("vorher.csv");
    const bool fromMenu = trick == FromMenu || trick == VanishesFromMenu;
    if (fromMenu)
        window = openWindow(writeFile(previous, FullRow.toUtf8() + "\n"));
    QMap<QString, QByteArray> expectedDisk = diskState(dir.path());

    onNextModalOf<QFileDialog>([&](QFileDialog *dialog) {
        connect(dialog, &QDialog::accepted, [&] {
            if (trick == VanishesFromMenu || trick == BecomesFolder) {
                QFile::remove(file);
                expectedDisk.remove(file);
            }
            if (trick == BecomesFolder && QDir().mkpath(file))
                expectedDisk[file] = "folder";
        });
        acceptFile(dialog, file);
    });
    QStringList messages, expected;
    answerEveryMessageBox(QMessageBox::Ok, &messages);
    if (fromMenu)
        window->findChild<QAction *>("actionOeffnen")->trigger();
    else
        window = std::make_unique<VorlanCSV>();

    for (const QString &line : refused)
        expected << "Die Zeile:\n\n" + line
                + "\nenthält einen Fehler (z.B. mehr als 27 Spalten). Zeile ignoriert.";
    QString title = "VorlanCSV - " + file;
    if (trick > FromMenu) {
        expected << "Die Datei " + file + " kann nicht zum Lesen geöffnet werden.";
        title = fromMenu ? "VorlanCSV - " + previous : "VorlanCSV";
    }
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(table(window.get())->rowCount(), rows);
    for (int r = 0; r < rows; ++r) {
        const QString text = window->rowText(r);
        if (r < first.size())
            QCOMPARE(text, first.at(r));
        else if (text.count(';') != 27 || text.contains('\n')) // 28 fields on one line
            QFAIL(qPrintable(QString("row %1 is broken: %2").arg(r).arg(text.left(100))));
    }

    // The window paints the end of the table and closes without asking anything.
    table(window.get())->scrollToBottom();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->grab();
    QVERIFY(window->close());
    window.reset();
    cancelPendingModalActions();
    QCOMPARE(messages, expected);
    QCOMPARE(diskState(dir.path()), expectedDisk);
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
