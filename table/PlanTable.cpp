// Cell editors out of sight are hidden and kept under a hidden holder widget
// instead of the viewport. Scrolling moves every child of the viewport, so
// this keeps a scroll as cheap with ten thousand rows as with ten.
#include "PlanTable.h"

#include <QAbstractItemDelegate>
#include <QCoreApplication>
#include <QSet>

PlanTable::PlanTable(QWidget *parent) : QTableWidget(parent), parking(new QWidget(this))
{
    parking->setObjectName("parkedCellEditors");
    parking->hide();
}

void PlanTable::park(QWidget *editor)
{
    editor->hide();
    editor->setParent(parking);
}

void PlanTable::setCellEditor(int row, int column, QWidget *editor)
{
    // A widget shown without a size of its own first works out its size
    // hint; for a drop-down that means measuring every entry. The view
    // gives it the cell's geometry anyway.
    editor->resize(columnWidth(column), rowHeight(row));
    setCellWidget(row, column, editor);
    // setCellWidget() has shown the editor, which polished it; the polish
    // request that every new widget posts would only wait in the event
    // queue, one for each editor of a long list.
    QCoreApplication::removePostedEvents(editor, QEvent::PolishRequest);
    park(editor);
}

void PlanTable::setFilling(bool filling)
{
    viewport()->setVisible(!filling);
}

void PlanTable::removeCellEditors()
{
    // Destroyed at once and one by one: left to deleteLater(), the old
    // editors of a long list would all still be alive while the next list
    // is loaded, and each would search a long list of pending deletions.
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            if (QWidget *editor = cellWidget(r, c)) {
                removeCellWidget(r, c);
                delete editor;
            }
        }
    }
    shown.clear();
}

void PlanTable::scrollContentsBy(int dx, int dy)
{
    QTableWidget::scrollContentsBy(dx, dy);
    // The cells that came into sight bring their editors along.
    updateEditorGeometries();
}

void PlanTable::updateEditorGeometries()
{
    // A pending layout comes back here once it has run.
    executeDelayedItemsLayout();

    QVector<ShownEditor> nowShown;
    const int rows = rowCount();
    const int columns = columnCount();
    if (rows > 0 && columns > 0) {
        int firstRow = rowAt(0);
        int lastRow = rowAt(viewport()->height() - 1);
        int firstColumn = columnAt(0);
        int lastColumn = columnAt(viewport()->width() - 1);
        if (firstRow < 0)
            firstRow = 0;
        if (lastRow < 0)
            lastRow = rows - 1;
        if (firstColumn < 0)
            firstColumn = 0;
        if (lastColumn < 0)
            lastColumn = columns - 1;

        QStyleOptionViewItem option = viewOptions();
        for (int r = firstRow; r <= lastRow; ++r) {
            for (int c = firstColumn; c <= lastColumn; ++c) {
                const QModelIndex index = model()->index(r, c);
                QWidget *editor = indexWidget(index);
                if (!editor)
                    continue;
                option.rect = visualRect(index);
                if (!option.rect.isValid())
                    continue;
                // Plain cells have an item; their in-place editor belongs to
                // the view and is only shown or hidden.
                const bool cellEditor = item(r, c) == nullptr;
                if (cellEditor && editor->parentWidget() != viewport())
                    editor->setParent(viewport());
                editor->show();
                if (QAbstractItemDelegate *delegate = itemDelegate(index))
                    delegate->updateEditorGeometry(editor, option, index);
                nowShown.append({editor, cellEditor});
            }
        }
    }

    QSet<QWidget *> stillShown;
    for (const ShownEditor &s : nowShown)
        stillShown.insert(s.editor);
    for (const ShownEditor &s : qAsConst(shown)) {
        if (!s.editor || stillShown.contains(s.editor))
            continue;
        if (s.cellEditor)
            park(s.editor);
        else
            s.editor->hide();
    }
    shown = nowShown;
}
