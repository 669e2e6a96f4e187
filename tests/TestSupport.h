// Shared helpers of the tests: an isolated settings store, the main window
// opened on a file, and dialogs, message boxes and the context menu driven as
// a user drives them.
#pragma once

#include <QMessageBox>
#include <QStringList>

#include <functional>
#include <memory>

class QTableWidget;
class VorlanCSV;

namespace TestSupport {

// The 28 column header texts of the plan table, as the user reads them.
extern const QStringList ColumnTitles;
// The items of the drop-down of `column`, in order; empty for other columns.
QStringList vocabulary(int column);

// Points the settings store at a fresh folder and starts watching for modal
// dialogs. Call first thing in initTestCase.
void startTesting();

// Every modal dialog must be expected, each with the answer the user gives.
// One that nobody expects fails the running test at once, naming it, and is
// closed so that the test goes on. A message box that is not plain text, or
// that shows under a busy cursor, fails the test too.
void expectModal(const char *className, std::function<void(QWidget *)> answer);
template <class T> void expect(std::function<void(T *)> answer)
{
    expectModal(T::staticMetaObject.className(),
                [answer](QWidget *w) { answer(static_cast<T *>(w)); });
}
// The next file dialog chooses `path`, typed into its name field; an empty
// path cancels it. `chosen` runs once the dialog has closed.
void expectFile(const QString &path, std::function<void()> chosen = {});
void expectMessage(QMessageBox::StandardButton button = QMessageBox::Ok);
// Every message box is answered with OK until checkDialogs().
void answerAllMessages();
// "title|text" of every message box shown since the last call.
QStringList takeMessages();
// Fails for every expected dialog that did not come; call in cleanup().
void checkDialogs();

// Right-clicks the table at `pos` (viewport coordinates) and picks `entry`
// from the context menu; an empty entry dismisses it. Returns the entries.
QStringList rightClick(QTableWidget *table, QPoint pos, const QString &entry = {});

// A main window whose start-up file dialog chooses `path`.
std::unique_ptr<VorlanCSV> openWindow(const QString &path);
// Destroys the window; a question to save is answered "Nein".
void discardWindow(std::unique_ptr<VorlanCSV> &window);
void trigger(VorlanCSV *window, const char *action);
QTableWidget *table(VorlanCSV *window);
QString titleOf(const QString &path, bool modified = false);

QString writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);
// The text of a PDF file as pdftotext lays it out, pages ended by form feeds;
// empty when pdftotext is missing.
QString pdfText(const QString &pdf);

} // namespace TestSupport

// Skips the test for `reason`; in CI (CI=true) a missing tool or spooler is
// a failure.
#define SKIP_OR_FAIL(reason)                                                                       \
    do {                                                                                           \
        if (qgetenv("CI") == "true")                                                               \
            QFAIL(reason);                                                                         \
        QSKIP(reason);                                                                             \
    } while (false)
