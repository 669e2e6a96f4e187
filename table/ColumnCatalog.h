// The fixed knowledge about the 28 columns of the plan table: width class,
// drop-down vocabulary and the columns the print dialog leaves unmarked.
#pragma once

#include <QStringList>

struct ColumnEntry
{
    char kind;               // 's', 'n', 'b' or '\0': width class only
    const QStringList *list; // vocabulary of a drop-down column, or null
};

namespace ColumnCatalog {

constexpr int ColumnCount = 28;
constexpr int LineEditorColumn = 19;
constexpr int LineEditorMaxLength = 30;

const ColumnEntry &entry(int column);
int widthForKind(char kind); // 0 when the column keeps the table's default

} // namespace ColumnCatalog

extern const QStringList FormatValues;
extern const QStringList GeschossValues;
extern const QStringList GewerkValues;
extern const QStringList MassstabValues;
extern const QStringList PlanartValues;
extern const QStringList DefaultUnmarkedColumns;
