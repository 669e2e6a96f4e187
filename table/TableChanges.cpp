// Steps of the plan table's history, and the window's undo and redo. Applied
// by undo or redo, a step makes its cell current and scrolls it into view;
// pushed, it leaves the view as the user has it.
#include "TableChanges.h"

#include "ColumnCatalog.h"
#include "VorlanCSV.h"

#include <QUndoStack>

#include <utility>

namespace {

constexpr int TypingId = 1;

} // namespace

CellChange::CellChange(PlanTable *table, int row, int column, const QString &value, int typing)
    : table(table), row(row), column(column), before(table->cellValue(row, column)), after(value),
      typing(typing)
{}

void CellChange::undo()
{
    table->setCellValue(row, column, before);
    table->showCell(row, column);
}

void CellChange::redo()
{
    table->setCellValue(row, column, after);
    if (std::exchange(done, true))
        table->showCell(row, column);
}

int CellChange::id() const
{
    return typing ? TypingId : -1;
}

bool CellChange::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const CellChange *>(other);
    if (next->typing != typing || next->row != row || next->column != column)
        return false;
    after = next->after;
    return true;
}

RowChange::RowChange(PlanTable *table, int row, const RowCells &cells, bool insert)
    : table(table), row(row), cells(cells), insert(insert)
{}

void RowChange::insertRow()
{
    table->insertRow(row);
    table->setRowCells(row, cells);
}

void RowChange::removeRow()
{
    table->removeRow(row);
}

void RowChange::undo()
{
    insert ? removeRow() : insertRow();
    table->showCell(qMin(row, table->rowCount() - 1), qMax(0, table->currentColumn()));
}

void RowChange::redo()
{
    insert ? insertRow() : removeRow();
    if (std::exchange(done, true))
        table->showCell(qMin(row, table->rowCount() - 1), qMax(0, table->currentColumn()));
}

TableReplacement::TableReplacement(PlanTable *table, QVector<RowCells> before,
                                   QVector<RowCells> after)
    : table(table), before(std::move(before)), after(std::move(after))
{}

void TableReplacement::show(const QVector<RowCells> &rows)
{
    table->setFilling(true);
    table->clearContents();
    table->setRowCount(rows.size());
    for (int r = 0; r < rows.size(); ++r)
        table->setRowCells(r, rows.at(r));
    table->setFilling(false);
}

void TableReplacement::undo()
{
    show(before);
}

void TableReplacement::redo()
{
    show(after);
}

// An edit becomes a step; undo and redo take over an open edit first, as
// every command does.
void VorlanCSV::changeCell(int row, int column, const QString &value)
{
    const int typing = column == ColumnCatalog::LineEditorColumn ? typingSession : 0;
    history->push(new CellChange(ui.tab, row, column, value, typing));
}

void VorlanCSV::undoChange()
{
    ui.tab->commitOpenEditor();
    ++typingSession;
    history->undo();
}

void VorlanCSV::redoChange()
{
    ui.tab->commitOpenEditor();
    ++typingSession;
    history->redo();
}
