// Fills a table row from a RowText and gives each cell its editor.
#include "VorlanCSV.h"

#include "ColumnCatalog.h"
#include "FieldEditors.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStringListModel>

// The drop-downs of a column share one read-only model of their value list.
QAbstractItemModel *VorlanCSV::valueModel(const QStringList *values)
{
    QAbstractItemModel *&model = valueModels[values];
    if (!model)
        model = new QStringListModel(*values, this);
    return model;
}

void VorlanCSV::dropValueModels()
{
    // A drop-down that outlives its model forgets it at once; one destroyed
    // while still attached searches every other drop-down's connection to
    // the model. So the models go first when all drop-downs go.
    qDeleteAll(valueModels);
    valueModels.clear();
}

bool VorlanCSV::insertRowFromText(int row, const QString &text)
{
    const QStringList fields = splitRowText(text);
    if (fields.size() > ColumnCatalog::ColumnCount)
        return false;

    if (row >= ui.tab->rowCount())
        ui.tab->insertRow(row);

    for (int c = 0; c < fields.size(); ++c) {
        const QString &field = fields.at(c);
        if (const QStringList *values = ColumnCatalog::entry(c).list) {
            // The items are the list itself, shared until someone would
            // change it; a plan list has thousands of these drop-downs.
            auto *combo = new QComboBox(this);
            combo->setModel(valueModel(values));
            combo->setCurrentIndex(qMax(0, values->indexOf(field)));
            ui.tab->setCellEditor(row, c, combo);
            connect(combo, SIGNAL(currentTextChanged(const QString &)), this, SLOT(on_changed()));
        } else if (c == ColumnCatalog::LineEditorColumn) {
            auto *edit = new QLineEdit(this);
            edit->setText(field);
            edit->setMaxLength(ColumnCatalog::LineEditorMaxLength);
            edit->setValidator(fieldValidator);
            ui.tab->setCellEditor(row, c, edit);
            connect(edit, SIGNAL(textChanged(const QString &)), this, SLOT(on_changed()));
        } else {
            ui.tab->setItem(row, c, new QTableWidgetItem(field));
        }
    }
    return true;
}
