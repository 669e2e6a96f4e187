// Hostile and odd plan files opened through the real open command, at start-up
// and from the menu: the program keeps running, shows only its own messages,
// fills the table sanely and writes nothing to disk on its own.
#include "TestSupport.h"
#include "VorlanCSV.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace TestSupport;

namespace {

const QByteArray FullRow =
    "7;Plan 3;a.pdf;Haus A;x;1;2;D-001;;;;;;;;;;Grundriss EG;12;Erste Ausgabe;A1;Müller GmbH;"
    "Erdgeschoss;Elektro;1:50;Grundriss;T-4;PDF";
const QString EmptyRow = QString(";").repeated(27);
const QString RejectTail = "\nenthält einen Fehler (z.B. mehr als 27 Spalten). Zeile ignoriert.";
const quint32 BinarySeed = 20240613;

// How the chosen file reaches the open command.
enum Trick {
    Plain,         // typed into the dialog and read as it is
    Vanishes,      // deleted between the dialog and the read
    BecomesFolder, // replaced by a folder between the dialog and the read
    FolderTyped,   // a folder typed into the dialog, then a file inside it
    NamedPipe,     // a named pipe instead of a file
    Device,        // a device typed into the dialog
};

QByteArray utf16(const QString &text, QSysInfo::Endian order, bool bom)
{
    QByteArray bytes;
    const QString all = bom ? QChar(0xFEFF) + text : text;
    for (const QChar ch : all) {
        const char hi = char(ch.unicode() >> 8), lo = char(ch.unicode() & 0xFF);
        if (order == QSysInfo::LittleEndian)
            bytes.append(lo).append(hi);
        else
            bytes.append(hi).append(lo);
    }
    return bytes;
}

QByteArray utf32le(const QString &text)
{
    QByteArray bytes("\xFF\xFE\0\0", 4);
    for (const uint code : text.toUcs4()) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes += char((code >> shift) & 0xFF);
    }
    return bytes;
}

QString withNuls(const char *text, int size)
{
    return QString::fromLatin1(text, size);
}

// Every file and folder below `root`, with the content and time of each file.
QMap<QString, QString> snapshot(const QString &root)
{
    QMap<QString, QString> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isDir()) {
            entries.insert(path, "folder");
            continue;
        }
        if (!info.isFile()) {
            entries.insert(path, "special");
            continue;
        }
        const QByteArray hash =
            QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha1).toHex();
        entries.insert(path,
                       QString::fromLatin1(hash) + " "
                           + info.lastModified().toString(Qt::ISODateWithMs));
    }
    return entries;
}

} // namespace

class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openFile_data();
    void openFile();

private:
    QString path(const QString &name) const { return dir->filePath(name); }
    QMap<QString, QString> diskState() const
    {
        QMap<QString, QString> state = snapshot(dir->path());
        const QMap<QString, QString> config = snapshot(configDir);
        for (auto it = config.cbegin(); it != config.cend(); ++it)
            state.insert(it.key(), it.value());
        return state;
    }

    QString configDir;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<VorlanCSV> window;
};

void TestHostile::initTestCase()
{
    isolateSettings();
    configDir = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    QVERIFY(!configDir.isEmpty());
}

void TestHostile::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void TestHostile::cleanup()
{
    cancelPendingModalActions();
    discardWindow(window);
    cancelPendingModalActions();
}

void TestHostile::openFile_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<QString>("name"); // relative to the test folder
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("trick");
    QTest::addColumn<int>("rows");                  // -1: the file cannot be read
    QTest::addColumn<QStringList>("first");         // RowText of the first rows
    QTest::addColumn<int>("rejected");              // number of refused lines
    QTest::addColumn<QStringList>("rejectedLines"); // their texts, when known

    struct Case
    {
        const char *what;
        QString name;
        QByteArray bytes;
        Trick trick;
        int rows;
        QStringList first;
        int rejected;
        QStringList rejectedLines;
    };
    QList<Case> corpus;

    corpus << Case {"empty file", "leer.csv", QByteArray(), Plain, 0, {}, 0, {}};

    {
        // Random bytes; the first is fixed so that no byte-order mark starts
        // the file. Expected: one row per line of at most 28 fields, one
        // message per longer line.
        QRandomGenerator random(BinarySeed);
        QByteArray bytes(256 * 1024, '\0');
        for (char &b : bytes)
            b = char(random.bounded(256));
        // Some lines of many separators, so that refusals occur too.
        for (int at = 1000; at < bytes.size() - 200; at += 37000)
            bytes.replace(at, 100, QByteArray(100, ';'));
        bytes[0] = 'x';
        int rows = 0, rejected = 0;
        const QList<QByteArray> lines = bytes.split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            if (i == lines.size() - 1 && lines.at(i).isEmpty())
                break;
            (lines.at(i).count(';') > 27 ? rejected : rows) += 1;
        }
        corpus << Case {"random bytes", "binaer.csv", bytes, Plain, rows, {}, rejected, {}};
    }

    corpus << Case {"NUL bytes stay in their fields",
                    "nul.csv",
                    QByteArray("\0\0\0\n1;\0Plan\0;x\n", 15),
                    Plain,
                    2,
                    {withNuls("\0\0\0", 3) + EmptyRow,
                     "1;" + withNuls("\0Plan\0", 6) + ";x" + QString(";").repeated(25)},
                    0,
                    {}};

    {
        // 28 fields of 150,000 characters each: about 4 MiB on one line.
        const QString field(150000, QLatin1Char('x'));
        QStringList fields;
        QStringList expected;
        for (int c = 0; c < 28; ++c) {
            fields << field;
            if (c == 20 || (c >= 22 && c <= 25))
                expected << "---";
            else if (c == 19)
                expected << field.left(30);
            else
                expected << field;
        }
        corpus << Case {"one line of 4 MiB in 28 fields",
                        "lang.csv",
                        fields.join(';').toUtf8() + "\n",
                        Plain,
                        1,
                        {expected.join(';')},
                        0,
                        {}};
    }
    {
        QStringList fields;
        for (int c = 0; c < 40; ++c)
            fields << QString(100000, QLatin1Char('y'));
        const QString line = fields.join(';');
        // The message names such a line by its first 1,000 characters.
        corpus << Case {"one line of 4 MiB in 40 fields is refused, named by its beginning",
                        "lang40.csv",
                        line.toUtf8() + "\n" + FullRow + "\n",
                        Plain,
                        1,
                        {FullRow},
                        1,
                        {line.left(1000) + " …"}};
    }

    corpus << Case {"100,000 empty lines, each an empty row",
                    "leerzeilen.csv",
                    QByteArray(100000, '\n'),
                    Plain,
                    100000,
                    {EmptyRow, EmptyRow},
                    0,
                    {}};

    corpus << Case {"exactly 28 fields", "28.csv", FullRow + "\n", Plain, 1, {FullRow}, 0, {}};
    corpus << Case {"28 empty fields",
                    "28leer.csv",
                    EmptyRow.toUtf8() + "\n",
                    Plain,
                    1,
                    {QString(";").repeated(20) + "---;;---;---;---;---;;"},
                    0,
                    {}};
    corpus << Case {"29 fields are refused, the next line takes the row",
                    "29.csv",
                    FullRow + ";\n" + FullRow + ";x\n" + FullRow + "\n",
                    Plain,
                    1,
                    {FullRow},
                    2,
                    {FullRow + ";", FullRow + ";x"}};

    const QString umlauts = "1;Grüße;Maß;Öl;Ärger;Übel" + QString(";").repeated(14)
        + "Erläuterung;A3;Jörg Weiß;Meß-Anhänger;Kälte mit Lüftung und Heizung;"
          "1:50;Geländeschnitt;Tür;PDF";
    corpus << Case {"UTF-16 little-endian with byte-order mark",
                    "u16le.csv",
                    utf16(umlauts + "\r\n" + FullRow + "\r\n", QSysInfo::LittleEndian, true),
                    Plain,
                    2,
                    {umlauts, FullRow},
                    0,
                    {}};
    corpus << Case {"UTF-16 big-endian with byte-order mark",
                    "u16be.csv",
                    utf16(umlauts + "\n" + FullRow, QSysInfo::BigEndian, true),
                    Plain,
                    2,
                    {umlauts, FullRow},
                    0,
                    {}};
    // Without a mark the file is taken for UTF-8 (one line per LF byte), the
    // zero bytes stay in the fields; the "ü" byte 0xFC is no UTF-8 and makes
    // its line Windows-1252.
    corpus << Case {"UTF-16 without byte-order mark is read byte for byte",
                    "u16ohne.csv",
                    utf16("1;Mü\n2;b\n", QSysInfo::LittleEndian, false),
                    Plain,
                    3,
                    {withNuls("1\0", 2) + ";" + withNuls("\0M\0\xFC\0", 5) + EmptyRow.mid(1),
                     withNuls("\0"
                              "2\0",
                              3)
                         + ";" + withNuls("\0b\0", 3) + EmptyRow.mid(1),
                     withNuls("\0", 1) + EmptyRow},
                    0,
                    {}};
    corpus << Case {"UTF-32 with byte-order mark",
                    "u32.csv",
                    utf32le(umlauts + "\n"),
                    Plain,
                    1,
                    {umlauts},
                    0,
                    {}};
    corpus << Case {"UTF-8 with byte-order mark",
                    "bom.csv",
                    "\xEF\xBB\xBF" + umlauts.toUtf8() + "\n" + FullRow + "\n",
                    Plain,
                    2,
                    {umlauts, FullRow},
                    0,
                    {}};
    corpus << Case {"mixed LF and CR LF, blank lines, no end after the last",
                    "gemischt.csv",
                    "a;b\r\n\r\nc\n \t \r\nd;;e\r\r\n" + FullRow,
                    Plain,
                    6,
                    {"a;b" + EmptyRow.mid(1), EmptyRow, "c" + EmptyRow, EmptyRow,
                     "d;;e" + EmptyRow.mid(2), FullRow},
                    0,
                    {}};

    corpus << Case {"file vanishes between dialog and read",
                    "weg.csv",
                    FullRow + "\n",
                    Vanishes,
                    -1,
                    {},
                    0,
                    {}};
    corpus << Case {"file replaced by a folder between dialog and read",
                    "ordner.csv",
                    FullRow + "\n",
                    BecomesFolder,
                    -1,
                    {},
                    0,
                    {}};
    // The dialog does not hand out a folder: typed into its name field, the
    // folder is entered instead, and the file picked there is opened.
    corpus << Case {"folder typed into the dialog is entered",
                    "Ordner/innen.csv",
                    FullRow + "\n",
                    FolderTyped,
                    1,
                    {FullRow},
                    0,
                    {}};
    corpus << Case {"path with umlauts and blanks",
                    "Pläne Süd/Übersicht März 2024 – Bauteil Ö.csv",
                    umlauts.toUtf8() + "\n",
                    Plain,
                    1,
                    {umlauts},
                    0,
                    {}};

    // Neither waits for a writer nor reads without end.
    corpus << Case {"named pipe", "pipe.csv", QByteArray(), NamedPipe, -1, {}, 0, {}};
    corpus << Case {"device that never ends", "/dev/zero", QByteArray(), Device, -1, {}, 0, {}};

    for (const bool fromMenu : {false, true}) {
        for (const Case &c : corpus) {
            QTest::newRow(qPrintable(QString(fromMenu ? "menu: " : "start-up: ") + c.what))
                << fromMenu << c.name << c.bytes << int(c.trick) << c.rows << c.first << c.rejected
                << c.rejectedLines;
        }
    }
}

void TestHostile::openFile()
{
    QFETCH(bool, fromMenu);
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, trick);
    QFETCH(int, rows);
    QFETCH(QStringList, first);
    QFETCH(int, rejected);
    QFETCH(QStringList, rejectedLines);

    const QString file = Trick(trick) == Device ? name : path(name);
    if (Trick(trick) == NamedPipe)
        QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    else if (Trick(trick) != Device)
        writeFile(file, bytes);
    const QString previous = writeFile(path("vorher.csv"), FullRow + "\n");
    if (fromMenu) {
        window = openWindow(previous);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    QMap<QString, QString> expectedDisk = diskState();

    bool dialogShown = false;
    bool folderEntered = false;
    onNextModalOf<QFileDialog>([&](QFileDialog *dialog) {
        dialogShown = true;
        switch (Trick(trick)) {
        case Vanishes:
            connect(dialog, &QDialog::accepted, [file] { QFile::remove(file); });
            acceptFile(dialog, file);
            break;
        case BecomesFolder:
            connect(dialog, &QDialog::accepted, [file] {
                QFile::remove(file);
                QDir().mkpath(file);
            });
            acceptFile(dialog, file);
            break;
        case FolderTyped: {
            const QString folder = QFileInfo(file).path();
            acceptFile(dialog, folder);
            // Still open, now showing the folder's contents; the file is
            // then picked by its name alone.
            if (dialog->isVisible()) {
                folderEntered = QDir(dialog->directory()).absolutePath() == folder;
                acceptFile(dialog, QFileInfo(file).fileName());
            }
            break;
        }
        case NamedPipe:
        case Device:
        case Plain:
            acceptFile(dialog, file);
            break;
        }
    });
    QStringList messages;
    answerEveryMessageBox(QMessageBox::Ok, &messages);

    QElapsedTimer clock;
    clock.start();
    if (fromMenu)
        window->findChild<QAction *>("actionOeffnen")->trigger();
    else
        window = std::make_unique<VorlanCSV>();
    qInfo("opened in %lld ms", clock.elapsed());
    QVERIFY(dialogShown);
    cancelPendingModalActions();
    if (Trick(trick) == FolderTyped)
        QVERIFY(folderEntered);

    if (Trick(trick) == Vanishes)
        expectedDisk.remove(file);
    if (Trick(trick) == BecomesFolder)
        expectedDisk.insert(file, "folder");

    QTableWidget *tab = table(window.get());
    if (rows < 0) {
        QCOMPARE(messages,
                 QStringList {"Die Datei " + file + " kann nicht zum Lesen geöffnet werden."});
        if (fromMenu) {
            QCOMPARE(window->windowTitle(), "VorlanCSV - " + previous);
            QCOMPARE(tab->rowCount(), 1);
            QCOMPARE(window->rowText(0), QString(FullRow));
        } else {
            QCOMPARE(window->windowTitle(), QString("VorlanCSV"));
            QCOMPARE(tab->rowCount(), 0);
        }
    } else {
        QCOMPARE(messages.size(), rejected);
        for (int i = 0; i < messages.size(); ++i) {
            QVERIFY(messages.at(i).startsWith("Die Zeile:\n\n"));
            QVERIFY(messages.at(i).endsWith(RejectTail));
            if (i < rejectedLines.size())
                QCOMPARE(messages.at(i), "Die Zeile:\n\n" + rejectedLines.at(i) + RejectTail);
        }
        QCOMPARE(window->windowTitle(), "VorlanCSV - " + file);
        QCOMPARE(tab->rowCount(), rows);
        for (int r = 0; r < first.size(); ++r)
            QCOMPARE(window->rowText(r), first.at(r));
        // Whatever came in, every row is 28 fields without a line break.
        for (int r = 0; r < rows; ++r) {
            const QString text = window->rowText(r);
            if (text.count(QLatin1Char(';')) != 27 || text.contains(QLatin1Char('\n')))
                QFAIL(qPrintable(QString("row %1 is not 28 fields on one line").arg(r)));
        }
    }

    // The window still works: it shows the table and closes without asking.
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    tab->scrollToBottom();
    QTest::qWait(0);
    QVERIFY(!window->windowTitle().endsWith(" *"));
    int questions = 0;
    onNextModalOf<QMessageBox>(
        [&questions](QMessageBox *box) {
            ++questions;
            box->reject();
        },
        500);
    QVERIFY(window->close());
    window.reset();
    cancelPendingModalActions();
    QCOMPARE(questions, 0);

    QCOMPARE(diskState(), expectedDisk);
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
