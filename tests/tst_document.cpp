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

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace TestSupport;

class TestDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startupCancelEndsProcess();
    void startupShowsCleanDocument();
    void startupWithUnreadableFileKeepsPath();
    void columnWidths();
    void menuAndToolbar();
    void eachActionRunsOnce();

    void openLines_data();
    void openLines();
    void openRejectsLongLine();
    void openLeavesOnlyDocumentRows();
    void openFromMenuEndsClean();
    void failedOpenKeepsPreviousDocument();
    void openAsksFirst_data();
    void openAsksFirst();

    void saveWritesEveryRow_data();
    void saveWritesEveryRow();
    void saveReproducesOwnFile();
    void saveUnderUmlautPath();
    void saveCannotOpen();
    void saveCannotFinish();

    void quitAnswers_data();
    void quitAnswers();
    void titleBarCloseAsksBeforeClosing();
    void messagesArePlainText();

private:
    QString path(const QString &name) const { return dir->filePath(name); }
    QAction *action(const char *name) const;
    void trigger(const char *name) { action(name)->trigger(); }
    QStringList rows() const;

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<VorlanCSV> window;
};

static const QByteArray FullRow =
    "7;Plan 3;a.pdf;Haus A;x;1;2;D-001;;;;;;;;;;Grundriss EG;12;Erste Ausgabe;A1;Müller GmbH;"
    "Erdgeschoss;Elektro;1:50;Grundriss;T-4;PDF";

void TestDocument::initTestCase()
{
    isolateSettings();
}

void TestDocument::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void TestDocument::cleanup()
{
    discardWindow(window);
    cancelPendingModalActions();
}

QAction *TestDocument::action(const char *name) const
{
    return window->findChild<QAction *>(name);
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

    writeFile(path("a.csv"), FullRow + "\n");
    probe.start(STARTUP_PROBE, {path("a.csv")});
    QVERIFY(probe.waitForFinished(60000));
    QCOMPARE(probe.exitCode(), 0);
    QCOMPARE(probe.readAllStandardOutput().trimmed(), QByteArray("constructed 0"));
}

void TestDocument::startupShowsCleanDocument()
{
    writeFile(path("plan.csv"), FullRow + "\n" + FullRow + "\n");
    window = openWindow(path("plan.csv"));
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + path("plan.csv"));
    QCOMPARE(rows(), QStringList({FullRow, FullRow}));
    window->show();
    QVERIFY(!window->windowTitle().endsWith("*"));
}

void TestDocument::startupWithUnreadableFileKeepsPath()
{
    // The file disappears between the dialog and the read.
    const QString gone = writeFile(path("gone.csv"), FullRow + "\n");
    onNextModalOf<QFileDialog>([gone](QFileDialog *dialog) {
        QObject::connect(dialog, &QDialog::accepted, [gone]() { QFile::remove(gone); });
        acceptFile(dialog, gone);
    });
    QString message;
    answerNextMessageBox(QMessageBox::Ok, &message);
    window = std::make_unique<VorlanCSV>();
    QCOMPARE(message, "Die Datei " + gone + " kann nicht zum Lesen geöffnet werden.");
    QCOMPARE(window->windowTitle(), QString("VorlanCSV"));
    QCOMPARE(table(window.get())->rowCount(), 0);

    // The chosen path is the document: a save creates it.
    trigger("actionSpeichern");
    QVERIFY(QFile::exists(gone));
    QCOMPARE(readFile(gone), QByteArray());
}

void TestDocument::columnWidths()
{
    writeFile(path("a.csv"), FullRow + "\n");
    window = openWindow(path("a.csv"));
    QTableWidget *tab = table(window.get());
    QCOMPARE(tab->columnCount(), 28);
    const QList<int> expected = {40, 160, 40, 160, 160, 40,  40, 160, 40,  40,  40, 40,  40, 40,
                                 40, 40,  40, 160, 40,  160, 80, 160, 160, 160, 80, 160, 80};
    for (int c = 0; c < expected.size(); ++c)
        QCOMPARE(tab->columnWidth(c), expected.at(c));
    QCOMPARE(tab->columnWidth(27), tab->horizontalHeader()->defaultSectionSize());
    QCOMPARE(tab->horizontalHeaderItem(27)->text(), QString("DTYPE"));
    QCOMPARE(tab->horizontalHeaderItem(22)->text(), QString("Geschoß"));
}

void TestDocument::menuAndToolbar()
{
    writeFile(path("a.csv"), FullRow + "\n");
    window = openWindow(path("a.csv"));
    QCOMPARE(window->size(), QSize(969, 614));

    auto texts = [](const QList<QAction *> &actions) {
        QStringList list;
        for (QAction *action : actions)
            list << (action->isSeparator() ? "|" : action->text());
        return list;
    };
    QCOMPARE(texts(window->menuBar()->actions()), QStringList {"Datei"});
    const QStringList commands = {"Oeffnen", "Speichern", "Drucken", "|", "Beenden"};
    QCOMPARE(texts(window->findChild<QMenu *>("menuDatei")->actions()), commands);
    QCOMPARE(texts(window->findChild<QToolBar *>("toolBar")->actions()), commands);
    for (QAction *action : window->findChild<QToolBar *>("toolBar")->actions()) {
        if (action->isSeparator())
            continue;
        // An icon never grows beyond its image.
        QCOMPARE(action->icon().pixmap(QSize(64, 64)).size(), QSize(32, 32));
        QVERIFY(action->shortcut().isEmpty());
    }

    QStringList headers;
    for (int c = 0; c < table(window.get())->columnCount(); ++c)
        headers << table(window.get())->horizontalHeaderItem(c)->text();
    QCOMPARE(headers,
             QStringList({"ExportID", "3",          "Datei",        "Verzeichnis", "6",
                          "1",        "7",          "DokuNr",       "9",           "10",
                          "11",       "12",         "13",           "14",          "15",
                          "16",       "17",         "Beschreibung", "BauNr",       "Erläuterung",
                          "Format",   "Fremdfirma", "Geschoß",      "Gewerk",      "Maßstab",
                          "Planart",  "Techn.Obj.", "DTYPE"}));
}

void TestDocument::eachActionRunsOnce()
{
    writeFile(path("a.csv"), FullRow + "\n");
    window = openWindow(path("a.csv"));

    // A second connection would open a second dialog right after the first.
    int dialogs = 0;
    auto *timer = new QTimer(this);
    timer->setInterval(10);
    connect(timer, &QTimer::timeout, [&dialogs]() {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            ++dialogs;
            dialog->reject();
        }
    });
    timer->start();
    trigger("actionOeffnen");
    QCOMPARE(dialogs, 1);
    delete timer;

    // One save writes the file once: the second write of a doubled save
    // would find the file it just wrote.
    table(window.get())->item(0, 0)->setText("5");
    QFile::remove(path("a.csv"));
    QSignalSpy titles(window.get(), &QWidget::windowTitleChanged);
    trigger("actionSpeichern");
    QCOMPARE(titles.count(), 1);
    QVERIFY(readFile(path("a.csv")).startsWith("5;"));
}

void TestDocument::openLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected"); // RowText of every row

    // A short line fills only its first columns; the rest stay without
    // editors and read back empty.
    const QString rest26 = QString(";").repeated(26);
    QTest::newRow("empty file: no rows") << QByteArray() << QStringList();
    QTest::newRow("no line end") << QByteArray("a;b") << QStringList {"a;b" + rest26};
    QTest::newRow("LF") << QByteArray("a;b\n") << QStringList {"a;b" + rest26};
    QTest::newRow("CR LF") << QByteArray("a;b\r\n") << QStringList {"a;b" + rest26};
    QTest::newRow("empty line at the end is an empty row")
        << QByteArray(FullRow + "\n\n") << QStringList {FullRow, QString(";").repeated(27)};
    QTest::newRow("mixed line ends") << QByteArray(FullRow + "\r\n" + FullRow + "\n" + FullRow)
                                     << QStringList {FullRow, FullRow, FullRow};
    QTest::newRow("fields trimmed")
        << QByteArray(" 7 ;  Plan 3\t;a.pdf") << QStringList {"7;Plan 3;a.pdf" + rest26.mid(1)};
    QTest::newRow("UTF-8 byte-order mark is not part of the first field")
        << QByteArray("\xEF\xBB\xBF" + FullRow + "\n") << QStringList {FullRow};
    QTest::newRow("UTF-16 with byte-order mark")
        << (QByteArray("\xFF\xFE")
            + QByteArray(reinterpret_cast<const char *>(QString(FullRow + "\r\n").utf16()),
                         (FullRow.size() + 2) * 2 - 2))
        << QStringList {FullRow};
    QTest::newRow("Windows-1252 line keeps its umlauts")
        << QByteArray("1;Gr\xFC\xDF"
                      "e aus K\xF6ln\n"
                      + FullRow + "\n")
        << QStringList {"1;Grüße aus Köln" + rest26, FullRow};
    QTest::newRow("drop-down value not in its list becomes ---")
        << QByteArray(QString(";").repeated(20).toUtf8() + "A7;;Keller;Elektro; 1:50 ;Grundriss;;")
        << QStringList {QString(";").repeated(20) + "---;;---;Elektro;1:50;Grundriss;;"};
}

void TestDocument::openLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    // UTF-16 rows above were built from the QString in host order.
    if (QSysInfo::ByteOrder == QSysInfo::BigEndian && bytes.startsWith("\xFF\xFE"))
        QSKIP("UTF-16 sample is little-endian");
    writeFile(path("p.csv"), bytes);
    window = openWindow(path("p.csv"));
    QCOMPARE(rows(), expected);
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + path("p.csv"));
}

void TestDocument::openRejectsLongLine()
{
    const QByteArray line29 = FullRow + ";extra";
    writeFile(path("p.csv"), line29 + "\n" + FullRow + "\n" + line29 + "\n");
    QStringList messages;
    for (int i = 0; i < 2; ++i)
        onNextModalOf<QMessageBox>([&messages](QMessageBox *box) {
            messages << box->text();
            box->accept();
        });
    window = openWindow(path("p.csv"));
    QVERIFY(waitUntil([&] { return messages.size() == 2; }));
    const QString expected = "Die Zeile:\n\n" + QString::fromUtf8(line29)
        + "\nenthält einen Fehler (z.B. mehr als 27 Spalten). Zeile ignoriert.";
    QCOMPARE(messages, QStringList({expected, expected}));
    QCOMPARE(rows(), QStringList {FullRow}); // the good line takes row 0
}

void TestDocument::openLeavesOnlyDocumentRows()
{
    writeFile(path("five.csv"),
              FullRow.repeated(1) + "\n" + FullRow + "\n" + FullRow + "\n" + FullRow + "\n"
                  + FullRow + "\n");
    writeFile(path("three.csv"), "a\nb\nc\n");
    window = openWindow(path("five.csv"));
    QCOMPARE(table(window.get())->rowCount(), 5);

    chooseFileInNextDialog(path("three.csv"));
    trigger("actionOeffnen");
    QCOMPARE(table(window.get())->rowCount(), 3);
    trigger("actionSpeichern");
    const QByteArray tail = QString(";").repeated(26).toUtf8() + "\n";
    QCOMPARE(readFile(path("three.csv")), "a;" + tail + "b;" + tail + "c;" + tail);
}

void TestDocument::openFromMenuEndsClean()
{
    writeFile(path("a.csv"), FullRow + "\n");
    writeFile(path("b.csv"), "x;y\n");
    window = openWindow(path("a.csv"));
    window->show();
    chooseFileInNextDialog(path("b.csv"));
    trigger("actionOeffnen");
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + path("b.csv"));
    QCOMPARE(cellText(table(window.get()), 0, 1), QString("y"));

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
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + path("b.csv"));
}

void TestDocument::failedOpenKeepsPreviousDocument()
{
    writeFile(path("a.csv"), FullRow + "\n");
    const QString gone = writeFile(path("b.csv"), "x;y\n");
    window = openWindow(path("a.csv"));
    table(window.get())->item(0, 1)->setText("geändert");

    answerNextMessageBox(QMessageBox::No); // the question to save
    onNextModalOf<QFileDialog>([gone](QFileDialog *dialog) {
        QObject::connect(dialog, &QDialog::accepted, [gone]() { QFile::remove(gone); });
        acceptFile(dialog, gone);
    });
    QString message;
    QTimer::singleShot(0, [&message] { answerNextMessageBox(QMessageBox::Ok, &message); });
    trigger("actionOeffnen");
    QCOMPARE(message, "Die Datei " + gone + " kann nicht zum Lesen geöffnet werden.");
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + path("a.csv") + " *");

    trigger("actionSpeichern");
    QVERIFY(!QFile::exists(gone));
    QVERIFY(readFile(path("a.csv")).startsWith("7;geändert;"));
}

void TestDocument::openAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("dialogShown");
    QTest::addColumn<bool>("saved");
    QTest::newRow("Ja saves, then the dialog") << int(QMessageBox::Yes) << true << true;
    QTest::newRow("Nein goes on without saving") << int(QMessageBox::No) << true << false;
    QTest::newRow("Abbrechen stops before the dialog")
        << int(QMessageBox::Cancel) << false << false;
}

void TestDocument::openAsksFirst()
{
    QFETCH(int, answer);
    QFETCH(bool, dialogShown);
    QFETCH(bool, saved);
    writeFile(path("a.csv"), FullRow + "\n");
    window = openWindow(path("a.csv"));
    table(window.get())->item(0, 0)->setText("99");
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + path("a.csv") + " *");

    QString text, title;
    answerNextMessageBox(QMessageBox::StandardButton(answer), &text, &title);
    bool shown = false;
    QTimer::singleShot(0, [&shown] {
        onNextModalOf<QFileDialog>(
            [&shown](QFileDialog *dialog) {
                shown = true;
                dialog->reject();
            },
            3000);
    });
    trigger("actionOeffnen");
    if (dialogShown)
        QVERIFY(waitUntil([&] { return shown; }));
    QCOMPARE(shown, dialogShown);
    QCOMPARE(title, QString("Ungesicherte Daten!"));
    QCOMPARE(text, "Datei\n" + path("a.csv") + "\njetzt speichern?");
    QCOMPARE(readFile(path("a.csv")).startsWith("99;"), saved);
}

void TestDocument::saveWritesEveryRow_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");
    const QByteArray emptyRow = QString(";").repeated(27).toUtf8() + "\n";
    QTest::newRow("empty table gives an empty file") << QByteArray() << QByteArray();
    QTest::newRow("blank line gives a row of empty cells") << QByteArray("\n") << emptyRow;
    QTest::newRow("three rows, LF after each, UTF-8")
        << QByteArray(FullRow + "\r\n" + FullRow + "\r\n" + FullRow)
        << QByteArray(FullRow + "\n" + FullRow + "\n" + FullRow + "\n");
    QTest::newRow("Windows-1252 is saved as UTF-8") << QByteArray("Stra\xDF"
                                                                  "e\n")
                                                    << QByteArray("Straße;") + emptyRow.mid(1);
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

void TestDocument::saveReproducesOwnFile()
{
    const QByteArray own = FullRow + "\n" + QString(";").repeated(19).toUtf8()
        + "Kurz;A4;;Meß-Anhänger;Kälte mit Lüftung und Heizung;1:12,5;"
          "Geländeschnitt;;\n";
    writeFile(path("own.csv"), own);
    window = openWindow(path("own.csv"));
    table(window.get())->item(1, 0)->setText("5");
    QVERIFY(window->windowTitle().endsWith(" *"));
    table(window.get())->item(1, 0)->setText("");
    trigger("actionSpeichern");
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + path("own.csv"));
    QCOMPARE(readFile(path("own.csv")), own);
}

void TestDocument::saveUnderUmlautPath()
{
    const QString name = path("Pläne Bau 2.csv");
    writeFile(name, FullRow + "\n");
    window = openWindow(name);
    table(window.get())->item(0, 0)->setText("8");
    trigger("actionSpeichern");
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList {"Pläne Bau 2.csv"});
    QVERIFY(readFile(name).startsWith("8;Plan 3;"));
}

void TestDocument::saveCannotOpen()
{
    const QString sub = path("sub");
    QVERIFY(QDir().mkpath(sub));
    const QString name = writeFile(sub + "/p.csv", FullRow + "\n");
    window = openWindow(name);
    table(window.get())->item(0, 0)->setText("8");
    QVERIFY(QDir(sub).removeRecursively()); // the folder is gone

    QSettings("Quellor", "VorlanCSV").setValue("lastpath", "/elsewhere");
    QString message;
    answerNextMessageBox(QMessageBox::Ok, &message);
    trigger("actionSpeichern");
    QCOMPARE(message, "Die Datei\n" + name + "\nkann nicht zum Schreiben geöffnet werden.");
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + name + " *");
    QCOMPARE(QSettings("Quellor", "VorlanCSV").value("lastpath").toString(), sub);
    QVERIFY(!QFile::exists(name));
}

void TestDocument::saveCannotFinish()
{
#ifdef Q_OS_UNIX
    // A file-size limit makes the disk "full" after 4 KiB.
    QByteArray big;
    for (int i = 0; i < 200; ++i)
        big += FullRow + "\n";
    const QString name = writeFile(path("big.csv"), big);
    window = openWindow(name);
    table(window.get())->item(0, 0)->setText("8");

    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limited = old;
    limited.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    QString message;
    answerNextMessageBox(QMessageBox::Ok, &message);
    trigger("actionSpeichern");
    setrlimit(RLIMIT_FSIZE, &old);

    QCOMPARE(message, "Die Datei\n" + name + "\nkonnte nicht vollständig geschrieben werden.");
    QCOMPARE(readFile(name), big);
    QCOMPARE(window->windowTitle(), "VorlanCSV - " + name + " *");
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList {"big.csv"});
#else
    QSKIP("needs a file-size limit");
#endif
}

void TestDocument::quitAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    QTest::newRow("Ja saves and closes") << int(QMessageBox::Yes) << true << true;
    QTest::newRow("Nein closes without saving") << int(QMessageBox::No) << true << false;
    QTest::newRow("Abbrechen keeps the window") << int(QMessageBox::Cancel) << false << false;
}

void TestDocument::quitAnswers()
{
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    writeFile(path("a.csv"), FullRow + "\n");
    window = openWindow(path("a.csv"));
    window->show();
    table(window.get())->item(0, 0)->setText("99");

    int questions = 0;
    auto countAndAnswer = [&questions, answer](QMessageBox *box) {
        ++questions;
        box->button(QMessageBox::StandardButton(answer))->click();
    };
    onNextModalOf<QMessageBox>(countAndAnswer);
    trigger("actionBeenden");
    QCOMPARE(questions, 1);
    QCOMPARE(window->isVisible(), !closed);
    QCOMPARE(readFile(path("a.csv")).startsWith("99;"), saved);
    QCOMPARE(window->windowTitle().endsWith(" *"), !saved);

    if (closed) {
        // Ending the program asks nothing more: a question from the
        // destructor would be answered and counted while reset() runs.
        onNextModalOf<QMessageBox>(countAndAnswer);
        window.reset();
        QCOMPARE(questions, 1);
    }
}

void TestDocument::titleBarCloseAsksBeforeClosing()
{
    writeFile(path("a.csv"), FullRow + "\n");
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
    QVERIFY(!window->isVisible());
    window.reset();
    QCOMPARE(questions, 1);
    QCOMPARE(readFile(path("a.csv")), FullRow + "\n");
}

void TestDocument::messagesArePlainText()
{
    const QString name = path("<b>Plan</b>.csv");
    writeFile(name, "<i>x</i>;" + FullRow + "\n");
    Qt::TextFormat format = Qt::RichText;
    QString text;
    onNextModalOf<QMessageBox>([&](QMessageBox *box) {
        format = box->textFormat();
        text = box->text();
        box->accept();
    });
    window = openWindow(name);
    QVERIFY(waitUntil([&] { return !text.isEmpty(); }));
    QCOMPARE(format, Qt::PlainText);
    QVERIFY(text.contains("<i>x</i>;7;"));

    table(window.get())->setRowCount(0);
    window->show();
    onNextModalOf<QMessageBox>([&](QMessageBox *box) {
        format = box->textFormat();
        box->button(QMessageBox::No)->click();
    });
    table(window.get())->setRowCount(1);
    table(window.get())->setItem(0, 0, new QTableWidgetItem("1"));
    format = Qt::RichText;
    trigger("actionBeenden");
    QCOMPARE(format, Qt::PlainText);
}

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
