// The save command: write every table row as one line to the current file,
// so that the file is either wholly the new table or wholly what it was.
#include "VorlanCSV.h"

#include "BusyCursor.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QUndoStack>

namespace {

enum class SaveOutcome { Saved, NotOpened, Incomplete };

// Writes through a temporary file beside the document, which replaces the
// document only once every byte is in it. Unbuffered, so that a full disk
// shows at the write: commit() does not see a failed last flush.
SaveOutcome replaceWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return SaveOutcome::NotOpened;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return SaveOutcome::Incomplete;
    }
    return file.commit() ? SaveOutcome::Saved : SaveOutcome::Incomplete;
}

bool writeFromStart(QFile &file, const QByteArray &bytes)
{
    return file.seek(0) && file.write(bytes) == bytes.size() && file.flush()
        && file.resize(bytes.size());
}

// For folders that let existing files be changed but take no new ones: the
// document is overwritten where it is, and its previous bytes are put back
// when any step fails.
SaveOutcome overwriteInPlace(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!QFileInfo(path).isFile()
        || !file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered))
        return SaveOutcome::NotOpened;
    const QByteArray previous = file.readAll();
    if (file.error() != QFileDevice::NoError || previous.size() != file.size())
        return SaveOutcome::NotOpened;
    if (writeFromStart(file, bytes))
        return SaveOutcome::Saved;
    writeFromStart(file, previous);
    return SaveOutcome::Incomplete;
}

// Whether the file now holds other bytes than those read at open or written at the
// last save. A file that is gone holds nothing a save could lose.
bool changedOnDisk(const QString &path, const QByteArray &fingerprint)
{
    BusyCursor busy;
    QFile file(path);
    if (!file.exists())
        return false;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return !file.open(QIODevice::ReadOnly) || !hash.addData(&file) || hash.result() != fingerprint;
}

} // namespace

void VorlanCSV::on_actionSpeichern_triggered()
{
    ui.tab->commitOpenEditor();
    if (changedOnDisk(fileName, diskFingerprint)
        && !confirm("Datei geändert",
                    "Die Datei\n" + fileName
                        + "\nwurde geändert, seit sie geöffnet oder gespeichert wurde.\n"
                          "Trotzdem speichern und diese Änderungen überschreiben?"))
        return;
    settings->setValue("lastpath", QFileInfo(fileName).path());

    BusyCursor busy;
    QByteArray bytes;
    for (int row = 0; row < ui.tab->rowCount(); ++row)
        bytes += (rowText(row) + QLatin1Char('\n')).toUtf8();

    SaveOutcome outcome = replaceWhole(fileName, bytes);
    if (outcome == SaveOutcome::NotOpened)
        outcome = overwriteInPlace(fileName, bytes);
    if (outcome == SaveOutcome::NotOpened) {
        showMessage("Die Datei\n" + fileName + "\nkann nicht zum Schreiben geöffnet werden.");
        return;
    }
    if (outcome == SaveOutcome::Incomplete) {
        showMessage("Die Datei\n" + fileName + "\nkonnte nicht vollständig geschrieben werden.");
        return;
    }

    diskFingerprint = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    history->setClean();
    updateTitle();
}
