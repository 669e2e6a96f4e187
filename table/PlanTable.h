// The plan table: a table widget that keeps only the cell editors in sight
// among the viewport's children, so that long plan lists with thousands of
// drop-downs scroll and load in time proportional to what is shown.
#pragma once

#include <QPointer>
#include <QTableWidget>
#include <QVector>

class PlanTable : public QTableWidget
{
    Q_OBJECT

public:
    explicit PlanTable(QWidget *parent = nullptr);
    using QTableWidget::edit;

    // Like setCellWidget(); the editor waits out of sight until its cell is
    // scrolled into view.
    void setCellEditor(int row, int column, QWidget *editor);

    // Removes every cell editor in row order, which lets them be destroyed
    // in the order they were parked; the table keeps its items.
    void removeCellEditors();

    // While a list is being filled in, the cells are out of sight as a whole,
    // so that each new editor goes to the holder without being shown and
    // hidden on the way. A message box in between shows the table as it is.
    void setFilling(bool filling);

    // Takes over what the in-place editor of a plain cell holds, as Enter
    // would, and closes it.
    void commitOpenEditor();

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void updateEditorGeometries() override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void placeEditors();
    void park(QWidget *editor);

    struct ShownEditor
    {
        QPointer<QWidget> editor;
        bool cellEditor;
    };

    QWidget *parking;
    QVector<ShownEditor> shown;
    // The view's own editor of a plain cell, while one is open.
    QPointer<QWidget> inPlaceEditor;
    // Showing, hiding and moving editors can move the focus, and that can
    // scroll the table and so ask for the editors to be placed again.
    bool placing = false;
    bool placeAgain = false;
};
