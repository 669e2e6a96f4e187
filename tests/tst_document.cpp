// Opening, saving and closing plan files through the main window's commands,
// with the file dialog and message boxes driven as a user would.
#include "TestSupport.h"
#include "VorlanCSV.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace TestSupport;

class TestDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { isolateSettings(); }
    void init();
    void cleanup();

    void startupCancelEndsProcess();
    void startupWithUnreadableFileKeepsPath();
    void formAndWidths();

    void openLines_data();
    void openLines();
    void openRejectsLongLine();
    void openLeavesOnlyDocumentRows();
    void openFromMenu();
    void failedOpenKeepsPreviousDocument();

    void saveWritesEveryRow_data();
    void saveWritesEveryRow();
    void saveUnderUmlautPath();
    void saveFails_data();
    void saveFails();
    void saveInFolderTakingNoNewFiles_data();
    void saveInFolderTakingNoNewFiles();
    void saveKeepsLinkAndMode();

    void questionAnswers_data();
    void questionAnswers();
    void titleBarCloseAsksBeforeClosing();
    void messagesArePlainText();

private:
    QString path(const QString &name) const { return dir->filePath(name); }
    void trigger(const char *name) { window->findChild<QAction *>(name)->trigger(); }
    QString title(const QString &name, bool modified = false) const
    {
        return "VorlanCSV - " + path(name) + (modified ? " *" : "");
    }
    QStringList rows() const;

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<VorlanCSV> window;
};

static const QByteArray FullRow =
    "7;Plan 3;a.pdf;Haus A;x;1;2;D-001;;;;;;;;;;Grundriss EG;12;Erste Ausgabe;A1;Müller GmbH;"
    "Erdgeschoss;Elektro;1:50;Grundriss;T-4;PDF";

// The next file dialog chooses `file`, which is gone before it can be read.
static void chooseVanishingFile(const QString &file)
{
    onNextModalOf<QFileDialog>([file](QFileDialog *dialog) {
        QObject::connect(dialog, &QDialog::accepted, [file]() { QFile::remove(file); });
        acceptFile(dialog, file);
    });
}

void TestDocument::init()
{
    dir = std::make_unique<QTemporaryDir>();
    writeFile(path("a.csv"), FullRow + "\n");
}

void TestDocument::cleanup()
{
    discardWindow(window);
    cancelPendingModalActions();
}

QStringList TestDocument::rows() const
{
    QStringList texts;
    for (int r = 0; r < table(window.get())->rowCount(); ++r)
        texts << window->rowText(r);
    return texts;
}

void TestDocument::startupCancelEndsProcess()
{
    QProcess probe;
    probe.start(STARTUP_PROBE, {"cancel"});
    QVERIFY(probe.waitForFinished(60000));
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QCOMPARE(probe.exitCode(), 255); // exit status -1
    QVERIFY(!probe.readAllStandardOutput().contains("constructed"));

    probe.start(STARTUP_PROBE, {path("a.csv")});
    QVERIFY(probe.waitForFinished(60000));
    QCOMPARE(probe.exitCode(), 0);
    QCOMPARE(probe.readAllStandardOutput().trimmed(), QByteArray("constructed 0"));
}

void TestDocument::startupWithUnreadableFileKeepsPath()
{
    chooseVanishingFile(path("a.csv"));
    QString message;
    answerNextMessageBox(QMessageBox::Ok, &message);
    window = std::make_unique<VorlanCSV>();
    QCOMPARE(message, "Die Datei " + path("a.csv") + " kann nicht zum Lesen geöffnet werden.");
    QCOMPARE(window->windowTitle(), QString("VorlanCSV"));
    QCOMPARE(table(window.get())->rowCount(), 0);

    // The chosen path is the document: a save creates it.
    trigger("actionSpeichern");
    QVERIFY(QFile::exists(path("a.csv")));
    QCOMPARE(readFile(path("a.csv")), QByteArray());
}

void TestDocument::formAndWidths()
{
    window = openWindow(path("a.csv"));
    QCOMPARE(window->size(), QSize(969, 614));
    auto texts = [](const QList<QAction *> &actions) {
        QStringList list;
        for (QAction *action : actions) {
            list << (action->isSeparator() ? "|" : action->text());
            // An icon never grows beyond its 32 x 32 image.
            if (!action->isSeparator() && !action->menu())
                list.last() += QString::number(action->icon().pixmap(64).width());
        }
        return list;
    };
    QCOMPARE(texts(window->menuBar()->actions()), QStringList {"Datei"});
    const QStringList commands = {"Oeffnen32", "Speichern32", "Drucken32", "|", "Beenden32"};
    QCOMPARE(texts(window->findChild<QMenu *>("menuDatei")->actions()), commands);
    QCOMPARE(texts(window->findChild<QToolBar *>("toolBar")->actions()), commands);

    QTableWidget *tab = table(window.get());
    QStringList headers;
    QList<int> widths;
    for (int c = 0; c < tab->columnCount(); ++c) {
        headers << tab->horizontalHeaderItem(c)->text();
        widths << tab->columnWidth(c);
    }
    QCOMPARE(headers.join(','),
             QString("ExportID,3,Datei,Verzeichnis,6,1,7,DokuNr,9,10,11,12,"
                     "13,14,15,16,17,Beschreibung,BauNr,Erläuterung,Format,"
                     "Fremdfirma,Geschoß,Gewerk,Maßstab,Planart,Techn.Obj.,"
                     "DTYPE"));
    QCOMPARE(
        widths,
        QList<int>({40,  160, 40,  160, 160, 40,  40,
                    160, 40,  40,  40,  40,  40,  40,
                    40,  40,  40,  160, 40,  160, 80,
                    160, 160, 160, 80,  160, 80,  tab->horizontalHeader()->defaultSectionSize()}));

    // A second connection of an action would open a second dialog.
    int dialogs = 0;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, [&dialogs]() {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            ++dialogs;
            dialog->reject();
        }
    });
    watcher.start(10);
    trigger("actionOeffnen");
    QCOMPARE(dialogs, 1);
}

void TestDocument::openLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected"); // RowText of every row

    // A short line fills only its first columns; the rest read back empty.
    const QString shortTail = QString(";").repeated(26);
    const QStringList ab = {"a;b" + shortTail};
    QTest::newRow("empty file: no rows") << QByteArray() << QStringList();
    QTest::newRow("no line end") << QByteArray("a;b") << ab;
    QTest::newRow("LF") << QByteArray("a;b\n") << ab;
    QTest::newRow("CR LF") << QByteArray("a;b\r\n") << ab;
    QTest::newRow("empty line at the end is an empty row")
        << QByteArray(FullRow + "\n\n") << QStringList {FullRow, QString(";").repeated(27)};
    QTest::newRow("fields trimmed")
        << QByteArray(" 7 ;  Plan 3\t;a.pdf") << QStringList {"7;Plan 3;a.pdf" + shortTail.mid(1)};
    QTest::newRow("UTF-8 byte-order mark is not part of the first field")
        << QByteArray("\xEF\xBB\xBF" + FullRow + "\n") << QStringList {FullRow};
    QTest::newRow("UTF-16 with byte-order mark")
        << QByteArray("\xFF\xFE"
                      + QByteArray(reinterpret_cast<const char *>(QString(FullRow).utf16()),
                                   QString(FullRow).size() * 2))
        << QStringList {FullRow};
    QTest::newRow("Windows-1252 line keeps its umlauts")
        << QByteArray("1;Gr\xFC\xDF"
                      "e aus K\xF6ln\n"
                      + FullRow + "\n")
        << QStringList {"1;Grüße aus Köln" + shortTail, FullRow};
}

void TestDocument::openLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    if (QSysInfo::ByteOrder == QSysInfo::BigEndian && bytes.startsWith("\xFF\xFE"))
        QSKIP("the UTF-16 sample is built in host order");
    writeFile(path("p.csv"), bytes);
    window = openWindow(path("p.csv"));
    QCOMPARE(rows(), expected);
    QCOMPARE(window->windowTitle(), title("p.csv"));
}

void TestDocument::openRejectsLongLine()
{
    const QByteArray line29 = FullRow + ";extra";
    writeFile(path("p.csv"), line29 + "\n" + FullRow + "\n" + line29 + "\n");
    QStringList messages;
    answerEveryMessageBox(QMessageBox::Ok, &messages);
    window = openWindow(path("p.csv"));
    const QString expected = "Die Zeile:\n\n" + QString::fromUtf8(line29)
        + "\nenthält einen Fehler (z.B. mehr als 27 Spalten). Zeile ignoriert.";
    QCOMPARE(messages, QStringList({expected, expected}));
    QCOMPARE(rows(), QStringList {FullRow}); // the good line takes row 0
}

void TestDocument::openLeavesOnlyDocumentRows()
{
    writeFile(path("five.csv"), (FullRow + "\n").repeated(5));
    writeFile(path("three.csv"), "a\nb\nc\n");
    window = openWindow(path("five.csv"));
    chooseFileInNextDialog(path("three.csv"));
    trigger("actionOeffnen");
    QCOMPARE(table(window.get())->rowCount(), 3);
    trigger("actionSpeichern");
    const QByteArray tail = QString(";").repeated(27).toUtf8() + "\n";
    QCOMPARE(readFile(path("three.csv")), "a" + tail + "b" + tail + "c" + tail);
}

void TestDocument::openFromMenu()
{
    writeFile(path("b.csv"), "x;y\n");
    window = openWindow(path("a.csv"));
    window->show();
    chooseFileInNextDialog(path("b.csv"));
    trigger("actionOeffnen"); // loading marks cells, the end clears the mark
    QCOMPARE(window->windowTitle(), title("b.csv"));
    QCOMPARE(rows(), QStringList {"x;y" + QString(";").repeated(26)});

    // The dialog starts in the folder of the last save.
    trigger("actionSpeichern");
    QCOMPARE(QSettings("Quellor", "VorlanCSV").value("lastpath").toString(), dir->path());
    QString startDir;
    onNextModalOf<QFileDialog>([&startDir](QFileDialog *dialog) {
        startDir = dialog->directory().absolutePath();
        dialog->reject();
    });
    trigger("actionOeffnen");
    QCOMPARE(startDir, dir->path());
    QCOMPARE(window->windowTitle(), title("b.csv"));
}

void TestDocument::failedOpenKeepsPreviousDocument()
{
    writeFile(path("b.csv"), "x;y\n");
    window = openWindow(path("a.csv"));
    table(window.get())->item(0, 1)->setText("geändert");

    answerNextMessageBox(QMessageBox::No); // the question to save
    chooseVanishingFile(path("b.csv"));
    QString message;
    QTimer::singleShot(0, [&message] { answerNextMessageBox(QMessageBox::Ok, &message); });
    trigger("actionOeffnen");
    QCOMPARE(message, "Die Datei " + path("b.csv") + " kann nicht zum Lesen geöffnet werden.");
    QCOMPARE(window->windowTitle(), title("a.csv", true));

    trigger("actionSpeichern");
    QVERIFY(!QFile::exists(path("b.csv")));
    QVERIFY(readFile(path("a.csv")).startsWith("7;geändert;"));
}

void TestDocument::saveWritesEveryRow_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");
    const QByteArray emptyRow = QString(";").repeated(27).toUtf8() + "\n";
    QTest::newRow("empty table gives an empty file") << QByteArray() << QByteArray();
    QTest::newRow("blank line gives a row of empty cells") << QByteArray(" \n") << emptyRow;
    QTest::newRow("three rows, LF after each, UTF-8")
        << QByteArray(FullRow + "\r\n" + FullRow + "\r\n" + FullRow)
        << QByteArray(FullRow + "\n" + FullRow + "\n" + FullRow + "\n");
    QTest::newRow("Windows-1252 is saved as UTF-8") << QByteArray("Stra\xDF"
                                                                  "e\n")
                                                    << QByteArray("Straße") + emptyRow;
}

void TestDocument::saveWritesEveryRow()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    writeFile(path("p.csv"), input);
    window = openWindow(path("p.csv"));
    trigger("actionSpeichern");
    QCOMPARE(readFile(path("p.csv")), output);
}

void TestDocument::saveUnderUmlautPath()
{
    const QString name = path("Pläne Bau 2.csv");
    writeFile(name, FullRow + "\n");
    QFile::remove(path("a.csv"));
    window = openWindow(name);
    table(window.get())->item(0, 0)->setText("8");
    trigger("actionSpeichern");
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + name);
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList {"Pläne Bau 2.csv"});
    QVERIFY(readFile(name).startsWith("8;Plan 3;"));
}

// Limits the size of files this process may write, as a full disk would.
struct FileSizeLimit
{
    explicit FileSizeLimit(qint64 bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit limited = old;
        limited.rlim_cur = rlim_t(bytes);
        if (bytes >= 0 && setrlimit(RLIMIT_FSIZE, &limited) != 0)
            qFatal("cannot limit the file size");
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
    rlimit old;
};

// Makes a folder take no new files while the files in it stay writable:
// immutable for root, who ignores permissions, read-only for anyone else.
struct RefusingFolder
{
    explicit RefusingFolder(const QString &folder) : folder(folder) { refuse(true); }
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
    bool refuses() const
    {
        QFile probe(folder + "/probe");
        return !probe.open(QIODevice::WriteOnly) || !probe.remove();
    }
    QString folder;
};

enum SaveFailure { NoByteFits, FullPartWay, RenameRefused, FolderGone };

void TestDocument::saveFails_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("failure");
    // 130 bytes, 5 KB and 130 KB: below and above the 16 KB write buffer.
    for (int rows : {1, 40, 1000}) {
        QTest::addRow("%d rows, no byte fits: old file kept", rows) << rows << int(NoByteFits);
        QTest::addRow("%d rows, full part-way: old file kept", rows) << rows << int(FullPartWay);
    }
    QTest::newRow("append-only file refuses the rename") << 40 << int(RenameRefused);
    QTest::newRow("folder gone") << 1 << int(FolderGone);
}

void TestDocument::saveFails()
{
    QFETCH(int, rows);
    QFETCH(int, failure);
    const QString name = path("sub/p.csv");
    const QByteArray before = (FullRow + "\n").repeated(rows);
    writeFile(name, before);
    window = openWindow(name);
    table(window.get())->item(0, 0)->setText("8");
    QSettings("Quellor", "VorlanCSV").setValue("lastpath", "/elsewhere");
    QString message;
    answerNextMessageBox(QMessageBox::Ok, &message);
    if (failure == FolderGone) {
        QVERIFY(QDir(path("sub")).removeRecursively());
        trigger("actionSpeichern");
        QCOMPARE(message, "Die Datei\n" + name + "\nkann nicht zum Schreiben geöffnet werden.");
        QCOMPARE(QSettings("Quellor", "VorlanCSV").value("lastpath").toString(), path("sub"));
    } else if (failure == RenameRefused) {
        if (geteuid() != 0 || QProcess::execute("chattr", {"+a", name}) != 0)
            QSKIP("making a file append-only needs root and chattr");
        trigger("actionSpeichern");
        QProcess::execute("chattr", {"-a", name});
    } else {
        FileSizeLimit limit(failure == FullPartWay ? before.size() / 2 : 0);
        trigger("actionSpeichern");
    }
    if (failure != FolderGone) {
        QCOMPARE(message, "Die Datei\n" + name + "\nkonnte nicht vollständig geschrieben werden.");
        QCOMPARE(readFile(name), before);
        QCOMPARE(QDir(path("sub")).entryList(QDir::Files | QDir::Hidden), QStringList {"p.csv"});
    }
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + name + " *");
}

static const QByteArray SharedList = (FullRow + "\n").repeated(40);

void TestDocument::saveInFolderTakingNoNewFiles_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<bool>("throughLink");
    const QString longer(100, 'x');
    QTest::newRow("saved in place, list grows") << longer << qint64(-1) << false;
    QTest::newRow("saved in place through a link, list shrinks") << QString() << qint64(-1) << true;
    QTest::newRow("no byte fits: old bytes back") << longer << qint64(0) << false;
    QTest::newRow("old bytes overwritten, then full: old bytes back")
        << longer << qint64(SharedList.size() + 10) << false;
}

// Shared project folders often let people change files but not create them.
void TestDocument::saveInFolderTakingNoNewFiles()
{
    QFETCH(QString, first);
    QFETCH(qint64, limit);
    QFETCH(bool, throughLink);
    const QString name = path("shared/p.csv");
    const QByteArray before = SharedList;
    writeFile(name, before);
    QVERIFY(QFile::setPermissions(name, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const QString opened = throughLink ? path("link.csv") : name;
    QVERIFY(!throughLink || QFile::link(name, opened));
    RefusingFolder folder(path("shared"));
    if (!folder.refuses())
        QSKIP("this machine lets the folder take new files (no chattr +i, no permissions)");
    window = openWindow(opened);
    table(window.get())->item(0, 0)->setText(first);
    QString message;
    if (limit >= 0)
        answerNextMessageBox(QMessageBox::Ok, &message);
    {
        FileSizeLimit fileSize(limit);
        trigger("actionSpeichern");
    }
    if (limit < 0) {
        QCOMPARE(window->windowTitle(), "VorlanCSV - " + opened);
        QCOMPARE(readFile(name), first.toUtf8() + before.mid(1));
        QVERIFY(!throughLink || QFileInfo(opened).isSymLink());
    } else {
        QCOMPARE(message,
                 "Die Datei\n" + opened + "\nkonnte nicht vollständig geschrieben werden.");
        QCOMPARE(window->windowTitle(), "VorlanCSV - " + opened + " *");
        QCOMPARE(readFile(name), before);
    }
    QCOMPARE(QFileInfo(name).permissions() & 0x7077,
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    QCOMPARE(QDir(path("shared")).entryList(QDir::Files | QDir::Hidden), QStringList {"p.csv"});
}

void TestDocument::saveKeepsLinkAndMode()
{
    const QString target = writeFile(path("plans/p.csv"), FullRow + "\n");
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QVERIFY(QFile::link(target, path("link.csv")));
    window = openWindow(path("link.csv"));
    table(window.get())->item(0, 0)->setText("8");
    trigger("actionSpeichern");
    QVERIFY(QFileInfo(path("link.csv")).isSymLink());
    QCOMPARE(readFile(target), "8" + FullRow.mid(1) + "\n");
    QCOMPARE(QFileInfo(target).permissions() & 0x7077,
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    QCOMPARE(QDir(path("plans")).entryList(QDir::Files | QDir::Hidden), QStringList {"p.csv"});
}

void TestDocument::questionAnswers_data()
{
    QTest::addColumn<bool>("quit");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<bool>("saved");
    QTest::newRow("open, Ja: saves, then the dialog")
        << false << int(QMessageBox::Yes) << true << true;
    QTest::newRow("open, Nein: the dialog, nothing saved")
        << false << int(QMessageBox::No) << true << false;
    QTest::newRow("open, Abbrechen: no dialog")
        << false << int(QMessageBox::Cancel) << false << false;
    QTest::newRow("quit, Ja: saves and closes") << true << int(QMessageBox::Yes) << true << true;
    QTest::newRow("quit, Nein: closes, asks no more")
        << true << int(QMessageBox::No) << true << false;
    QTest::newRow("quit, Abbrechen: stays open")
        << true << int(QMessageBox::Cancel) << false << false;
}

void TestDocument::questionAnswers()
{
    QFETCH(bool, quit);
    QFETCH(int, answer);
    QFETCH(bool, goesOn);
    QFETCH(bool, saved);
    window = openWindow(path("a.csv"));
    window->show();
    table(window.get())->item(0, 0)->setText("99");
    QCOMPARE(window->windowTitle(), title("a.csv", true));

    QStringList asked;
    auto answerQuestion = [&asked, answer](QMessageBox *box) {
        asked << box->windowTitle() + "|" + box->text();
        box->button(QMessageBox::StandardButton(answer))->click();
    };
    onNextModalOf<QMessageBox>(answerQuestion);
    bool dialogShown = false;
    onNextModalOf<QFileDialog>([&dialogShown](QFileDialog *dialog) {
        dialogShown = true;
        dialog->reject();
    });
    trigger(quit ? "actionBeenden" : "actionOeffnen");
    QCOMPARE(asked,
             QStringList {"Ungesicherte Daten!|Datei\n" + path("a.csv") + "\njetzt speichern?"});
    QCOMPARE(readFile(path("a.csv")).startsWith("99;"), saved);
    QCOMPARE(window->windowTitle().endsWith(" *"), !saved);
    if (!quit) {
        QCOMPARE(dialogShown, goesOn);
        return;
    }
    QCOMPARE(window->isVisible(), !goesOn);
    if (goesOn) {
        // A question from the destructor would be answered and counted here.
        onNextModalOf<QMessageBox>(answerQuestion);
        window.reset();
        QCOMPARE(asked.size(), 1);
    }
}

void TestDocument::titleBarCloseAsksBeforeClosing()
{
    window = openWindow(path("a.csv"));
    window->show();
    table(window.get())->item(0, 0)->setText("99");

    bool visibleWhileAsked = false;
    onNextModalOf<QMessageBox>([&](QMessageBox *box) {
        visibleWhileAsked = window->isVisible();
        box->button(QMessageBox::Cancel)->click();
    });
    QVERIFY(!window->close());
    QVERIFY(visibleWhileAsked);
    QVERIFY(window->isVisible());

    int questions = 0;
    onNextModalOf<QMessageBox>([&questions](QMessageBox *box) {
        ++questions;
        box->button(QMessageBox::No)->click();
    });
    QVERIFY(window->close());
    window.reset();
    QCOMPARE(questions, 1);
    QCOMPARE(readFile(path("a.csv")), FullRow + "\n");
}

void TestDocument::messagesArePlainText()
{
    const QString name = path("<b>Plan</b>.csv");
    writeFile(name, "<i>x</i>;" + FullRow + "\n");
    QList<Qt::TextFormat> formats;
    auto record = [&formats](QMessageBox *box) {
        formats << box->textFormat();
        box->button(box->button(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok)->click();
    };
    onNextModalOf<QMessageBox>(record); // the refused line
    window = openWindow(name);
    table(window.get())->setRowCount(1);
    table(window.get())->setItem(0, 0, new QTableWidgetItem("1"));
    onNextModalOf<QMessageBox>(record); // the question, naming the file
    trigger("actionBeenden");
    QCOMPARE(formats, QList<Qt::TextFormat>({Qt::PlainText, Qt::PlainText}));
}

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
