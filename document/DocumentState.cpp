// The document's modified state, the window title and the question to save.
#include "VorlanCSV.h"

#include "BusyCursor.h"

#include <QMessageBox>

void VorlanCSV::on_changed()
{
    if (modified)
        return;
    modified = true;
    updateTitle();
}

void VorlanCSV::updateTitle()
{
    setWindowTitle("VorlanCSV - " + fileName + (modified ? " *" : ""));
}

bool VorlanCSV::askToSave()
{
    ui.tab->commitOpenEditor();
    if (!modified)
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
        return !modified;
    }
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
