// The recovery copy as the window keeps it: recorded while the table has changes
// not yet saved, and offered when the list is opened again after a crash.
#include "VorlanCSV.h"

#include "RecoveryCopy.h"
#include "TableChanges.h"

#include <QUndoStack>

namespace {

const QString TimeFormat = QStringLiteral("dd.MM.yyyy hh:mm");

} // namespace

void VorlanCSV::recordChange()
{
    int row, column;
    QString text;
    recovery->changed(isModified() || ui.tab->pendingEdit(&row, &column, &text));
}

VorlanCSV::Recovery VorlanCSV::askToRecover(const QString &path, QVector<RowCells> *rows,
                                            QByteArray *fingerprint)
{
    recovery->waitForWrites(); // a removal still under way
    RecoveryCopy::Contents copy;
    switch (RecoveryCopy::read(path, &copy)) {
    case RecoveryCopy::Found::None:
        return Recovery::None;
    case RecoveryCopy::Found::Unreadable:
        showMessage("Die Wiederherstellungsdatei\n" + RecoveryCopy::fileFor(path)
                    + "\nkann nicht gelesen werden und bleibt erhalten.");
        return Recovery::Unreadable;
    case RecoveryCopy::Found::Readable:
        break;
    }
    if (!confirm("Wiederherstellen", "Für die Datei\n" + path
                     + "\ngibt es ungesicherte Änderungen vom " + copy.written.toString(TimeFormat)
                     + ".\nWiederherstellen?"))
        return Recovery::Declined;
    *rows = std::move(copy.rows);
    *fingerprint = copy.fingerprint;
    return Recovery::Taken;
}

// One step from the file as read to the recovered table. The file's fingerprint is the
// one the changes were made on, so a save after the file changed meanwhile asks first.
void VorlanCSV::recover(const QVector<RowCells> &rows, const QByteArray &fingerprint)
{
    QVector<RowCells> read;
    read.reserve(ui.tab->rowCount());
    for (int r = 0; r < ui.tab->rowCount(); ++r)
        read.append(ui.tab->rowCells(r));
    history->push(new TableReplacement(ui.tab, std::move(read), rows));
    diskFingerprint = fingerprint;
    updateTitle();
}

// What a copy keeps: every row, and what the in-place editor holds as entered.
RecoveryCopy::Contents VorlanCSV::recoverySnapshot()
{
    RecoveryCopy::Contents copy;
    copy.fingerprint = diskFingerprint;
    copy.rows.reserve(ui.tab->rowCount());
    for (int r = 0; r < ui.tab->rowCount(); ++r)
        copy.rows.append(ui.tab->rowCells(r));
    int row, column;
    QString text;
    if (ui.tab->pendingEdit(&row, &column, &text))
        copy.rows[row][column] = text;
    return copy;
}
