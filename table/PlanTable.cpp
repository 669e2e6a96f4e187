// Editors are made for the cells in sight and a few rows around them, and
// handed on to the cells that come into sight as the table scrolls: a page
// down gives the page's editors new values instead of making new ones.
#include "PlanTable.h"

#include "ColumnCatalog.h"
#include "FieldEditors.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStringListModel>

#include <utility>

namespace {

// Rows above and below the viewport whose editors are ready before they
// scroll into sight.
constexpr int MarginRows = 2;
// Placing the editors again when placing them asked for it; a focus that
// keeps moving is left to the next call.
constexpr int MaxPlacingPasses = 4;
// Spare editors beyond these are let go, after a large window shrank.
constexpr int MaxSparePerColumn = 100;

bool holdsFocus(const QWidget *editor)
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == editor || editor->isAncestorOf(focus));
}

} // namespace

PlanTable::PlanTable(QWidget *parent)
    : QTableWidget(parent), validator(new FieldTextValidator(this))
{
    // Plain cells are edited in place; their editor keeps out what the file
    // format cannot store.
    auto *delegate = new FieldTextDelegate(this);
    setItemDelegate(delegate);
    connect(delegate, &FieldTextDelegate::edited, this,
            [this](const QModelIndex &index, const QString &value) {
                if (cellValue(index.row(), index.column()).value_or(QString()) != value)
                    emit cellEdited(index.row(), index.column(), value);
            });
    connect(delegate, &QAbstractItemDelegate::closeEditor, this, &PlanTable::pendingEditChanged);
    connect(model(), &QAbstractItemModel::dataChanged, this, &PlanTable::showValues);
    connect(model(), &QAbstractItemModel::rowsInserted, this, &PlanTable::placeLater);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &PlanTable::placeLater);
    connect(model(), &QAbstractItemModel::modelReset, this, &PlanTable::placeLater);
}

PlanTable::~PlanTable()
{
    // The model outlives this part of the table and resets as it goes.
    disconnect(model(), nullptr, this, nullptr);
}

bool PlanTable::hasCellEditor(int column)
{
    return ColumnCatalog::entry(column).list || column == ColumnCatalog::LineEditorColumn;
}

CellValue PlanTable::cellValue(int row, int column) const
{
    if (const QTableWidgetItem *cell = item(row, column))
        return cell->text();
    return std::nullopt;
}

void PlanTable::setCellValue(int row, int column, const CellValue &value)
{
    // An empty plain cell needs no item: it reads, shows and saves the same.
    if (!value || (value->isEmpty() && !hasCellEditor(column))) {
        if (item(row, column))
            delete takeItem(row, column);
    } else if (QTableWidgetItem *cell = item(row, column)) {
        cell->setText(*value);
    } else {
        setItem(row, column, new QTableWidgetItem(*value));
    }
    if (hasCellEditor(column))
        placeLater(); // the cell may have gained or lost its editor
}

RowCells PlanTable::rowCells(int row) const
{
    RowCells cells;
    for (int c = 0; c < columnCount(); ++c)
        cells.append(cellValue(row, c));
    return cells;
}

void PlanTable::setRowCells(int row, const RowCells &cells)
{
    for (int c = 0; c < cells.size(); ++c)
        setCellValue(row, c, cells.at(c));
}

QWidget *PlanTable::cellEditor(int row, int column) const
{
    for (const Placed &p : placed) {
        if (p.index.row() == row && p.index.column() == column && p.index.isValid())
            return p.editor;
    }
    return nullptr;
}

void PlanTable::showCell(int row, int column)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    const QModelIndex index = model()->index(row, column);
    setCurrentIndex(index);
    scrollTo(index);
    updateEditorGeometries();
    if (QWidget *focus = focusedEditor()) {
        if (focus != cellEditor(row, column))
            setFocus(Qt::OtherFocusReason);
    }
}

void PlanTable::setFilling(bool on)
{
    filling = on;
    viewport()->setVisible(!on);
    updateEditorGeometries();
}

void PlanTable::commitOpenEditor()
{
    // Only while the view has it open: one it closed already waits for its
    // deletion, and the view would warn of both calls.
    if (inPlaceEditor && indexWidget(inPlaceIndex) == inPlaceEditor) {
        commitData(inPlaceEditor);
        closeEditor(inPlaceEditor, QAbstractItemDelegate::NoHint);
    }
}

bool PlanTable::pendingEdit(int *row, int *column, QString *text) const
{
    const auto *line = qobject_cast<const QLineEdit *>(inPlaceEditor.data());
    if (!line || !inPlaceIndex.isValid() || !line->isVisible()
        || line->text() == cellValue(inPlaceIndex.row(), inPlaceIndex.column()).value_or(""))
        return false;
    *row = inPlaceIndex.row();
    *column = inPlaceIndex.column();
    *text = line->text();
    return true;
}

bool PlanTable::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    QWidget *editor = cellEditor(index.row(), index.column());
    if (!editor && hasCellEditor(index.column()) && item(index.row(), index.column())) {
        // Scrolled out of sight, the cell has given its editor away.
        scrollTo(index);
        updateEditorGeometries();
        editor = cellEditor(index.row(), index.column());
    }
    if (editor) {
        // A current cell set from elsewhere (the find bar) leaves the focus
        // where it is; within the table it goes into the cell's editor.
        const QWidget *focus = QApplication::focusWidget();
        if (trigger == CurrentChanged && !(focus && (focus == this || isAncestorOf(focus))))
            return false;
        if (editor->focusPolicy() == Qt::NoFocus)
            return false;
        editor->setFocus(Qt::OtherFocusReason);
        // A key typed while the table has the focus goes into the cell's
        // editor, as into a plain cell, instead of only focusing it.
        if (trigger == AnyKeyPressed && event)
            QApplication::sendEvent(editor, event);
        return true;
    }
    const bool editing = QTableWidget::edit(index, trigger, event);
    if (editing) {
        inPlaceEditor = indexWidget(index);
        inPlaceIndex = index;
        if (auto *line = qobject_cast<QLineEdit *>(inPlaceEditor))
            connect(line, &QLineEdit::textEdited, this, &PlanTable::pendingEditChanged,
                    Qt::UniqueConnection);
    }
    return editing;
}

void PlanTable::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    // Moving on from a cell whose editor has the focus hands the focus back
    // to the table, so that keys go to the new current cell.
    if (QWidget *focus = focusedEditor()) {
        const Placed *p = placedFor(focus);
        if (current.isValid() && p && p->index != current)
            setFocus(Qt::OtherFocusReason);
    }
    QTableWidget::currentChanged(current, previous);
}

void PlanTable::scrollContentsBy(int dx, int dy)
{
    QTableWidget::scrollContentsBy(dx, dy);
    // The cells that came into sight bring their editors along.
    updateEditorGeometries();
}

void PlanTable::updateEditorGeometries()
{
    QTableWidget::updateEditorGeometries(); // the in-place editor
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

void PlanTable::placeLater()
{
    if (placingQueued)
        return;
    placingQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            placingQueued = false;
            updateEditorGeometries();
        },
        Qt::QueuedConnection);
}

void PlanTable::placeEditors()
{
    // A pending layout comes back here once it has run.
    executeDelayedItemsLayout();

    int first = 0, last = -1, firstColumn = 0, lastColumn = -1;
    if (!filling && rowCount() > 0 && columnCount() > 0) {
        first = rowAt(0);
        last = rowAt(viewport()->height() - 1);
        firstColumn = columnAt(0);
        lastColumn = columnAt(viewport()->width() - 1);
        if (first < 0)
            first = 0;
        if (last < 0) // a list shorter than the window
            last = rowCount() - 1;
        if (firstColumn < 0)
            firstColumn = 0;
        if (lastColumn < 0)
            lastColumn = columnCount() - 1;
        first = qMax(0, first - MarginRows);
        last = qMin(rowCount() - 1, last + MarginRows);
    }
    const int width = lastColumn - firstColumn + 1;
    QVector<bool> covered(qMax(0, (last - first + 1) * width));
    const auto slot = [&](int r, int c) -> int {
        return r >= first && r <= last && c >= firstColumn && c <= lastColumn
            ? (r - first) * width + c - firstColumn
            : -1;
    };

    // Taken out first: what runs while editors are hidden finds none of
    // them placed.
    QVector<Placed> kept;
    for (const Placed &p : std::exchange(placed, {})) {
        const int r = p.index.row(), c = p.index.column(), at = slot(r, c);
        const bool valid = p.index.isValid() && item(r, c);
        if (valid && at >= 0 && !covered.at(at)) {
            covered[at] = true;
            kept.append(p);
            continue;
        }
        // Hiding an editor that holds the focus would hand the focus to the
        // next widget, maybe another cell's editor, and what the user types
        // next would land there. It stays with its cell, out of sight,
        // until it loses the focus.
        if (holdsFocus(p.editor)) {
            if (valid) {
                kept.append(p);
                continue;
            }
            setFocus(Qt::OtherFocusReason);
        }
        release(p.editor, p.column);
    }
    for (int r = first; r <= last; ++r) {
        for (int c = firstColumn; c <= lastColumn; ++c) {
            const QTableWidgetItem *cell = hasCellEditor(c) ? item(r, c) : nullptr;
            if (!cell || covered.at(slot(r, c)))
                continue;
            QWidget *editor = takeEditor(c);
            showValue(editor, c, cell->text());
            kept.append({QPersistentModelIndex(model()->index(r, c)), editor, c});
        }
    }
    placed = kept;
    for (const Placed &p : std::as_const(kept)) {
        const QRect rect = visualRect(p.index);
        if (p.editor->geometry() != rect)
            p.editor->setGeometry(rect);
        if (p.editor->isHidden())
            p.editor->show();
    }
}

QWidget *PlanTable::takeEditor(int column)
{
    QVector<QWidget *> &pool = spare[column];
    if (!pool.isEmpty())
        return pool.takeLast();
    QWidget *editor;
    if (const QStringList *values = ColumnCatalog::entry(column).list) {
        // The drop-downs of a column share one read-only model of its list.
        QAbstractItemModel *&shared = valueModels[column];
        if (!shared)
            shared = new QStringListModel(*values, this);
        auto *combo = new ValueDropDown(viewport());
        combo->setModel(shared);
        connect(combo, &QComboBox::currentTextChanged, this,
                [this, combo] { editorChanged(combo); });
        editor = combo;
    } else {
        auto *line = new QLineEdit(viewport());
        line->setMaxLength(ColumnCatalog::LineEditorMaxLength);
        line->setValidator(validator);
        connect(line, &QLineEdit::textChanged, this, [this, line] { editorChanged(line); });
        editor = line;
    }
    editor->installEventFilter(this);
    return editor;
}

void PlanTable::release(QWidget *editor, int column)
{
    editor->hide();
    auto *combo = qobject_cast<QComboBox *>(editor);
    if (combo && combo->model() != valueModels.value(column)) {
        const QSignalBlocker quiet(combo);
        combo->setModel(valueModels.value(column));
    }
    QVector<QWidget *> &pool = spare[column];
    if (pool.size() < MaxSparePerColumn)
        pool.append(editor);
    else
        editor->deleteLater();
}

void PlanTable::showValue(QWidget *editor, int column, const QString &value)
{
    const QSignalBlocker quiet(editor);
    if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        if (line->text() != value)
            line->setText(value);
        return;
    }
    auto *combo = qobject_cast<QComboBox *>(editor);
    if (!combo || (combo->currentIndex() >= 0 && combo->currentText() == value))
        return;
    const QStringList &values = *ColumnCatalog::entry(column).list;
    const int entry = values.indexOf(value);
    if (entry >= 0) {
        if (combo->model() != valueModels.value(column))
            combo->setModel(valueModels.value(column));
        combo->setCurrentIndex(entry);
    } else {
        // A value the list lacks (from another tool, or an older list) stays
        // the cell's value, offered after the list's own entries in this
        // cell alone.
        combo->setModel(new QStringListModel(values + QStringList(value), combo));
        combo->setCurrentIndex(values.size());
    }
}

void PlanTable::editorChanged(QWidget *editor)
{
    const Placed *p = placedFor(editor);
    if (!p || !p->index.isValid())
        return;
    auto *combo = qobject_cast<QComboBox *>(editor);
    const QString value = combo ? combo->currentText() : static_cast<QLineEdit *>(editor)->text();
    emit cellEdited(p->index.row(), p->index.column(), value);
}

void PlanTable::showValues(const QModelIndex &from, const QModelIndex &to)
{
    for (const Placed &p : std::as_const(placed)) {
        const int r = p.index.row(), c = p.index.column();
        if (r >= from.row() && r <= to.row() && c >= from.column() && c <= to.column()) {
            if (const QTableWidgetItem *cell = item(r, c))
                showValue(p.editor, c, cell->text());
        }
    }
}

const PlanTable::Placed *PlanTable::placedFor(const QWidget *editor) const
{
    for (const Placed &p : placed) {
        if (p.editor == editor)
            return &p;
    }
    return nullptr;
}

QWidget *PlanTable::focusedEditor() const
{
    for (const Placed &p : placed) {
        if (holdsFocus(p.editor))
            return p.editor;
    }
    return nullptr;
}

bool PlanTable::eventFilter(QObject *watched, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(watched);
    if (!editor || editor->parentWidget() != viewport())
        return QTableWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        // As with the view's own cell widgets: a focused editor's cell is
        // the current cell.
        if (const Placed *p = placedFor(editor)) {
            if (p->index.isValid() && currentIndex() != p->index)
                setCurrentIndex(p->index);
        }
        break;
    case QEvent::FocusOut:
        emit editorLeft();
        placeLater(); // an editor out of sight can go now
        break;
    case QEvent::ShortcutOverride:
        // Not accepted, the key goes on to the window's shortcuts.
        if (isHistoryKey(static_cast<QKeyEvent *>(event)))
            return true;
        break;
    default:
        break;
    }
    return QTableWidget::eventFilter(watched, event);
}
