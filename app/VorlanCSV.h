// The main window: the plan table, the document it shows and every command
// of the program. The commands live in the folders of their concern.
#pragma once

#include "ui_VorlanCSV.h"

#include "RecoveryCopy.h"

#include <QHash>
#include <QMainWindow>
#include <QString>

#include <memory>

class ListLock;
class QClipboard;
class QCloseEvent;
class QMenu;
class QSettings;
class QUndoStack;

class VorlanCSV : public QMainWindow
{
    Q_OBJECT

public:
    explicit VorlanCSV(QWidget *parent = nullptr);
    ~VorlanCSV() override;

    QString rowText(int row) const;
    QStringList splitRowText(const QString &text) const;
    bool insertRowFromText(int row, const QString &text);

    bool isModified() const; // the table is not at the step last saved or opened
    bool askToSave();
    void updateTitle();
    void showMessage(QString text);
    bool confirm(const QString &title, const QString &text); // Ja or Nein, Nein the default

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void onContextMenu(QPoint pos);
    void onCopy();
    void onDelete();
    void onInsert();
    void onInsertCopied();
    void on_actionOeffnen_triggered();
    void on_actionSpeichern_triggered();
    void on_actionDrucken_triggered();
    void on_actionBeenden_triggered();
    void on_changed();

private:
    QMenu *buildContextMenu();
    void insertRowAtContextRow(const QString &text);
    bool loadPlanFile(const QString &path);
    RowCells cellsFromText(const QString &text);
    QString sharedField(int column, const QString &field);
    void changeCell(int row, int column, const QString &value);
    void undoChange();
    void redoChange();
    enum class Recovery { None, Declined, Unreadable, Taken };
    Recovery askToRecover(const QString &path, QVector<RowCells> *rows, QByteArray *fingerprint);
    void recover(const QVector<RowCells> &rows, const QByteArray &fingerprint);
    void recordChange();
    RecoveryCopy::Contents recoverySnapshot();

    Ui::VorlanCSVClass ui;
    QString fileName;
    int contextRow;
    QSettings *settings;
    QClipboard *clipboard;
    // Every change of the table, as steps that can be taken back; its clean
    // step is the one last saved or opened.
    QUndoStack *history;
    // Typing into one explanation field, until it loses the focus, is one step.
    int typingSession = 1;
    // Set once the user has agreed to close, so no later step asks again.
    bool closeConfirmed = false;
    // The clipboard's text as the context menu found it.
    QString checkedPasteText;
    // The last few texts of each plain column while rows are filled in.
    QHash<int, QStringList> recentFields;
    // Who else has the list open, and what the file held when it was read or last written.
    std::unique_ptr<ListLock> listLock;
    QByteArray diskFingerprint;
    // The table's changes not yet saved, kept in the user's data folder against a crash.
    RecoveryCopy *recovery;
};
