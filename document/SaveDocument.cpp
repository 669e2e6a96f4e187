// The save command: write every table row as one line to the current file.
#include "VorlanCSV.h"

#include "BusyCursor.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

void VorlanCSV::on_actionSpeichern_triggered()
{
    settings->setValue("lastpath", QFileInfo(fileName).path());

    // The previous file is replaced only once the new one is complete.
    BusyCursor busy;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        showMessage("Die Datei\n" + fileName + "\nkann nicht zum Schreiben geöffnet werden.");
        return;
    }
    for (int row = 0; row < ui.tab->rowCount(); ++row)
        file.write((rowText(row) + QLatin1Char('\n')).toUtf8());
    if (!file.commit()) {
        showMessage("Die Datei\n" + fileName + "\nkonnte nicht vollständig geschrieben werden.");
        return;
    }

    modified = false;
    updateTitle();
}
