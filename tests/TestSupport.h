// Shared helpers of the tests: isolated settings, the window on a file, dialogs and menus.
#pragma once

#include "VorlanCSV.h"

#include <QMessageBox>

#include <functional>
#include <memory>

class QScrollBar;
class QTableWidget;

namespace TestSupport {

// From plan-format.txt: the 28 header texts, a column's drop-down items.
extern const QStringList ColumnTitles;
QStringList vocabulary(int column);
QStringList items(QWidget *dropDown); // none for anything else

// Isolates the settings; each modal dialog and context menu must be expected, with the user's
// answer: any other, a message box not plain or under a busy cursor, a failed signal
// connection or a closed editor handed to the table fails the running test at once.
void startTesting();
void expectModal(const char *className, std::function<void(QWidget *)> answer);
template <class T> void expect(std::function<void(T *)> answer)
{
    expectModal(T::staticMetaObject.className(), [=](QWidget *w) { answer(static_cast<T *>(w)); });
}
// The next file dialog, checked, gets `path` (empty: cancelled); `chosen` runs as it closes.
void expectFile(const QString &path, std::function<void()> chosen = {});
void expectMessage(QMessageBox::StandardButton button = QMessageBox::Ok);
QStringList takeMessages(); // "title|text" of each message box since the last call
void checkDialogs();        // in cleanup(): fails for expected dialogs that never came

// Right-clicks the table at `pos`, runs `whileOpen`, picks `entry` (empty: none); the entries.
QStringList rightClick(QTableWidget *table, QPoint pos, const QString &entry = {},
                       std::function<void()> whileOpen = {});
// The mouse as a user moves it: an action's toolbar button, a scroll bar's handle, the wheel.
void clickTool(VorlanCSV *window, const char *action);
void dragScrollBar(QScrollBar *bar, double fraction); // the handle, to a fraction of the way
void turnWheel(QWidget *widget, QPoint pos, int degrees, Qt::Orientation = Qt::Vertical);

std::unique_ptr<VorlanCSV> openWindow(const QString &path); // chosen in the start-up dialog
void discardWindow(std::unique_ptr<VorlanCSV> &window);     // a question is answered "Nein"
void trigger(VorlanCSV *window, const char *action);
void editCell(PlanTable *tab, int row, int column, const QString &text); // a plain cell, Enter
PlanTable *table(VorlanCSV *window);
QStringList rowTexts(VorlanCSV *window);
QString titleOf(const QString &path, bool modified = false);
QByteArray planFile(const QStringList &rows); // one LF after each row, in UTF-8
QStringList planRows(int count); // plan list rows with 28 fields, drop-down values filled
QString writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);
QString pdfText(const QString &pdf); // pages ended by form feeds

// Settings isolated, dialogs watched, a test's window closed after it, answering "Nein".
class WindowTest : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<VorlanCSV> window;

private slots:
    void initTestCase() { startTesting(); }
    void cleanup()
    {
        discardWindow(window);
        checkDialogs();
    }
};

} // namespace TestSupport
