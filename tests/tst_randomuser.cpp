// A random user on the real window: clicks, typing, keys, wheel and scroll bars while an editor
// has the focus, sizes, the context menu, find, undo and saves. Every save writes exactly what the
// table shows, 28 fields a line; a table unlike the last save shows " *". VORLAN_SOAK_SEED=N
// replays a seed (VORLAN_SOAK_ACTIONS=M actions); a failure or a crash prints the last actions.
#include "RecoveryCopy.h"
#include "TestSupport.h"

#include <QtTest>
#include <QtWidgets>

#include <csignal>
#include <unistd.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

using namespace TestSupport;

namespace {

QByteArray recentText; // kept as the user goes, so that a crash can name the last actions
void printRecent()
{
    [[maybe_unused]] const auto n = ::write(STDERR_FILENO, recentText.data(), recentText.size());
}

QByteArray stateHash(const QStringList &rows)
{
    return QCryptographicHash::hash(rows.join('\n').toUtf8(), QCryptographicHash::Sha1).toHex();
}

void seedRows(const QList<quint32> &seeds)
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : seeds)
        QTest::newRow(qPrintable(QString("seed %1").arg(seed))) << seed;
}

// The table, an open editor's text as entered; an editor unlike its cell's value shows "≠".
QStringList shownRows(PlanTable *tab, bool withOpenEditor)
{
    QStringList rows;
    for (int r = 0; r < tab->rowCount(); ++r) {
        QStringList fields;
        for (int c = 0; c < tab->columnCount(); ++c) {
            const QString value = tab->item(r, c) ? tab->item(r, c)->text() : QString();
            auto *line = qobject_cast<QLineEdit *>(tab->cellEditor(r, c));
            auto *combo = qobject_cast<QComboBox *>(tab->cellEditor(r, c));
            auto *open = qobject_cast<QLineEdit *>(tab->indexWidget(tab->model()->index(r, c)));
            if ((line && line->text() != value) || (combo && combo->currentText() != value))
                fields << "≠";
            else
                fields << (open && withOpenEditor ? open->text() : value);
        }
        rows << fields.join(';');
    }
    return rows;
}

} // namespace

class TestRandomUser : public WindowTest
{
    Q_OBJECT

    QTemporaryDir dir;
    QString file = dir.filePath("plan.csv");
    // With VORLAN_STATE_LOG, the time and the table's hash after each action.
    std::unique_ptr<QFile> states;
    QStringList recent, saved; // the last actions; the rows of the last save
    QRandomGenerator random;

    PlanTable *tab() const { return table(window.get()); }
    int below(int n) { return n > 0 ? int(random.bounded(quint32(n))) : 0; }
    bool chance(int percent) { return below(100) < percent; }
    QPoint somewhere(QWidget *w) { return {below(w->width()), below(w->height())}; }
    template <class... Args> void note(QString action, Args... args)
    {
        ((action = action.arg(args)), ...);
        recent << QString("%1: %2").arg(recent.size() + 1).arg(action);
        recentText = ("last actions:\n" + recent.mid(qMax(0, recent.size() - 25)).join('\n') + '\n')
                         .toUtf8();
    }

    void click()
    {
        QList<QWidget *> editors;
        for (QWidget *w :
             tab()->viewport()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            if (w->isVisible())
                editors << w;
        QWidget *editor = chance(50) ? editors.value(below(editors.size())) : nullptr;
        const QModelIndex index =
            tab()->indexAt(editor ? editor->geometry().center() : somewhere(tab()->viewport()));
        const bool twice = chance(30);
        if (!index.isValid())
            return;
        note("clicks %1 cell %2/%3", twice ? 2 : 1, index.row(), index.column());
        QWidget *widget = tab()->cellEditor(index.row(), index.column()),
                *viewport = tab()->viewport();
        const QPoint center = tab()->visualRect(index).center();
        if (qobject_cast<QComboBox *>(widget)) { // the list opens: a few steps, Return or Escape
            QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
            QWidget *list = QApplication::activePopupWidget();
            QVERIFY(list);
            for (int i = below(4); i > 0; --i)
                QTest::keyClick(list->focusWidget(), Qt::Key_Down);
            QTest::keyClick(list->focusWidget(), chance(70) ? Qt::Key_Return : Qt::Key_Escape);
            QTRY_VERIFY(!QApplication::activePopupWidget());
        } else if (widget) {
            QTest::mouseClick(widget, Qt::LeftButton, {}, somewhere(widget));
        } else {
            twice ? QTest::mouseDClick(viewport, Qt::LeftButton, {}, center)
                  : QTest::mouseClick(viewport, Qt::LeftButton, {}, center);
        }
    }

    void type()
    {
        static const QString letters = "abcXYZ 019äöüß;,\"-.";
        QString text;
        for (int i = 1 + below(5); i > 0; --i)
            text += letters.at(below(letters.size()));
        note("types \"%1\"", text);
        for (const QChar ch : text) // each key to the widget with the focus
            if (QWidget *focus = QApplication::focusWidget())
                QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(ch), {});
        if (chance(30)) { // and a text from elsewhere, line breaks and all
            const QStringList texts = {"x;y", "x\ny", "x\r\ny", ", \"N\"",
                                       QString("😀").repeated(20)};
            const QString pasted = texts.at(below(texts.size()));
            QGuiApplication::clipboard()->setText(pasted);
            note("pastes \"%1\"", QString(pasted.toUtf8().toPercentEncoding()));
            if (QWidget *focus = QApplication::focusWidget())
                QTest::keyClick(focus, Qt::Key_V, Qt::ControlModifier);
        }
    }

    void key()
    {
        static const QList<Qt::Key> keys = {
            Qt::Key_Return, Qt::Key_Escape, Qt::Key_Tab,   Qt::Key_Backtab,   Qt::Key_Up,
            Qt::Key_Down,   Qt::Key_Left,   Qt::Key_Right, Qt::Key_PageDown,  Qt::Key_PageUp,
            Qt::Key_Home,   Qt::Key_End,    Qt::Key_F2,    Qt::Key_Backspace, Qt::Key_Delete};
        const Qt::Key key = keys.at(below(keys.size()));
        QWidget *focus = QApplication::focusWidget();
        note("%1 on %2", QString(QMetaEnum::fromType<Qt::Key>().valueToKey(key)),
             QString(focus ? focus->metaObject()->className() : "nothing"));
        if (focus)
            QTest::keyClick(focus, key);
    }

    void find() // a few keys in the find bar, then back to the table or not
    {
        static const QStringList texts = {"plan 4", "ebene", "fung 7", "xyz", "1:"};
        const QString text = texts.at(below(texts.size()));
        note("finds \"%1\"", text);
        QTest::keyClick(tab(), Qt::Key_F, Qt::ControlModifier);
        QWidget *field = window->findChild<QWidget *>("findText");
        QVERIFY(field->hasFocus() || !window->isActiveWindow());
        QTest::keyClicks(field, text);
        for (int i = below(3); i > 0; --i)
            QTest::keyClick(field, chance(50) ? Qt::Key_Return : Qt::Key_F3,
                            chance(30) ? Qt::ShiftModifier : Qt::NoModifier);
        if (chance(70))
            QTest::keyClick(field, Qt::Key_Escape);
    }

    void undoOrRedo()
    {
        static const QStringList keys = {"Ctrl+Z", "Ctrl+Z", "Ctrl+Y", "Ctrl+Shift+Z"};
        const QKeySequence key(keys.at(below(keys.size())));
        if (!QApplication::activePopupWidget()) // offscreen, a closed list can stay active
            QApplication::setActiveWindow(window.get());
        QWidget *focus = QApplication::focusWidget();
        note("%1 on %2", key.toString(),
             QString(focus ? focus->metaObject()->className() : "nothing"));
        if (focus)
            QTest::keySequence(focus, key);
    }

    // Redo everything, then undo everything: the list as opened, then the last state again.
    void undoAndRedoAll(const QStringList &opened, int steps)
    {
        while (QWidget *popup = QApplication::activePopupWidget()) // a drop-down's open list
            popup->close();
        // The keys are the window's; offscreen, a closed list can stay the active window.
        QApplication::setActiveWindow(window.get());
        tab()->setFocus();
        const auto press = [&](Qt::Key key) {
            for (int i = 0; i < steps; ++i)
                QTest::keyClick(tab(), key, Qt::ControlModifier);
            return shownRows(tab(), true);
        };
        const QStringList last = press(Qt::Key_Y);
        QCOMPARE(press(Qt::Key_Z), opened);
        // After the last save, clean only where it holds the list as opened.
        QVERIFY(window->windowTitle().endsWith(" *") || saved == opened);
        QCOMPARE(press(Qt::Key_Y), last);
        QCOMPARE(window->windowTitle().endsWith(" *"), saved != last); // back at the save
    }

    void clickAndScroll() { click(), scroll(); } // into a field, on through the list
    void scroll()
    {
        QScrollBar *bar = chance(70) ? tab()->verticalScrollBar() : tab()->horizontalScrollBar();
        const QString which = bar->orientation() == Qt::Vertical ? "vertical" : "horizontal";
        const QPoint at = somewhere(bar), over = somewhere(tab()->viewport());
        QWidget *under = tab()->viewport()->childAt(over);
        const int notches = (1 + below(5)) * (chance(50) ? 1 : -1), to = below(101);
        switch (below(4)) { // the wheel twice as often
        case 0:
            note("drags the %1 bar to %2 %", which, to);
            return dragScrollBar(bar, to / 100.0);
        case 1:
            note("clicks the %1 bar at %2,%3", which, at.x(), at.y());
            return QTest::mouseClick(bar, Qt::LeftButton, {}, at);
        default:
            note("turns the wheel %1 over %2", notches,
                 QString(under ? under->metaObject()->className() : "the cells"));
            turnWheel(under ? under : tab()->viewport(),
                      under ? under->mapFrom(tab()->viewport(), over) : over, 15 * notches,
                      chance(80) ? Qt::Vertical : Qt::Horizontal);
        }
    }

    void resize()
    {
        const int row = below(tab()->rowCount()), column = below(28), length = 10 + below(300);
        const QSize size(500 + below(900), 300 + below(600));
        switch (below(3)) {
        case 0:
            note("resizes the window to %1x%2", size.width(), size.height());
            return window->resize(size);
        case 1:
            note("makes column %1 %2 wide", column, length);
            return tab()->horizontalHeader()->resizeSection(column, length);
        default:
            note("makes row %1 %2 high", row, length / 4);
            return tab()->verticalHeader()->resizeSection(row, length / 4);
        }
    }

    void contextMenu()
    {
        const QStringList entries = {"Kopieren", "Einfügen", "Leere Zeile einfügen", "Löschen", ""};
        const QStringList clips = {saved.value(below(saved.size())), "a;b",
                                   "x\ny" + QString(27, ';'), ""};
        if (chance(30))
            QGuiApplication::clipboard()->setText(clips.at(below(clips.size())));
        const QString entry = entries.at(below(entries.size()));
        const QString changed = chance(20) ? clips.at(below(clips.size())) : "unchanged";
        const QPoint at = somewhere(tab()->viewport());
        note("right-clicks row %1, picks \"%2\", the clipboard %3", tab()->rowAt(at.y()), entry,
             changed == "unchanged" ? changed : "changing meanwhile");
        rightClick(tab(), at, entry, [&] {
            if (changed != "unchanged")
                QGuiApplication::clipboard()->setText(changed);
        });
    }

    // Editors only in sight and two rows around, each on its cell; one that had the focus may stay.
    void checkEditors()
    {
        const QRect sight = tab()->viewport()->rect();
        const int first = tab()->rowAt(0), last = tab()->rowAt(sight.height() - 1);
        int away = 0;
        for (int r = 0; r < tab()->rowCount(); ++r) {
            for (int c : {19, 20, 22, 23, 24, 25}) {
                QWidget *editor = tab()->cellEditor(r, c);
                const QRect cell = tab()->visualRect(tab()->model()->index(r, c));
                away += editor && (r < first - 2 || (last >= 0 && r > last + 2));
                if (cell.intersects(sight) && tab()->item(r, c)
                    && !(editor && editor->isVisible() && cell.contains(editor->geometry())
                         && editor->parentWidget() == tab()->viewport()))
                    QFAIL(qPrintable(QString("no editor on cell %1/%2").arg(r).arg(c)));
            }
        }
        QVERIFY2(away <= 1, qPrintable(QString("%1 editors out of sight").arg(away)));
    }

    void save()
    {
        note("clicks Speichern");
        if (shownRows(tab(), false) != saved && !window->windowTitle().endsWith(" *"))
            QFAIL("the table differs from the last save, and the title does not say so");
        clickTool(window.get(), "actionSpeichern");
        const QStringList shown = shownRows(tab(), true);
        QCOMPARE(QString::fromUtf8(readFile(file)).split('\n'), (shown + QStringList("")));
        // 28 fields, no line break in any, an explanation of at most 30 characters
        QCOMPARE(shown.filter(QRegularExpression("^([^;\\n\\r]*;){19}[^;\\n\\r]{0,30}"
                                                 "(;[^;\\n\\r]*){8}$")),
                 shown);
        QCOMPARE(window->windowTitle(), titleOf(file));
        saved = shown;
    }

private slots:
    void initTestCase()
    {
        startTesting();
        for (int signal : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL})
            std::signal(signal,
                        [](int s) { printRecent(), std::signal(s, SIG_DFL), std::raise(s); });
#if defined(__SANITIZE_ADDRESS__)
        __sanitizer_set_death_callback(printRecent);
#endif
    }
    void cleanup()
    {
        if (QTest::currentTestFailed())
            printRecent();
        discardWindow(window);
        checkDialogs();
    }

    void randomUser_data() // all but 1 once crashed as a focused editor scrolled out of sight
    {
        const bool replay = qEnvironmentVariableIsSet("VORLAN_SOAK_SEED");
        seedRows(replay ? QList<quint32> {qgetenv("VORLAN_SOAK_SEED").toUInt()}
                        : QList<quint32> {1, 2, 7, 8, 11, 15, 19, 26});
    }

    void randomUser()
    {
        QFETCH(quint32, seed);
        const int actions = qEnvironmentVariableIntValue("VORLAN_SOAK_ACTIONS");
        const int count = actions ? actions : 400;
        if (qEnvironmentVariableIsSet("VORLAN_STATE_LOG")) {
            states = std::make_unique<QFile>(qEnvironmentVariable("VORLAN_STATE_LOG"));
            QVERIFY(states->open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            file = QFileInfo(*states).absolutePath() + "/plan.csv";
        }
        random.seed(seed);
        recent.clear();
        // A short row, a value its word list lacks, blanks around a value.
        QStringList rows = planRows(100), written = rows;
        written[5] = "a;b", rows[5] = "a;b" + QString(26, ';');
        written[9].replace(";Dachgeschoss;", "; 8. Obergeschoss ;");
        rows[9].replace(";Dachgeschoss;", ";8. Obergeschoss;");
        written[13].replace("Plan 13;", " Plan 13 ;");
        window = openWindow(writeFile(file, planFile(written)));
        window->show();
        window->resize(1000, 600);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(shownRows(tab(), true), rows);
        saved = rows;
        const auto logState = [&](const QStringList &state) {
            if (states)
                states->write(QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + ' '
                              + stateHash(state) + '\n');
        };
        logState(written); // as the file holds it, untrimmed
        logState(rows);
        const QList<void (TestRandomUser::*)()> kinds = {
            &TestRandomUser::click,       &TestRandomUser::clickAndScroll,
            &TestRandomUser::type,        &TestRandomUser::type,
            &TestRandomUser::key,         &TestRandomUser::scroll,
            &TestRandomUser::resize,      &TestRandomUser::clickAndScroll,
            &TestRandomUser::contextMenu, &TestRandomUser::undoOrRedo,
            &TestRandomUser::find};
        for (int i = 0; i < count && !QTest::currentTestFailed(); ++i) {
            // Killed, the user saves less often, so that a copy is kept most of the time.
            (states ? below(500) == 0 : chance(5)) ? save()
                                                   : (this->*kinds.at(below(kinds.size())))();
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            checkEditors();
            logState(shownRows(tab(), true));
        }
        if (!QTest::currentTestFailed())
            save();
        if (!QTest::currentTestFailed())
            undoAndRedoAll(rows, 10 * count); // keys in a drop-down: a step each
    }

    // The random user in a process of its own, killed at a random action (seed 3 with no copy on
    // disk): the list opened again shows what the table held at some moment of the last second.
    void killed_data()
    {
        seedRows({3, 5, 6, 9});
    }
    void killed()
    {
        QFETCH(quint32, seed);
        const QString log = dir.filePath("states.log");
        QFile::remove(log);
        QProcess child;
        child.setEnvironment(QProcess::systemEnvironment()
                             << "VORLAN_STATE_LOG=" + log << "VORLAN_SOAK_ACTIONS=100000"
                             << QString("VORLAN_SOAK_SEED=%1").arg(seed));
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.setStandardOutputFile(QProcess::nullDevice()); // a full pipe would stop it
        child.start(QCoreApplication::applicationFilePath(), {"randomUser"});
        const int actions = 200 + QRandomGenerator(seed).bounded(600);
        QTRY_VERIFY_WITH_TIMEOUT(readFile(log).count('\n') > actions, 120000);
        child.kill();
        const qint64 killedAt = QDateTime::currentMSecsSinceEpoch();
        QVERIFY(child.waitForFinished());
        QSet<QByteArray> recent; // the states of the last second, from the one at its start
        for (const QByteArray &line : readFile(log).split('\n')) {
            const QList<QByteArray> state = line.split(' '); // the time, the hash
            if (state.size() == 2 && state[0].toLongLong() < killedAt - 1000)
                recent = {state[1]};
            else if (state.size() == 2)
                recent << state[1];
        }
        const QString list = dir.filePath("plan.csv");
        // Without a copy, the last save holds the table, as written: untrimmed.
        const QStringList lines = QString::fromUtf8(readFile(list)).chopped(1).split('\n');
        expectFile(list);
        const bool offered = QFile::exists(RecoveryCopy::fileFor(list));
        if (offered)
            expectMessage(QMessageBox::Yes);
        window = std::make_unique<VorlanCSV>();
        QVERIFY2(recent.contains(stateHash(offered ? shownRows(tab(), true) : lines)),
                 qPrintable(QString("%1 states in the last second").arg(recent.size())));
    }
};

QTEST_MAIN(TestRandomUser)
#include "tst_randomuser.moc"
