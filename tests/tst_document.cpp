// Plan files through the main window's commands: start-up, the form, normal
// and hostile files opened, saves and their failures, the question before
// changes are lost, and random tables saved and opened again.
#include "TestSupport.h"
#include "VorlanCSV.h"

#include <QDirIterator>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QToolBar>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestSupport;

namespace {

const QString FullRow = "7;Plan 3;a.pdf;Haus A;x;1;2;D-001;;;;;;;;;;Grundriss EG;12;Erste Ausgabe;"
                        "A1;Müller GmbH;Erdgeschoss;Elektro;1:50;Grundriss;T-4;PDF";
const QString Umlauts = "1;Grüße, Maß & Öl – 20 € für Jörg Weiß";
const QString UmlautRow = Umlauts + QString(26, ';');
const QString EmptyRow(27, ';');
const QFile::Permissions Mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;

QByteArray lines(const QStringList &rows)
{
    return (rows.join('\n') + "\n").toUtf8().mid(rows.isEmpty());
}

// How the chosen file reaches the open command; from VanishesAtStartUp on it cannot be read.
enum How { AtStartUp, FromMenu, VanishesAtStartUp, VanishesFromMenu, BecomesFolder, Pipe, Device };

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
            if (info.fileName() != "QtProject.conf") // the file dialog's, not the program's
                state[info.filePath()] = info.isFile() ? readFile(info.filePath()) + time : "other";
        }
    }
    return state;
}

// Limits the size of files this process may write, as a full disk would.
struct FileSizeLimit
{
    explicit FileSizeLimit(qint64 bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit limited = {rlim_t(bytes), old.rlim_max};
        if (bytes >= 0 && setrlimit(RLIMIT_FSIZE, &limited) != 0)
            qFatal("cannot limit the file size");
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
    rlimit old;
};

// Makes a folder take no new files while its files stay writable: immutable
// for root, who ignores permissions, read-only for anyone else.
struct RefusingFolder
{
    RefusingFolder(const QString &folder, bool on) : folder(folder), on(on) { refuse(on); }
    ~RefusingFolder() { refuse(false); }
    void refuse(bool on)
    {
        if (geteuid() == 0)
            QProcess::execute("chattr", {on ? "+i" : "-i", folder});
        else
            QFile::setPermissions(folder,
                                  QFile::ReadOwner | QFile::ExeOwner
                                      | (on ? QFile::Permissions() : QFile::WriteOwner));
    }
    bool works() const
    {
        QFile probe(folder + "/probe");
        return !on || !probe.open(QIODevice::WriteOnly) || !probe.remove();
    }
    QString folder;
    bool on;
};

enum SaveFailure { NoByteFits, FullPartWay, RenameRefused, FolderGone };

} // namespace

class TestDocument : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<VorlanCSV> window;

    QString path(const QString &name) const { return dir->filePath(name); }
    QString lastPath() const
    {
        return QSettings("Quellor", "VorlanCSV").value("lastpath").toString();
    }
    QString failedSave(const QString &file, bool opened)
    {
        return "|Die Datei\n" + file + "\n"
            + (opened ? "konnte nicht vollständig geschrieben werden."
                      : "kann nicht zum Schreiben geöffnet werden.");
    }

private slots:
    void initTestCase() { startTesting(); }
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        writeFile(path("a.csv"), lines({FullRow}));
    }
    void cleanup()
    {
        discardWindow(window);
        checkDialogs();
    }

    // The program's start-up in a process of its own, see main() below.
    void startup_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        QTest::newRow("cancelled: exit status -1, no window") << "" << 255 << QByteArray();
        QTest::newRow("file chosen: the window comes up")
            << "a.csv" << 0 << QByteArray("constructed\n");
    }
    void startup()
    {
        QFETCH(QString, choice);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        QProcess probe;
        probe.start(QCoreApplication::applicationFilePath(),
                    {"--startup", choice.isEmpty() ? "" : path(choice)});
        QVERIFY(probe.waitForFinished(60000));
        QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
        QCOMPARE(probe.exitCode(), exitCode);
        QCOMPARE(probe.readAllStandardOutput(), output);
    }

    void form()
    {
        window = openWindow(path("a.csv"));
        QCOMPARE(window->size(), QSize(969, 614));
        QCOMPARE(window->menuBar()->actions().value(0)->text(), QString("Datei"));
        for (const char *name : {"menuDatei", "toolBar"}) {
            QStringList texts; // an icon never grows beyond its 32 x 32 image
            for (QAction *action : window->findChild<QWidget *>(name)->actions())
                texts << (action->isSeparator() ? "|"
                                                : action->text()
                                  + QString::number(action->icon().pixmap(64).width()));
            QCOMPARE(texts,
                     QStringList({"Oeffnen32", "Speichern32", "Drucken32", "|", "Beenden32"}));
        }
        QTableWidget *tab = table(window.get());
        QStringList headers;
        QList<int> widths;
        for (int c = 0; c < tab->columnCount(); ++c) {
            headers << tab->horizontalHeaderItem(c)->text();
            widths << tab->columnWidth(c);
        }
        QCOMPARE(headers, ColumnTitles);
        QCOMPARE(
            widths,
            QList<int>(
                {40,  160, 40,  160, 160, 40,  40,
                 160, 40,  40,  40,  40,  40,  40,
                 40,  40,  40,  160, 40,  160, 80,
                 160, 160, 160, 80,  160, 80,  tab->horizontalHeader()->defaultSectionSize()}));
        expectFile(""); // one dialog: a second would be unexpected
        trigger(window.get(), "actionOeffnen");
    }

    // Every file reaches the table through the open command; what the table
    // shows is then what a save writes, one LF after every row, in UTF-8.
    void open_data()
    {
        QTest::addColumn<QString>("name"); // in a fresh folder
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("how");
        QTest::addColumn<int>("rows");            // of the table once the file is read
        QTest::addColumn<QStringList>("first");   // the text of the first rows
        QTest::addColumn<QStringList>("refused"); // the lines named in the messages
        const auto add = [](const char *what, const QString &name, const QByteArray &bytes, How how,
                            int rows, const QStringList &first = {},
                            const QStringList &refused = {}) {
            QTest::newRow(what) << name << bytes << int(how) << rows << first << refused;
        };
        const QString ab = "a;b" + QString(26, ';'), line29 = FullRow + ";x",
                      megabytes(4 << 20, 'x');
        QTextCodec *utf16 = QTextCodec::codecForName("UTF-16LE"); // writes a byte-order mark
        QRandomGenerator random(20240613);
        QByteArray binary(256 * 1024, 'x');
        for (int i = 1; i < binary.size(); ++i)
            binary[i] = char(random.bounded(256));

        add("empty file from the menu: no rows left", "leer.csv", "", FromMenu, 0);
        add("LF", "p.csv", "a;b\n", AtStartUp, 1, {ab});
        add("CR LF; lines of 29 fields refused, named without their CR", "p.csv",
            lines({line29 + "\r", "a;b\r", line29 + "\r"}), AtStartUp, 1, {ab}, {line29, line29});
        add("empty line at the end is an empty row", "p.csv", lines({FullRow, ""}), AtStartUp, 2,
            {FullRow, EmptyRow});
        add("fields trimmed", "p.csv", " 7 ;  Plan 3\t;a.pdf", AtStartUp, 1,
            {"7;Plan 3;a.pdf" + QString(25, ';')});
        add("UTF-8 byte-order mark is not part of the first field", "bom.csv",
            "\xEF\xBB\xBF" + lines({Umlauts, FullRow}), AtStartUp, 2, {UmlautRow, FullRow});
        add("UTF-16 with byte-order mark and CR LF", "utf16.csv",
            utf16->fromUnicode(Umlauts + "\r\n" + FullRow + "\r\n"), AtStartUp, 2,
            {UmlautRow, FullRow});
        add("Windows-1252 line keeps its umlauts, saved as UTF-8", "p.csv",
            "1;Gr\xFC\xDF"
            "e aus K\xF6ln\n"
                + FullRow.toUtf8(),
            AtStartUp, 2, {"1;Grüße aus Köln" + QString(26, ';'), FullRow});
        // QByteArrayLiteral and QStringLiteral keep their zero characters.
        add("NUL bytes stay in their fields and their messages", "nul.csv",
            QByteArrayLiteral("\0\0\0\n1;\0Plan\0;x\n\0") + QByteArray(28, ';'), AtStartUp, 2,
            {QStringLiteral("\0\0\0") + EmptyRow,
             QStringLiteral("1;\0Plan\0;x") + QString(25, ';')},
            {QStringLiteral("\0") + QString(28, ';')});
        add("random bytes: every line a row", "binaer.csv", binary, AtStartUp,
            binary.count('\n') + !binary.endsWith('\n'));
        add("line of 4 MiB in 28 fields", "lang.csv", (megabytes + FullRow.mid(1)).toUtf8(),
            AtStartUp, 1, {megabytes + FullRow.mid(1)});
        add("line of 4 MiB in 41 fields refused, named by its first 1,000 characters", "lang41.csv",
            (megabytes + QString(40, ';') + "\n" + FullRow).toUtf8(), AtStartUp, 1, {FullRow},
            {QString(1000, 'x') + " …"});
        add("100,000 empty lines, each an empty row", "leer.csv", QByteArray(100000, '\n'),
            AtStartUp, 100000, {EmptyRow});
        add("mixed LF and CR LF, blank lines, no line end at the end", "gemischt.csv",
            "a;b\r\n\r\nc\n \t \r\nd;;e\r\r\n" + FullRow.toUtf8(), AtStartUp, 6,
            {ab, EmptyRow, "c" + EmptyRow, EmptyRow, "d;;e" + QString(25, ';'), FullRow});
        add("path with umlauts and blanks", "Pläne Süd/Übersicht März – Bauteil Ö.csv",
            Umlauts.toUtf8(), FromMenu, 1, {UmlautRow});
        add("file gone at start-up: empty table under its name", "weg.csv", "x", VanishesAtStartUp,
            0);
        add("file gone, from the menu: the previous document stays", "weg.csv", "x",
            VanishesFromMenu, 5, {FullRow});
        add("file replaced by a folder", "ordner.csv", "x", BecomesFolder, 0);
        add("named pipe: no waiting for a writer", "pipe.csv", "", Pipe, 0);
        add("device: no reading without end", "/dev/zero", "", Device, 0);
    }
    void open()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, how);
        QFETCH(int, rows);
        QFETCH(QStringList, first);
        QFETCH(QStringList, refused);
        const QString file = QDir(dir->path()).filePath(name); // an absolute name stays as it is
        if (how == Pipe)
            QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        else if (how != Device)
            writeFile(file, bytes);
        const QString previous = path("vorher.csv");
        const bool fromMenu = how == FromMenu || how == VanishesFromMenu;
        if (fromMenu)
            window = openWindow(
                writeFile(previous, lines({FullRow, FullRow, FullRow, FullRow, FullRow})));
        QMap<QString, QByteArray> disk = diskState(dir->path());
        expectFile(file, [&] {
            if (how == VanishesAtStartUp || how == VanishesFromMenu || how == BecomesFolder)
                if (QFile::remove(file))
                    disk.remove(file);
            if (how == BecomesFolder && QDir().mkpath(file))
                disk[file] = "other";
        });
        answerAllMessages();
        if (fromMenu)
            trigger(window.get(), "actionOeffnen");
        else
            window = std::make_unique<VorlanCSV>();

        QStringList messages;
        for (const QString &line : refused)
            messages << "|Die Zeile:\n\n" + line
                    + "\nenthält einen Fehler (z.B. mehr als 27 Spalten). Zeile ignoriert.";
        if (how >= VanishesAtStartUp)
            messages << "|Die Datei " + file + " kann nicht zum Lesen geöffnet werden.";
        QCOMPARE(takeMessages(), messages);
        const QString shown = how < VanishesAtStartUp ? file : fromMenu ? previous : QString();
        QCOMPARE(window->windowTitle(), shown.isEmpty() ? "VorlanCSV" : titleOf(shown));
        QCOMPARE(table(window.get())->rowCount(), rows);
        QCOMPARE(rowTexts(window.get()).mid(0, first.size()), first);
        QCOMPARE(diskState(dir->path()), disk); // nothing written on its own
        if (how >= BecomesFolder)
            return;
        trigger(window.get(), "actionSpeichern");
        const QString saved = shown.isEmpty() ? file : shown;
        QCOMPARE(window->windowTitle(), titleOf(saved));
        QCOMPARE(QFile::exists(file), how != VanishesFromMenu);
        QCOMPARE(readFile(saved).count('\n'), rows);
        QVERIFY(readFile(saved).startsWith(lines(first)));
    }

    // The dialog starts in the folder of the last save, not where it was last.
    void openStartsInLastSavedFolder()
    {
        window = openWindow(path("a.csv"));
        trigger(window.get(), "actionSpeichern");
        QCOMPARE(lastPath(), dir->path());
        QVERIFY(QDir().mkpath(path("anderswo")));
        QSettings("Quellor", "VorlanCSV").setValue("lastpath", path("anderswo"));
        expect<QFileDialog>([this](QFileDialog *dialog) {
            QCOMPARE(dialog->directory().absolutePath(), path("anderswo"));
            dialog->reject();
        });
        trigger(window.get(), "actionOeffnen");
    }

    // Through the real save command: the previous file kept byte for byte, the
    // exact message, the title still marked, no stray file.
    void saveFails_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("failure");
        for (int rows :
             {1, 40, 1000}) { // 130 bytes to 130 KB: below and above the 16 KB write buffer
            QTest::addRow("%d rows, no byte fits: old file kept", rows) << rows << int(NoByteFits);
            QTest::addRow("%d rows, full part-way: old file kept", rows)
                << rows << int(FullPartWay);
        }
        QTest::newRow("append-only file refuses the rename") << 40 << int(RenameRefused);
        QTest::newRow("folder gone") << 1 << int(FolderGone);
    }
    void saveFails()
    {
        QFETCH(int, rows);
        QFETCH(int, failure);
        const QString name = path("sub/p.csv");
        const QByteArray before = lines(QVector<QString>(rows, FullRow).toList());
        writeFile(name, before);
        if (failure == RenameRefused
            && (geteuid() != 0 || QProcess::execute("chattr", {"+a", name}) != 0))
            QSKIP("making a file append-only needs root and chattr");
        window = openWindow(name);
        table(window.get())->item(0, 0)->setText("8");
        QSettings("Quellor", "VorlanCSV").setValue("lastpath", "/elsewhere");
        expectMessage();
        if (failure == FolderGone)
            QVERIFY(QDir(path("sub")).removeRecursively());
        {
            FileSizeLimit limit(failure == FullPartWay      ? before.size() / 2
                                    : failure == NoByteFits ? 0
                                                            : -1);
            trigger(window.get(), "actionSpeichern");
        }
        if (failure == RenameRefused)
            QProcess::execute("chattr", {"-a", name});
        const bool gone = failure == FolderGone;
        QCOMPARE(takeMessages(), QStringList {failedSave(name, !gone)});
        QCOMPARE(readFile(name), gone ? QByteArray("(unreadable)") : before);
        QCOMPARE(QDir(path("sub")).entryList(QDir::Files | QDir::Hidden),
                 gone ? QStringList() : QStringList {"p.csv"});
        QCOMPARE(window->windowTitle(), titleOf(name, true));
        QCOMPARE(lastPath(), path("sub"));
    }

    // Shared project folders often let people change files but not create
    // them; links are saved through, and the file keeps its mode.
    void saveInPlace_data()
    {
        QTest::addColumn<bool>("refusing");
        QTest::addColumn<QString>("first");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<bool>("throughLink");
        const QString longer(100, 'x');
        QTest::newRow("a link in an ordinary folder") << false << "8" << qint64(-1) << true;
        QTest::newRow("no new files: saved in place, list grows")
            << true << longer << qint64(-1) << false;
        QTest::newRow("no new files: through a link, list shrinks")
            << true << "" << qint64(-1) << true;
        QTest::newRow("no new files, no byte fits: old bytes back")
            << true << longer << qint64(0) << false;
        QTest::newRow("no new files, old bytes overwritten, then full: old bytes back")
            << true << longer << qint64(lines({FullRow}).size() * 40 + 10) << false;
    }
    void saveInPlace()
    {
        QFETCH(bool, refusing);
        QFETCH(QString, first);
        QFETCH(qint64, limit);
        QFETCH(bool, throughLink);
        const QString name = path("shared/p.csv"), opened = throughLink ? path("link.csv") : name;
        const QByteArray before = lines(QVector<QString>(40, FullRow).toList());
        writeFile(name, before);
        QVERIFY(QFile::setPermissions(name, Mode));
        QVERIFY(!throughLink || QFile::link(name, opened));
        RefusingFolder folder(path("shared"), refusing);
        if (!folder.works())
            QSKIP("this machine lets the folder take new files (no chattr +i, no permissions)");
        window = openWindow(opened);
        table(window.get())->item(0, 0)->setText(first);
        if (limit >= 0)
            expectMessage();
        {
            FileSizeLimit fileSize(limit);
            trigger(window.get(), "actionSpeichern");
        }
        QCOMPARE(takeMessages(),
                 limit < 0 ? QStringList() : QStringList {failedSave(opened, true)});
        QCOMPARE(window->windowTitle(), titleOf(opened, limit >= 0));
        QCOMPARE(readFile(name), limit < 0 ? first.toUtf8() + before.mid(1) : before);
        QVERIFY(!throughLink || QFileInfo(opened).isSymLink());
        QCOMPARE(QFileInfo(name).permissions() & 0x7077, Mode);
        QCOMPARE(QDir(path("shared")).entryList(QDir::Files | QDir::Hidden), QStringList {"p.csv"});
    }

    // The question before changes are lost: opening, quitting and closing the
    // window by its title bar; answers Ja, Nein and Abbrechen.
    void question_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveFails");
        const QMap<QString, int> answers = {{"Ja", QMessageBox::Yes},
                                            {"Nein", QMessageBox::No},
                                            {"Abbrechen", QMessageBox::Cancel}};
        for (const char *command : {"open", "quit", "close"}) {
            for (const QString &answer : answers.keys())
                QTest::addRow("%s, %s", command, qPrintable(answer))
                    << command << answers[answer] << false;
        }
        QTest::newRow("open, Ja, the save fails: goes on after its message")
            << "open" << int(QMessageBox::Yes) << true;
    }
    void question()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(bool, saveFails);
        const QString name = writeFile(path("sub/a.csv"), lines({FullRow}));
        window = openWindow(name);
        window->show();
        table(window.get())->item(0, 0)->setText("99");
        QCOMPARE(window->windowTitle(), titleOf(name, true));
        QVERIFY(!saveFails || QDir(path("sub")).removeRecursively());
        const bool goesOn = answer != QMessageBox::Cancel,
                   saved = answer == QMessageBox::Yes && !saveFails;
        expectMessage(QMessageBox::StandardButton(answer));
        if (saveFails)
            expectMessage();
        if (command == "open" && goesOn)
            expectFile(""); // the file dialog comes after the answer
        if (command == "close")
            window->close();
        else
            trigger(window.get(), command == "open" ? "actionOeffnen" : "actionBeenden");
        QCOMPARE(takeMessages().value(0),
                 "Ungesicherte Daten!|Datei\n" + name + "\njetzt speichern?");
        QCOMPARE(readFile(name).startsWith("99;"), saved);
        QCOMPARE(window->windowTitle(), titleOf(name, !saved));
        QCOMPARE(window->isVisible(), command == "open" || !goesOn);
        if (!window->isVisible())
            window.reset(); // asks nothing more
    }

    // Random tables entered, saved and opened again: every cell comes back, and
    // a file the program wrote keeps its bytes when opened and saved unchanged.
    void roundTrip_data()
    {
        QTest::addColumn<quint32>("seed");
        bool given = false;
        quint32 seed = qEnvironmentVariableIntValue("VORLAN_ROUNDTRIP_SEED", &given);
        seed = given ? seed : 4711;
        qInfo("seed %u (VORLAN_ROUNDTRIP_SEED repeats a run)", seed);
        QRandomGenerator seeds(seed);
        for (int i = 0; i < 30; ++i)
            QTest::addRow("table %d", i) << seeds.generate();
    }
    void roundTrip()
    {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        const auto below = [&](int n) { return int(random.bounded(quint32(n))); };
        // Plan list letters and what trips up CSV tools; never ";" or a line break.
        const QString alphabet =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789äöüÄÖÜß"
            "    \"\"'',,..--/()&+:!?#%€°²§@_=<>*\t\u00A0";
        const auto text = [&](int maxLength) {
            QString s;
            for (int i = below(maxLength + 1); i > 0; --i)
                s += alphabet.at(below(alphabet.size()));
            return s;
        };
        const QString file = writeFile(path("Rundreise Pläne.csv"), "");
        window = openWindow(file);
        QTableWidget *tab = table(window.get());
        // Rows pasted as text with blanks around the values; the explanation
        // field (column 19) takes 30 characters.
        QList<QStringList> entered;
        for (int r = below(9); r > 0; --r) {
            QStringList fields, cells;
            for (int c = 0; c < 28; ++c) {
                const QStringList values = vocabulary(c);
                const QString value = values.isEmpty() ? text(40) : values.at(below(values.size()));
                fields << QString(below(3), ' ') + value + QString(below(3), ' ');
                cells << value.trimmed().left(c == 19 ? 30 : -1);
            }
            QVERIFY(window->insertRowFromText(tab->rowCount(), fields.join(';')));
            entered << cells;
        }
        // Values with blanks around them, as the in-place editor hands them over.
        for (int i = entered.isEmpty() ? 0 : below(8); i > 0; --i) {
            const int r = below(entered.size()), c = below(28);
            if (!tab->cellWidget(r, c))
                tab->model()->setData(tab->model()->index(r, c),
                                      entered[r][c] = " " + text(30) + " ");
        }
        QStringList asEntered, trimmed;
        for (QStringList &row : entered) {
            asEntered << row.join(';');
            for (QString &cell : row)
                cell = cell.trimmed();
            trimmed << row.join(';');
        }
        trigger(window.get(), "actionSpeichern");
        QCOMPARE(readFile(file), lines(asEntered));
        expectFile(file);
        trigger(window.get(), "actionOeffnen");
        QCOMPARE(rowTexts(window.get()), trimmed);
        trigger(window.get(), "actionSpeichern");
        QCOMPARE(readFile(file), lines(trimmed));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Run by startup(): the program's start-up, its file dialog answered from
    // the command line.
    if (app.arguments().value(1) == "--startup") {
        startTesting();
        expectFile(app.arguments().value(2));
        VorlanCSV window;
        QTextStream(stdout) << "constructed" << Qt::endl;
        return 0;
    }
    TestDocument test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_document.moc"
