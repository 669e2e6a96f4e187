// Fills a table row from a RowText and gives each cell its editor.
#include "VorlanCSV.h"

#include "ColumnCatalog.h"
#include "FieldEditors.h"

#include <QComboBox>
#include <QLineEdit>

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
            auto *combo = new QComboBox(this);
            for (const QString &value : *values) {
                combo->addItem(value);
                if (value == field)
                    combo->setCurrentIndex(combo->count() - 1);
            }
            ui.tab->setCellWidget(row, c, combo);
            connect(combo, SIGNAL(currentTextChanged(const QString &)), this, SLOT(on_changed()));
        } else if (c == ColumnCatalog::LineEditorColumn) {
            auto *edit = new QLineEdit(this);
            edit->setText(field);
            edit->setMaxLength(ColumnCatalog::LineEditorMaxLength);
            edit->setValidator(new FieldTextValidator(edit));
            ui.tab->setCellWidget(row, c, edit);
            connect(edit, SIGNAL(textChanged(const QString &)), this, SLOT(on_changed()));
        } else {
            ui.tab->setItem(row, c, new QTableWidgetItem(field));
        }
    }
    return true;
}
