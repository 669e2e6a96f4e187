// The document's modified state, the window title and the question to save.
#include "VorlanCSV.h"

#include "BusyCursor.h"

#include <QMessageBox>
#include <QUndoStack>

void VorlanCSV::on_changed()
{
    updateTitle();
}

bool VorlanCSV::isModified() const
{
    return !history->isClean();
}

void VorlanCSV::updateTitle()
{
    setWindowTitle("VorlanCSV - " + fileName + (isModified() ? " *" : ""));
}

bool VorlanCSV::askToSave()
{
    ui.tab->commitOpenEditor();
    if (!isModified())
        return true;

    // Built by hand rather than with QMessageBox::question, so that a path
    // that looks like markup is shown as it is.
    QMessageBox box(QMessageBox::Question, "Ungesicherte Daten!",
                    "Datei\n" + fileName + "\njetzt speichern?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::NoButton);
    const int answer = box.exec();

    // "Ja" means keep the edits: a save that failed (and said so) stops
    // what asked, as "Abbrechen" would.
    if (answer == QMessageBox::Yes) {
        on_actionSpeichern_triggered();
        return !isModified();
    }
    if (answer == QMessageBox::No)
        recovery->remove(); // the changes are given up
    return answer != QMessageBox::Cancel;
}

void VorlanCSV::showMessage(QString text)
{
    BusyCursor::Pause pause;
    QMessageBox box(this);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.exec();
}

bool VorlanCSV::confirm(const QString &title, const QString &text)
{
    BusyCursor::Pause pause;
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, this);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
