// The plan table: every value lives in the table's items; the drop-downs and
// explanation fields exist only for the cells in sight, so that a list of
// fifty thousand rows costs no more widgets than one of fifty.
#pragma once

#include <QHash>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableWidget>
#include <QVector>

#include <optional>

class FieldTextValidator;
class QAbstractItemModel;

// A cell's value; a cell for which its row's line held no field has none.
using CellValue = std::optional<QString>;
// A row's values in column order; columns beyond its end keep what they had.
using RowCells = QVector<CellValue>;

class PlanTable : public QTableWidget
{
    Q_OBJECT

public:
    explicit PlanTable(QWidget *parent = nullptr);
    ~PlanTable() override;
    using QTableWidget::edit;

    static bool hasCellEditor(int column); // a drop-down or the explanation field

    CellValue cellValue(int row, int column) const;
    void setCellValue(int row, int column, const CellValue &value);
    RowCells rowCells(int row) const;
    void setRowCells(int row, const RowCells &cells);

    // The drop-down or explanation field on a cell, while the cell is in
    // sight or its editor holds the focus; null elsewhere.
    QWidget *cellEditor(int row, int column) const;

    // Makes the cell current and scrolls it into view; the focus follows
    // into its editor, or back to the table.
    void showCell(int row, int column);

    // While a list is being filled in, the cells are out of sight as a whole
    // and get no editors. A message box in between shows the table as it is.
    void setFilling(bool filling);

    // Takes over what the in-place editor of a plain cell holds, as Enter
    // would, and closes it.
    void commitOpenEditor();
    // The text typed into the in-place editor of a plain cell, while it is open and
    // holds something else than its cell.
    bool pendingEdit(int *row, int *column, QString *text) const;

signals:
    // The user changed a cell: in its editor, or in place and confirmed.
    void cellEdited(int row, int column, const QString &value);
    // An editor lost the focus: what was typed into it is complete.
    void editorLeft();
    // What the in-place editor holds changed, or the editor closed.
    void pendingEditChanged();

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void updateEditorGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Placed
    {
        QPersistentModelIndex index;
        QWidget *editor;
        int column; // kept for an editor whose cell is gone
    };

    void placeEditors();
    void placeLater();
    QWidget *takeEditor(int column);
    void release(QWidget *editor, int column);
    void showValue(QWidget *editor, int column, const QString &value);
    void editorChanged(QWidget *editor);
    void showValues(const QModelIndex &from, const QModelIndex &to);
    const Placed *placedFor(const QWidget *editor) const;
    QWidget *focusedEditor() const;

    QVector<Placed> placed;
    QHash<int, QVector<QWidget *>> spare;         // by column
    QHash<int, QAbstractItemModel *> valueModels; // one list per drop-down column
    FieldTextValidator *validator;
    // The view's own editor of a plain cell, while one is open.
    QPointer<QWidget> inPlaceEditor;
    QPersistentModelIndex inPlaceIndex;
    bool filling = false;
    bool placingQueued = false;
    // Showing, hiding and moving editors can move the focus, and that can
    // scroll the table and so ask for the editors to be placed again.
    bool placing = false;
    bool placeAgain = false;
};
