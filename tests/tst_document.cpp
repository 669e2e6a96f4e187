// Plan lists through the window's commands: the form, files normal and hostile opened and saved,
// failed saves, the questions before work is lost, locks and the recovery copy.
#include "PlanFileReader.h"
#include "RecoveryCopy.h"
#include "TestSupport.h"

#include <QtTest>
#include <QtWidgets>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestSupport;

namespace {

const QString FullRow = "7;Plan 3;a.pdf;Haus A;x;1;2;D-001;;;;;;;;;;Grundriss EG;12;Erste Ausgabe;"
                        "A1;Müller GmbH;Erdgeschoss;Elektro;1:50;Grundriss;T-4;PDF";
const QStringList FiveRows = QVector<QString>(5, FullRow).toList();
const QFile::Permissions Mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;

// How the chosen file reaches the open command; from Vanishes on it cannot be read.
enum How { AtStartUp, FromMenu, VanishesAtStartUp, VanishesFromMenu, Pipe, Device };
struct OpenCase
{
    QString name; // in a fresh folder
    QByteArray bytes;
    How how;
    QStringList rows, refused; // the table's rows once the file is read; the lines named
};

// Locks beside a list before it is opened, besides their bytes; a folder cannot be read.
const QByteArray NoLock = "(none)", LockFolder = "(a folder)", RunningWindow = "(running)";
const QString Unknown = "05.03.2024 09:41 von einem unbekannten Benutzer";
// The system user of the tests, as a lock names it; ";" is escaped there.
const QByteArray User = "bauer;e", UserField = "bauer\\;e";

enum SaveFailure { Saved, NoByteFits, FullPartWay, FullAfterOldBytes, RenameRefused };

// The program's settings and every file below `folder` but the locks, with content and time.
QMap<QString, QString> diskState(const QString &folder)
{
    QMap<QString, QString> state = {{"", readFile(QSettings("Quellor", "VorlanCSV").fileName())}};
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString file = it.next(); // before the content is read
        if (!it.fileName().startsWith(".~lock."))
            state[file] = readFile(file) + it.fileInfo().lastModified().toString(Qt::ISODateWithMs);
    }
    return state;
}

// A folder that takes no new files, its files writable: immutable for root, else read-only.
void refuseNewFiles(const QString &folder, bool on)
{
    if (geteuid() == 0)
        QProcess::execute("chattr", {"-f", on ? "+i" : "-i", folder});
    else // r-x or rwx for the owner
        QFile::setPermissions(folder, QFile::Permissions(on ? 0x5000 : 0x7000));
}

// Edits of each kind on five FullRows: a plain cell, a drop-down, the explanation, a row deleted
// and an empty one inserted; once the copy is written, a drop-down again. Returns the rows.
QStringList makeEdits(VorlanCSV *window)
{
    window->show();
    window->resize(3000, 600); // every column in sight, with its editors
    PlanTable *tab = table(window);
    editCell(tab, 0, 1, "Plan 99");
    QTest::keyClick(tab->cellEditor(1, 20), Qt::Key_Down);
    QTest::keyClicks(tab->cellEditor(2, 19), " neu");
    rightClick(tab, tab->visualRect(tab->model()->index(3, 0)).center(), "Löschen");
    rightClick(tab, tab->visualRect(tab->model()->index(0, 0)).center(), "Leere Zeile einfügen");
    while (!QFile::exists(RecoveryCopy::fileFor(qEnvironmentVariable("VORLAN_HOLD_LIST"))))
        QTest::qWait(10);
    QTest::keyClick(tab->cellEditor(2, 20), Qt::Key_Down);
    return rowTexts(window);
}

} // namespace

Q_DECLARE_METATYPE(OpenCase)

class TestDocument : public WindowTest
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;

    QString path(const QString &name) const { return dir->filePath(name); }

private slots:
    void init() { dir = std::make_unique<QTemporaryDir>(); }

    void form()
    {
        window = openWindow(writeFile(path("a.csv"), planFile({FullRow})));
        QStringList texts; // at device pixel ratio 1 an icon is its 32 x 32 image, never grown
        for (const char *name : {"menuBar", "menuDatei", "toolBar"})
            for (QAction *action : window->findChild<QWidget *>(name)->actions())
                texts << action->text() + QString::number(action->icon().pixmap(64).width());
        QCOMPARE(texts.join(' '),
                 "Datei0 Oeffnen32 Speichern32 Drucken32 0 Beenden32 Oeffnen32 "
                 "Speichern32 Drucken32 0 Beenden32");
    }

    // Files through the open command; what the table shows a save then writes, in UTF-8. How
    // any bytes split into lines and fill rows, the reader and row fuzz targets check.
    void open_data()
    {
        QTest::addColumn<OpenCase>("c");
        const auto add = [](const char *what, const QString &name, const QByteArray &bytes, How how,
                            const QStringList &rows = {}, const QStringList &refused = {}) {
            QTest::newRow(what) << OpenCase {name, bytes, how, rows, refused};
        };
        const QString ab = "a;b" + QString(26, ';'), line29 = FullRow + ";x",
                      megabytes(4 << 20, 'x');
        const QString umlauts = "1;Grüße, Maß & Öl – 20 € für Jörg Weiß",
                      utf16 = QChar(QChar::ByteOrderMark) + umlauts + "\r\n" + FullRow + "\r\n";
        add("empty file from the menu, its path with umlauts and blanks: no rows left",
            "Pläne Süd/Übersicht März – Bauteil Ö.csv", "", FromMenu);
        add("CR LF; lines of 29 fields refused, named without their CR", "p.csv",
            planFile({line29 + "\r", "a;b\r", line29 + "\r"}), AtStartUp, {ab}, {line29, line29});
        add("UTF-16 with byte-order mark and CR LF", "utf16.csv",
            QByteArray(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2), AtStartUp,
            {umlauts + QString(26, ';'), FullRow});
        add("Windows-1252 line keeps its umlauts and signs, saved as UTF-8", "p.csv",
            "1;Gr\xFC\xDF aus K\xF6ln;\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E;"
            "\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F\n"
                + FullRow.toUtf8(),
            AtStartUp,
            {"1;Grüß aus Köln;€‚ƒ„…†‡ˆ‰Š‹ŒŽ;‘’“”•–—˜™š›œžŸ" + QString(24, ';'), FullRow});
        const QString line1000 = QString(972, 'y') + QString(28, ';'); // 29 fields
        add("lines of 4 MiB and of 1,000 characters refused, named by their first 1,000",
            "lang.csv",
            planFile({megabytes + QString(40, ';'), line1000, megabytes + FullRow.mid(1)}),
            AtStartUp, {megabytes + FullRow.mid(1)}, {QString(1000, 'x') + " …", line1000});
        add("file gone at start-up: empty table under its name", "weg.csv", "x", VanishesAtStartUp);
        add("file gone, from the menu: the previous document stays", "weg.csv", "x",
            VanishesFromMenu, FiveRows);
        QStringList foreign = FullRow.split(';');
        foreign[20] = "DIN A5", foreign[22] = " 8. Obergeschoss ", foreign[23] = "";
        foreign[24] = "1:33", foreign[25] = "grundriss";
        add("values the word lists lack are kept, an empty one shows ---", "p.csv",
            planFile({foreign.join(';')}), AtStartUp,
            {foreign.join(';').replace(" 8. Obergeschoss ;;", "8. Obergeschoss;---;")});
        add("named pipe: no waiting for a writer", "pipe.csv", "", Pipe);
        add("device: no reading without end", "/dev/zero", "", Device);
    }
    void open()
    {
        QFETCH(OpenCase, c);
        const QString file = QDir(dir->path()).filePath(c.name), previous = path("vorher.csv");
        if (c.how == Pipe)
            QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        else if (c.how != Device)
            writeFile(file, c.bytes);
        const bool fromMenu = c.how == FromMenu || c.how == VanishesFromMenu;
        if (fromMenu)
            window = openWindow(writeFile(previous, planFile(FiveRows)));
        QMap<QString, QString> disk = diskState(dir->path());
        expectFile(file, [&] {
            if ((c.how == VanishesAtStartUp || c.how == VanishesFromMenu) && QFile::remove(file))
                disk.remove(file);
        });
        // Behind a refused line's message the table shows the rows read before it.
        QStringList before;
        for (const QString &line : PlanFileReader::splitLines(c.bytes)) {
            if (line.count(';') < 28)
                before << "";
            else
                expect<QMessageBox>([n = before.size(), &c](QMessageBox *box) {
                    box->accept();
                    auto *behind = static_cast<VorlanCSV *>(box->parentWidget());
                    QVERIFY(table(behind)->viewport()->isVisibleTo(behind));
                    QCOMPARE(rowTexts(behind).mid(0, n), c.rows.mid(0, n));
                });
        }
        if (c.how >= VanishesAtStartUp)
            expectMessage();
        if (fromMenu)
            trigger(window.get(), "actionOeffnen");
        else
            window = std::make_unique<VorlanCSV>();
        QStringList messages;
        for (const QString &line : c.refused)
            messages << "|Die Zeile:\n\n" + line
                    + "\nenthält einen Fehler (z.B. mehr als 27 Spalten). Zeile ignoriert.";
        if (c.how >= VanishesAtStartUp)
            messages << "|Die Datei " + file + " kann nicht zum Lesen geöffnet werden.";
        QCOMPARE(takeMessages(), messages);
        const QString shown = c.how < VanishesAtStartUp ? file : fromMenu ? previous : QString();
        QCOMPARE(window->windowTitle(), shown.isEmpty() ? "VorlanCSV" : titleOf(shown));
        QCOMPARE(rowTexts(window.get()), c.rows);
        QCOMPARE(diskState(dir->path()), disk); // nothing written on its own
        if (c.how >= Pipe)
            return;
        trigger(window.get(), "actionSpeichern");
        const QString saved = shown.isEmpty() ? file : shown;
        QCOMPARE(window->windowTitle(), titleOf(saved));
        QCOMPARE(QFile::exists(file), c.how != VanishesFromMenu);
        QCOMPARE(readFile(saved), planFile(c.rows));
    }

    // A failed save keeps the old file byte for byte, tells why and leaves the title marked; in a
    // folder that takes no new files it writes in place; links are saved through, the mode stays.
    void save_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("failure");
        const auto row = [](const QString &what, int rows, const char *how, SaveFailure failure) {
            QTest::newRow(qPrintable(what)) << rows << QString(how) << int(failure);
        };
        for (int rows : {1, 40, 1000}) { // 130 bytes to 130 KB: below and above the 16 KB buffer
            row(QString("%1 rows, no byte fits: old file kept").arg(rows), rows, "", NoByteFits);
            row(QString("%1 rows, full part-way: old file kept").arg(rows), rows, "", FullPartWay);
        }
        row("append-only file refuses the rename", 40, "", RenameRefused);
        row("a link in an ordinary folder", 40, "link", Saved);
        row("no new files: saved in place, list grows", 40, "no new files", Saved);
        row("no new files: through a link, list shrinks", 40, "no new files, link", Saved);
        row("no new files, no byte fits: old bytes back", 40, "no new files", NoByteFits);
        row("no new files, old bytes overwritten, then full: old bytes back", 40, "no new files",
            FullAfterOldBytes);
    }
    void save()
    {
        QFETCH(int, rows);
        QFETCH(QString, how);
        QFETCH(int, failure);
        const bool refusing = how.startsWith("no new files");
        const QString first = !refusing ? "8" : how.endsWith("link") ? "" : QString(100, 'x');
        const QString name = path("sub/p.csv"),
                      opened = how.endsWith("link") ? path("link.csv") : name;
        const QByteArray before = planFile(QVector<QString>(rows, FullRow).toList());
        QVERIFY(QFile::setPermissions(writeFile(name, before), Mode));
        QVERIFY(opened == name || QFile::link(name, opened));
        if (failure == RenameRefused
            && (geteuid() != 0 || QProcess::execute("chattr", {"+a", name}) != 0))
            QSKIP("making a file append-only needs root and chattr");
        refuseNewFiles(path("sub"), refusing);
        const auto undo = qScopeGuard([&] {
            refuseNewFiles(path("sub"), false);
            QProcess::execute("chattr", {"-f", "-a", name});
        });
        if (refusing && QFile(path("sub/probe")).open(QIODevice::WriteOnly))
            QSKIP("this machine lets the folder take new files (no chattr +i, no permissions)");
        window = openWindow(opened);
        editCell(table(window.get()), 0, 0, first);
        QSettings("Quellor", "VorlanCSV").setValue("lastpath", "/elsewhere");
        if (failure != Saved)
            expectMessage();
        // A limit on the size of the files this process writes, as a full disk would be.
        const QMap<int, qint64> limits = {{NoByteFits, 0},
                                          {FullPartWay, before.size() / 2},
                                          {FullAfterOldBytes, before.size() + 10}};
        rlimit old, limited;
        getrlimit(RLIMIT_FSIZE, &old);
        limited = {rlim_t(limits.value(failure, old.rlim_cur)), old.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        trigger(window.get(), "actionSpeichern");
        setrlimit(RLIMIT_FSIZE, &old);
        QCOMPARE(takeMessages().join(""),
                 failure == Saved
                     ? ""
                     : "|Die Datei\n" + opened + "\nkonnte nicht vollständig geschrieben werden.");
        QCOMPARE(window->windowTitle(), titleOf(opened, failure != Saved));
        QCOMPARE(readFile(name), failure == Saved ? first.toUtf8() + before.mid(1) : before);
        QCOMPARE(QDir(path("sub")).entryList(QDir::Files | QDir::Hidden).join(' '),
                 refusing || opened != name ? "p.csv" : ".~lock.p.csv# p.csv");
        QCOMPARE(QFileInfo(name).permissions() & 0x7077, Mode);
        QCOMPARE(QFileInfo(opened).isSymLink(), opened != name);
        QCOMPARE(QSettings("Quellor", "VorlanCSV").value("lastpath"), QFileInfo(opened).path());
    }

    // Opening, quitting and closing by the title bar ask to save ("Ja" whose save fails keeps the
    // edits); a save asks before it overwrites another program's change ("Nein" writes nothing,
    // stops a quit). The recovery copy is kept exactly while the window shows changes not saved.
    void question_data()
    {
        QTest::addColumn<QString>("command"); // a toolbar action, close by the title bar, undo
        QTest::addColumn<int>("answer");      // to the question to save; 0: none
        QTest::addColumn<QString>("twist");   // the save fails, only typed, or the file changed
        QTest::addColumn<int>("overwrite");   // the answer to "Datei geändert"; 0: not asked
        const int yes = QMessageBox::Yes, no = QMessageBox::No;
        const QMap<int, QString> names = {
            {yes, "Ja"}, {no, "Nein"}, {QMessageBox::Cancel, "Abbrechen"}};
        const auto row = [](const QString &what, const QString &command, int answer,
                            const QString &twist, int overwrite = 0) {
            QTest::newRow(qPrintable(what)) << command << answer << twist << overwrite;
        };
        const QList<QPair<QString, QString>> commands = {
            {"open", "Oeffnen"}, {"quit", "Beenden"}, {"close", "close"}};
        for (const auto &[name, command] : commands) {
            for (int a : names.keys())
                row(name + ", " + names[a], command, a, "");
            for (const QString twist : {"the save fails", "typed without Enter"})
                row(name + ", Ja, " + twist, command, yes, twist);
        }
        row("save, the file rewritten, Nein: theirs kept", "Speichern", 0, "rewritten", no);
        row("save, the file rewritten, Ja: ours written", "Speichern", 0, "rewritten", yes);
        row("save, the file replaced by a rename, Nein: kept", "Speichern", 0, "renamed", no);
        row("save, the file removed: written without asking", "Speichern", 0, "removed");
        row("save after our own save: not asked", "Speichern", 0, "saved");
        row("quit, Ja, the file rewritten, then Nein: stays", "Beenden", yes, "rewritten", no);
        row("open, Nein, another list: a new history, no copy", "Oeffnen", no, "another list");
        row("open, Nein, a file gone: the changes shown keep their copy", "Oeffnen", no, "gone");
        row("undone to the file: no copy", "undo", 0, "");
    }
    void question()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(QString, twist);
        QFETCH(int, overwrite);
        const QString list = writeFile(path("sub/a.csv"), planFile({FullRow})),
                      copy = RecoveryCopy::fileFor(list);
        const QByteArray theirs = "fremd;\r\n", ours = planFile({"99" + FullRow.mid(1)});
        window = openWindow(list);
        window->show();
        PlanTable *tab = table(window.get());
        const bool typedOnly = twist == "typed without Enter",
                   saveFails = twist == "the save fails";
        typedOnly ? tab->editItem(tab->item(0, 0)) : editCell(tab, 0, 0, "99");
        if (typedOnly)
            QTest::keyClicks(tab->indexWidget(tab->model()->index(0, 0)), "99");
        QCOMPARE(window->windowTitle(), titleOf(list, !typedOnly));
        QTRY_VERIFY(QFile::exists(copy));
        QCOMPARE(QDir(path("sub")).entryList(QDir::Files | QDir::Hidden), // beside it, its lock
                 QStringList({".~lock.a.csv#", "a.csv"}));
        if (twist == "saved")
            trigger(window.get(), "actionSpeichern");
        if (twist == "rewritten")
            writeFile(list, theirs);
        if (twist == "renamed")
            QCOMPARE(std::rename(qPrintable(writeFile(path("sub/neu"), theirs)), qPrintable(list)),
                     0);
        QVERIFY(twist != "removed" || QFile::remove(list));
        QVERIFY(!saveFails || QDir(path("sub")).removeRecursively());
        const bool saved = (answer == QMessageBox::Yes || command == "Speichern") && !saveFails
            && overwrite != QMessageBox::No,
                   goesOn = saved || answer == QMessageBox::No;
        QStringList asked;
        if (answer)
            asked << "Ungesicherte Daten!|Datei\n" + list + "\njetzt speichern?";
        if (saveFails)
            asked << "|Die Datei\n" + list + "\nkann nicht zum Schreiben geöffnet werden.";
        if (twist == "gone")
            asked << "|Die Datei " + path("weg.csv") + " kann nicht zum Lesen geöffnet werden.";
        if (overwrite)
            asked << "Datei geändert|Die Datei\n" + list
                    + "\nwurde geändert, seit sie geöffnet oder gespeichert wurde.\n"
                      "Trotzdem speichern und diese Änderungen überschreiben?";
        if (answer)
            expectMessage(QMessageBox::StandardButton(answer));
        if (saveFails)
            expectMessage();
        if (overwrite) // "Nein" by Enter, the default
            expect<QMessageBox>([=](QMessageBox *box) {
                overwrite == QMessageBox::Yes ? box->button(QMessageBox::Yes)->click()
                                              : QTest::keyClick(box, Qt::Key_Enter);
            });
        const bool replaced = twist == "another list", undone = command == "undo";
        if (command == "Oeffnen" && goesOn) // the file dialog comes after the answer; "gone" as
            expectFile(replaced ? writeFile(path("other.csv"), planFile({FullRow})) // it is chosen
                           : twist == "gone" ? writeFile(path("weg.csv"), "x")
                                             : "",
                       [=] { QFile::remove(path("weg.csv")); });
        if (twist == "gone")
            expectMessage();
        QApplication::setActiveWindow(window.get()); // offscreen, a closed menu can stay
        if (undone)
            QTest::keyClick(tab, Qt::Key_Z, Qt::ControlModifier);
        else if (command == "close")
            window->close();
        else
            clickTool(window.get(), qPrintable("action" + command));
        QCOMPARE(takeMessages(), asked);
        const QByteArray onDisk = twist == "rewritten" || twist == "renamed" ? theirs
            : saveFails                                                      ? "(unreadable)"
                                                                             : planFile({FullRow});
        QCOMPARE(readFile(list), saved ? ours : onDisk);
        const bool shown = command == "Oeffnen" || command == "Speichern" || undone || !goesOn,
                   changed = !saved && !undone && !replaced; // the changes in the table
        QCOMPARE(window->isVisible(), shown);
        QCOMPARE(window->windowTitle(), titleOf(replaced ? path("other.csv") : list, changed));
        QCOMPARE(tab->item(0, 0)->text(), undone || replaced ? "7" : "99");
        QCOMPARE(QFile::exists(path("sub/.~lock.a.csv#")), shown && !saveFails && !replaced);
        QTRY_COMPARE(QFile::exists(copy), shown && changed);
        if (!window->isVisible())
            window.reset(); // asks nothing more
    }

    // Beside a list open here lies our lock in the office suites' format until it is closed.
    // Someone else's lock, or one we cannot read, asks first; ours left by a crash is taken over.
    void lock_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::addColumn<QString>("holder"); // as the question names it; empty: no question
        QTest::addColumn<int>("answer");
        const auto row = [](const char *what, const QByteArray &lock, const QString &holder = {},
                            int answer = QMessageBox::Yes) {
            QTest::newRow(what) << lock << holder << answer;
        };
        const QByteArray ours =
            UserField + ',' + UserField + ',' + QSysInfo::machineHostName().toUtf8();
        row("free: ours while open, the previous list's gone", NoLock);
        row("ours left by a crash: taken over", ours + ",01.02.2020 08:00,x;");
        row("ours of another running window: asked", RunningWindow, "%1 von " + User);
        row("the same user's spreadsheet program's, Nein: the file dialog again",
            ',' + ours.mid(UserField.size() + 1) + ",05.03.2024 09:41,file:///office/4;",
            "05.03.2024 09:41 von " + User, QMessageBox::No);
        row("a spreadsheet program's, escaped , ; \\ in its fields, Ja: theirs kept",
            "Bau\\, Plan\\; A\\\\B,b\\,p,pc7,05.03.2024 09:41,x\\;y;",
            "05.03.2024 09:41 von Bau, Plan; A\\B");
        row("ours but malformed: four fields, asked", ours + ",x;", Unknown);
        row("empty: asked with the lock's time", "", Unknown);
        row("unreadable: asked with its time", LockFolder, Unknown);
    }
    void lock()
    {
        QFETCH(QByteArray, lock);
        QFETCH(QString, holder);
        QFETCH(int, answer);
        const QString list = writeFile(path("p.csv"), planFile({FullRow})),
                      previous = writeFile(path("vorher.csv"), planFile(FiveRows)),
                      ours = path(".~lock.p.csv#");
        window = openWindow(previous);
        QProcess second; // a second window of ours on the list, in a process of its own
        second.setEnvironment(QProcess::systemEnvironment() << "VORLAN_HOLD_LIST=" + list);
        if (lock == RunningWindow) {
            second.start(QCoreApplication::applicationFilePath(), QStringList());
            QVERIFY(second.waitForReadyRead(30000));
            lock = readFile(ours);
            holder = holder.arg(QString(lock).section(',', 3, 3));
        } else if (lock == LockFolder) {
            QVERIFY(QDir().mkdir(ours));
        } else if (lock != NoLock) {
            writeFile(ours, lock);
        }
        QProcess::execute("touch", {"-c", "-d", "2024-03-05 09:41", ours});
        expectFile(list);
        if (!holder.isEmpty())
            expectMessage(QMessageBox::StandardButton(answer));
        if (answer == QMessageBox::No)
            expectFile("");
        trigger(window.get(), "actionOeffnen");
        QCOMPARE(takeMessages().join(""),
                 holder.isEmpty() ? ""
                                  : "Datei in Bearbeitung|Die Datei\n" + list + "\nwird seit "
                         + holder + " bearbeitet.\nTrotzdem öffnen?");
        const bool opened = answer == QMessageBox::Yes, taken = opened && holder.isEmpty();
        QCOMPARE(window->windowTitle(), titleOf(opened ? list : previous));
        QCOMPARE(QFile::exists(path(".~lock.vorher.csv#")), !opened);
        const auto written =
            QRegularExpression("^" + QRegularExpression::escape(UserField + ',' + UserField + ',')
                               + QSysInfo::machineHostName() + ",(.{16}),file://"
                               + QFileInfo(QSettings("Quellor", "VorlanCSV").fileName()).path()
                               + ";$")
                .match(readFile(ours));
        const auto since = QDateTime::fromString(written.captured(1), "dd.MM.yyyy hh:mm");
        QCOMPARE(taken, written.hasMatch() && since.secsTo(QDateTime::currentDateTime()) < 120);
        QVERIFY(taken || readFile(ours) == (lock == LockFolder ? "(unreadable)" : lock));
        trigger(window.get(), "actionBeenden");
        QCOMPARE(QFile::exists(ours), !taken);
        if (second.state() == QProcess::Running) { // the other window takes its own lock away
            second.closeWriteChannel();
            QVERIFY(second.waitForFinished() && !QFile::exists(ours));
        }
    }

    // While a list has changes not yet saved, a copy of the table in the data folder survives a
    // kill; opened again, the list offers it. When the copy goes, the question test holds.
    void recovery_data()
    {
        QTest::addColumn<QString>("after"); // the edits and the kill
        QTest::addColumn<int>("answer");    // to the question to recover
        const int yes = QMessageBox::Yes, no = QMessageBox::No;
        QTest::newRow("Ja: every edit, one undo to the file") << "" << yes;
        QTest::newRow("Nein: the file, no copy") << "" << no;
        QTest::newRow("the file rewritten, Ja: the save asks") << "rewritten" << yes;
        QTest::newRow("the copy torn: named, kept, not offered") << "torn" << 0;
    }
    void recovery()
    {
        QFETCH(QString, after);
        QFETCH(int, answer);
        const QString list = writeFile(path("p.csv"), planFile(FiveRows)),
                      copy = RecoveryCopy::fileFor(list);
        QProcess child; // opens the list, edits it and writes out its rows
        child.setEnvironment(QProcess::systemEnvironment()
                             << "VORLAN_HOLD_LIST=" + list << "VORLAN_EDIT=1");
        child.start(QCoreApplication::applicationFilePath(), QStringList());
        QByteArray out;
        while (!out.endsWith("open\n") && child.waitForReadyRead(30000))
            out += child.readAll();
        const QDeadlineTimer kill(1000); // a second after the last edit
        const QStringList edited = QString::fromUtf8(out).split('\n').mid(0, out.count('\n') - 1);
        QVERIFY(edited != FiveRows);
        QTRY_VERIFY_WITH_TIMEOUT(kill.hasExpired(), 5000);
        child.kill();
        QVERIFY(child.waitForFinished());
        if (after == "rewritten")
            writeFile(list, "fremd;\n");
        if (after == "torn")
            QVERIFY(QFile::resize(copy, QFileInfo(copy).size() / 2));
        const QByteArray copyBytes = readFile(copy);
        expectFile(list);
        expectMessage(answer ? QMessageBox::StandardButton(answer) : QMessageBox::Ok);
        window = std::make_unique<VorlanCSV>();
        const QStringList disk =
            after == "rewritten" ? QStringList("fremd;" + QString(26, ';')) : FiveRows;
        const QString message = takeMessages().join("").replace(
            QRegularExpression("vom \\d\\d\\.\\d\\d\\.20\\d\\d \\d\\d:\\d\\d\\."), "vom T.");
        QCOMPARE(message,
                 after == "torn" ? "|Die Wiederherstellungsdatei\n" + copy
                         + "\nkann nicht gelesen werden und bleibt erhalten."
                                 : "Wiederherstellen|Für die Datei\n" + list
                         + "\ngibt es ungesicherte Änderungen vom T.\nWiederherstellen?");
        const bool taken = answer == QMessageBox::Yes;
        QCOMPARE(rowTexts(window.get()), taken ? edited : disk);
        QCOMPARE(window->windowTitle(), titleOf(list, taken));
        if (after == "torn") { // kept as it was, and moved aside as the next copy is written
            QCOMPARE(readFile(copy), copyBytes);
            editCell(table(window.get()), 0, 1, "neu");
            QTRY_COMPARE(readFile(copy + ".unreadable"), copyBytes);
            return;
        }
        if (after == "rewritten") { // Nein, the default, to overwriting their change
            expectMessage(QMessageBox::No);
            trigger(window.get(), "actionSpeichern");
            QCOMPARE(takeMessages().value(0).section('|', 0, 0), "Datei geändert");
            QCOMPARE(readFile(list), QByteArray("fremd;\n"));
        }
        if (taken) {
            QTRY_VERIFY(QFile::exists(copy)); // recorded again
            window->show();
            QApplication::setActiveWindow(window.get());
            QTest::keyClick(table(window.get()), Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(rowTexts(window.get()), disk);
            QCOMPARE(window->windowTitle(), titleOf(list));
        }
        QTRY_VERIFY(!QFile::exists(copy));
    }
};

// With VORLAN_HOLD_LIST, a second window of ours that holds that list until its input ends; with
// VORLAN_EDIT as well, it edits the list, writes the rows out and waits to be killed.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    qputenv("USER", User);
    if (!qEnvironmentVariableIsSet("VORLAN_HOLD_LIST")) {
        TestDocument test;
        return QTest::qExec(&test, argc, argv);
    }
    startTesting();
    auto window = openWindow(qEnvironmentVariable("VORLAN_HOLD_LIST"));
    if (!qEnvironmentVariableIsSet("VORLAN_EDIT")) {
        QTextStream(stdout) << "open" << Qt::endl;
        return std::getchar() == EOF ? 0 : 1;
    }
    QTextStream(stdout) << makeEdits(window.get()).join('\n') << "\nopen" << Qt::endl;
    return app.exec();
}

#include "tst_document.moc"
