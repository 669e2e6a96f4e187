// Cell editors out of sight are hidden and kept under a hidden holder widget
// instead of the viewport. Scrolling moves every child of the viewport, so
// this keeps a scroll as cheap with ten thousand rows as with ten.
#include "PlanTable.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QSet>

#include <utility>

namespace {

// Placing the editors again when placing them asked for it; a focus that
// keeps moving is left to the next call.
constexpr int MaxPlacingPasses = 4;

bool holdsFocus(const QWidget *editor)
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == editor || editor->isAncestorOf(focus));
}

} // namespace

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
    park(editor);
}

void PlanTable::setFilling(bool filling)
{
    viewport()->setVisible(!filling);
    // Every new widget asks to be polished later; the editors were polished
    // as they went into their cells. Removed one by one, each removal would
    // search the whole queue, and when the list is filled from within the
    // queue's own processing (a timer, another program's request) the queue
    // is not compacted meanwhile: the search would grow with every editor.
    if (!filling)
        QCoreApplication::removePostedEvents(nullptr, QEvent::PolishRequest);
}

void PlanTable::removeCellEditors()
{
    // Taken from their cells in row order, which asks for each editor to be
    // deleted later; then deleted together, in that order. Deleted one by
    // one, each would search the event queue for its pending deletion, and
    // while an open runs from within the queue's own processing (a timer,
    // another program's request) the queue is not compacted meanwhile.
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            if (cellWidget(r, c))
                removeCellWidget(r, c);
        }
    }
    shown.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool PlanTable::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    QWidget *open = indexWidget(index);
    // A key typed while the table has the focus goes into the current
    // cell's editor, as into a plain cell, instead of only focusing it.
    if (open && open != inPlaceEditor && trigger == AnyKeyPressed && event) {
        scrollTo(index);
        open->setFocus(Qt::OtherFocusReason);
        QApplication::sendEvent(open, event);
        return true;
    }
    const bool editing = QTableWidget::edit(index, trigger, event);
    if (editing && !open)
        inPlaceEditor = indexWidget(index);
    return editing;
}

void PlanTable::commitOpenEditor()
{
    // An editor the view has closed already is no longer registered, and
    // the view then ignores both calls.
    if (inPlaceEditor) {
        commitData(inPlaceEditor);
        closeEditor(inPlaceEditor, QAbstractItemDelegate::NoHint);
    }
}

void PlanTable::scrollContentsBy(int dx, int dy)
{
    QTableWidget::scrollContentsBy(dx, dy);
    // The cells that came into sight bring their editors along.
    updateEditorGeometries();
}

void PlanTable::updateEditorGeometries()
{
    if (placing) {
        placeAgain = true;
        return;
    }
    placing = true;
    for (int pass = 0; pass < MaxPlacingPasses; ++pass) {
        placeAgain = false;
        placeEditors();
        if (!placeAgain)
            break;
    }
    placing = false;
}

void PlanTable::placeEditors()
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

        // The options the view itself gives its editors' geometry.
        QStyleOptionViewItem option;
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
        initViewItemOption(&option);
#else
        option = viewOptions();
#endif
        // One delegate serves every cell.
        QAbstractItemDelegate *delegate = itemDelegate();
        for (int r = firstRow; r <= lastRow; ++r) {
            for (int c = firstColumn; c <= lastColumn; ++c) {
                const QModelIndex index = model()->index(r, c);
                QWidget *editor = indexWidget(index);
                if (!editor)
                    continue;
                option.rect = visualRect(index);
                if (!option.rect.isValid())
                    continue;
                // The view's own in-place editor of a plain cell is only
                // shown or hidden; it is never moved to the holder.
                const bool cellEditor = editor != inPlaceEditor;
                if (cellEditor && editor->parentWidget() != viewport())
                    editor->setParent(viewport());
                editor->show();
                if (delegate)
                    delegate->updateEditorGeometry(editor, option, index);
                nowShown.append({editor, cellEditor});
            }
        }
    }

    QSet<QWidget *> stillShown;
    for (const ShownEditor &s : std::as_const(nowShown))
        stillShown.insert(s.editor);
    // Hiding an editor that holds the focus would hand the focus to the
    // next widget, maybe another cell's editor, and what the user types
    // next would land there. It stays where it is, scrolled out of sight
    // with its cell, until it loses the focus.
    const QVector<ShownEditor> before = std::exchange(shown, nowShown);
    for (const ShownEditor &s : before) {
        if (!s.editor || stillShown.contains(s.editor))
            continue;
        if (holdsFocus(s.editor)) {
            shown.append(s);
            continue;
        }
        if (s.cellEditor)
            park(s.editor);
        else
            s.editor->hide();
    }
}
