// Fills a table row from a RowText: the values its cells take.
#include "VorlanCSV.h"

#include "ColumnCatalog.h"

#include <utility>

namespace {

// How many texts of a column a new field is compared with.
constexpr int RecentFieldCount = 16;

} // namespace

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

// The values a RowText gives its row's first columns: the fields trimmed, an
// empty drop-down field "---", the explanation cut to its 30 characters.
// Values of the word lists share the list's text.
RowCells VorlanCSV::cellsFromText(const QString &text)
{
    const QStringList fields = splitRowText(text);
    RowCells cells;
    for (int c = 0; c < fields.size() && c < ColumnCatalog::ColumnCount; ++c) {
        const QString &field = fields.at(c);
        if (const QStringList *values = ColumnCatalog::entry(c).list) {
            const int entry = field.isEmpty() ? 0 : values->indexOf(field);
            // A value the list lacks (from another tool, or an older list)
            // stays the cell's value.
            cells.append(entry >= 0 ? values->at(entry) : field);
        } else if (c == ColumnCatalog::LineEditorColumn) {
            // Never half of a character that does not fit: a save would
            // write "?" for it.
            QString kept = field.left(ColumnCatalog::LineEditorMaxLength);
            if (kept.size() == ColumnCatalog::LineEditorMaxLength
                && kept.at(kept.size() - 1).isHighSurrogate())
                kept.chop(1);
            cells.append(kept);
        } else {
            cells.append(sharedField(c, field));
        }
    }
    return cells;
}

bool VorlanCSV::insertRowFromText(int row, const QString &text)
{
    if (text.count(QLatin1Char(';')) >= ColumnCatalog::ColumnCount)
        return false;
    if (row >= ui.tab->rowCount())
        ui.tab->insertRow(row);
    ui.tab->setRowCells(row, cellsFromText(text));
    return true;
}
