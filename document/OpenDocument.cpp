// The open command: choose a plan file and load its lines into the table.
#include "VorlanCSV.h"

#include "BusyCursor.h"
#include "ListLock.h"
#include "PlanFileReader.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QUndoStack>

namespace {

// A refused line is named in a message box, which takes many seconds to lay
// out a line of megabytes; such a line is shown by its beginning.
constexpr int MessageLineLimit = 1000;

QString shownLine(const QString &line)
{
    if (line.size() <= MessageLineLimit)
        return line;
    return line.left(MessageLineLimit) + QStringLiteral(" …");
}

} // namespace

void VorlanCSV::on_actionOeffnen_triggered()
{
    if (!askToSave())
        return;

    // A list someone else has open is opened only when the user says so; otherwise
    // the file dialog comes again for another one.
    const QString startDir = settings->value("lastpath").toString();
    QString chosen;
    std::unique_ptr<ListLock> lock;
    for (;;) {
        chosen = QFileDialog::getOpenFileName(this, "CSV-Datei öffnen", startDir, "CSV (*.csv)");
        if (chosen.isEmpty()) {
            recordChange(); // changes given up with "Nein" but still shown keep their copy
            return;
        }
        lock = listLock && listLock->isFor(chosen) ? nullptr : std::make_unique<ListLock>(chosen);
        const auto holder = lock ? lock->otherHolder() : std::nullopt;
        if (!holder
            || confirm("Datei in Bearbeitung",
                       "Die Datei\n" + chosen + "\nwird seit " + holder->since + " von "
                           + holder->name + " bearbeitet.\nTrotzdem öffnen?"))
            break;
    }
    if (lock)
        lock->lockForOthers();

    // Changes left unsaved by a crash are offered before the file is read, unless
    // another window of ours has the list open and so keeps its own.
    const ListLock *held = lock ? lock.get() : listLock.get();
    const bool recording = held && held->holdsSession();
    QVector<RowCells> recovered;
    QByteArray recoveredFingerprint;
    const Recovery offered =
        recording ? askToRecover(chosen, &recovered, &recoveredFingerprint) : Recovery::None;

    // At start-up there is no previous document, and the chosen path stays
    // even when it cannot be read. From the menu a failed open keeps the
    // document that is still shown, so a save cannot write it elsewhere.
    const QString previous = fileName;
    fileName = chosen;
    const bool loaded = loadPlanFile(chosen);
    if (!loaded) {
        showMessage("Die Datei " + chosen + " kann nicht zum Lesen geöffnet werden.");
        if (!previous.isEmpty()) {
            fileName = previous;
            recordChange();
            return;
        }
    }
    if (lock)
        listLock = std::move(lock);
    recovery->setList(recording ? chosen : QString(), offered == Recovery::Unreadable);
    if (offered == Recovery::Taken)
        recover(recovered, recoveredFingerprint);
    else if (offered == Recovery::Declined && loaded) // unread, the file is no replacement
        recovery->remove();
}

bool VorlanCSV::loadPlanFile(const QString &path)
{
    BusyCursor busy;
    // Only a regular file: opening a named pipe would wait for a writer for
    // ever, and a device such as /dev/zero never ends.
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = file.readAll();
    const bool readFailed = file.error() != QFileDevice::NoError;
    file.close();
    if (readFailed)
        return false;
    diskFingerprint = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);

    // The previous list goes before the new one is decoded, and the bytes
    // and then each line as soon as they are used, so that the new list
    // takes the memory they held instead of more.
    ui.tab->setFilling(true);
    ui.tab->clearContents();
    QStringList lines = PlanFileReader::splitLines(bytes);
    bytes.clear();
    // All rows at once: inserting them one by one costs time for every row
    // already there.
    ui.tab->setRowCount(lines.size());
    int row = 0;
    while (!lines.isEmpty()) {
        const QString line = lines.takeFirst();
        if (insertRowFromText(row, line)) {
            ++row;
            continue;
        }
        ui.tab->setFilling(false);
        showMessage("Die Zeile:\n\n" + shownLine(line)
                    + "\nenthält einen Fehler (z.B. mehr als 27 Spalten). Zeile ignoriert.");
        ui.tab->setFilling(true);
    }
    ui.tab->setFilling(false);
    recentFields.clear();
    // Refused lines leave no rows, nor does a longer previous document.
    ui.tab->setRowCount(row);

    // A new list, a new history, at the step just opened.
    history->clear();
    updateTitle();
    return true;
}
