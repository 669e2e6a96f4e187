// Shared helpers of the tests: driving modal dialogs as a user would,
// sample files, an isolated settings store and a main window that opened a
// file at start-up.
#pragma once

#include <QByteArray>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class VorlanCSV;
class QFileDialog;
class QTableWidget;

namespace TestSupport {

// Points the settings store at a fresh temporary folder. Call first thing in
// initTestCase, before any settings object exists.
void isolateSettings();

// Runs `action` once on the next modal widget for which `matches` is true
// (any modal widget when `matches` is empty). Polls the event loop every
// 10 ms; gives up silently after `timeoutMs`.
void onNextModal(std::function<void(QWidget *)> action, std::function<bool(QWidget *)> matches = {},
                 int timeoutMs = 10000);

// Stops every action still waiting for a modal widget; tests call it in
// cleanup() so that nothing waits on into the next test.
void cancelPendingModalActions();

// Typed form: acts on the next modal widget of class T.
template <class T> void onNextModalOf(std::function<void(T *)> action, int timeoutMs = 10000)
{
    onNextModal([action](QWidget *w) { action(qobject_cast<T *>(w)); },
                [](QWidget *w) { return qobject_cast<T *>(w) != nullptr; }, timeoutMs);
}

// The next file dialog chooses `path` (empty: the dialog is cancelled).
void chooseFileInNextDialog(const QString &path);

// Chooses `path` in an open file dialog.
void acceptFile(QFileDialog *dialog, const QString &path);

// The next message box is answered with `button` after its text and title
// are recorded into the given strings (when not null).
void answerNextMessageBox(QMessageBox::StandardButton button, QString *text = nullptr,
                          QString *title = nullptr);

// Answers every message box with `button`, appending its text to `texts`,
// until cancelPendingModalActions().
void answerEveryMessageBox(QMessageBox::StandardButton button, QStringList *texts);

// Creates a main window whose start-up file dialog chooses `path`.
std::unique_ptr<VorlanCSV> openWindow(const QString &path);

// Destroys a window without asking: a modified document is closed with the
// answer "Nein".
void discardWindow(std::unique_ptr<VorlanCSV> &window);

QString writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

QTableWidget *table(VorlanCSV *window);

// The value of cell (row, column) as the user sees it: the drop-down's
// current text, the line editor's text or the item's text; empty when the
// cell has nothing.
QString cellText(QTableWidget *table, int row, int column);

// Waits until `condition` holds, spinning the event loop; false on timeout.
bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 10000);

} // namespace TestSupport

// --- Helpers of the print tests ---
namespace TestSupport {

// The 28 column header texts exactly as the main window's form gives them.
QStringList programColumnTitles();

} // namespace TestSupport
