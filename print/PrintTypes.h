// What the print command hands to the preview: the marked columns and the
// texts to print.
#pragma once

#include <QList>
#include <QStringList>

// One flag per table column, true when the column is printed.
using ColumnFlags = bool[28];

// Entry 0: the file name; entry 1: the column titles; then one list of
// fields per table row.
using PrintRows = QList<QStringList>;
