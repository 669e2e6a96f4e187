// The changes a user makes to the plan table, as steps of its history. A
// step keeps rows and columns with the values before and after, never
// widgets or items: rows move, and editors go to other cells.
#pragma once

#include "PlanTable.h"

#include <QUndoCommand>

// One cell's new value. Typing into the explanation field is one step for
// as long as the field keeps the focus: the steps of one `typing` session
// (0: none) merge.
class CellChange : public QUndoCommand
{
public:
    CellChange(PlanTable *table, int row, int column, const QString &value, int typing);
    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    PlanTable *table;
    int row, column;
    CellValue before, after;
    int typing;
    bool done = false;
};

// A row inserted, or a row removed, and put back by its undo.
class RowChange : public QUndoCommand
{
public:
    RowChange(PlanTable *table, int row, const RowCells &cells, bool insert);
    void undo() override;
    void redo() override;

private:
    void insertRow();
    void removeRow();

    PlanTable *table;
    int row;
    RowCells cells;
    bool insert;
    bool done = false;
};

// The whole table replaced, as by recovered changes: its undo gives back the
// table as it was.
class TableReplacement : public QUndoCommand
{
public:
    TableReplacement(PlanTable *table, QVector<RowCells> before, QVector<RowCells> after);
    void undo() override;
    void redo() override;

private:
    void show(const QVector<RowCells> &rows);

    PlanTable *table;
    QVector<RowCells> before, after;
};
