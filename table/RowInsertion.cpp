// Fills a table row from a RowText and gives each cell its editor.
#include "VorlanCSV.h"

#include "ColumnCatalog.h"
#include "FieldEditors.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QStringListModel>

#include <utility>

namespace {

// How many texts of a column a new field is compared with.
constexpr int RecentFieldCount = 16;

} // namespace

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

// Plan lists repeat most values from row to row: the project, the part of
// the building, the year, the firm, the file type. A field equal to one of
// the last few of its column shares that one's text instead of keeping a
// copy of its own.
QString VorlanCSV::sharedField(int column, const QString &field)
{
    if (field.isEmpty())
        return field;
    QStringList &recent = recentFields[column];
    for (const QString &seen : std::as_const(recent)) {
        if (seen == field)
            return seen;
    }
    if (recent.size() == RecentFieldCount)
        recent.removeLast();
    recent.prepend(field);
    return field;
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
            auto *combo = new ValueDropDown(this);
            // Connected first, and quiet while it gets its list and value,
            // so that filling reports no change. Setting a value makes the
            // accessibility support connect to the drop-down; connecting
            // after that would grow its table of connections and leave the
            // first, smaller one behind unused, in every drop-down.
            connect(combo, SIGNAL(currentTextChanged(const QString &)), this, SLOT(on_changed()));
            {
                const QSignalBlocker quiet(combo);
                const int entry = values->indexOf(field);
                if (entry >= 0 || field.isEmpty()) {
                    combo->setModel(valueModel(values));
                    combo->setCurrentIndex(qMax(0, entry));
                } else {
                    // A value the list lacks (from another tool, or an
                    // older list) stays the cell's value, offered after
                    // the list's own entries in this cell alone.
                    combo->setModel(new QStringListModel(*values + QStringList(field), combo));
                    combo->setCurrentIndex(values->size());
                }
            }
            ui.tab->setCellEditor(row, c, combo);
        } else if (c == ColumnCatalog::LineEditorColumn) {
            // The text comes after construction: given to the constructor,
            // it is laid out again while the editor is set up.
            auto *edit = new QLineEdit(this);
            // Cut here: the length limit would keep half of a character
            // that does not fit, and a save would write "?" for it.
            QString kept = field.left(ColumnCatalog::LineEditorMaxLength);
            if (kept.size() == ColumnCatalog::LineEditorMaxLength
                && kept.at(kept.size() - 1).isHighSurrogate())
                kept.chop(1);
            edit->setText(kept);
            edit->setMaxLength(ColumnCatalog::LineEditorMaxLength);
            edit->setValidator(fieldValidator);
            ui.tab->setCellEditor(row, c, edit);
            connect(edit, SIGNAL(textChanged(const QString &)), this, SLOT(on_changed()));
        } else {
            ui.tab->setItem(row, c, new QTableWidgetItem(sharedField(c, field)));
        }
    }
    return true;
}
