// Keeps ";" and line breaks out of the cells the user types or pastes into,
// and the wheel away from the drop-downs.
#include "FieldEditors.h"

#include "ColumnCatalog.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

bool isHistoryKey(const QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return (modifiers == Qt::ControlModifier && (key == Qt::Key_Z || key == Qt::Key_Y))
        || (modifiers == (Qt::ControlModifier | Qt::ShiftModifier) && key == Qt::Key_Z);
}

FieldTextValidator::FieldTextValidator(QObject *parent) : QValidator(parent)
{}

bool FieldTextValidator::isStorable(const QString &text)
{
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == QLatin1Char(';') || ch == QLatin1Char('\n') || ch == QLatin1Char('\r'))
            return false;
        // Half a character, as a length limit cuts one beyond the basic plane, has no
        // UTF-8 form: the editor refuses the input that would leave it.
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (ch.isSurrogate())
            return false;
    }
    return true;
}

QValidator::State FieldTextValidator::validate(QString &input, int &) const
{
    return isStorable(input) ? Acceptable : Invalid;
}

FieldTextDelegate::FieldTextDelegate(QObject *parent) : QStyledItemDelegate(parent)
{}

QWidget *FieldTextDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                         const QModelIndex &index) const
{
    const int column = index.column();
    if (ColumnCatalog::entry(column).list || column == ColumnCatalog::LineEditorColumn)
        return nullptr;
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *lineEdit = qobject_cast<QLineEdit *>(editor))
        lineEdit->setValidator(new FieldTextValidator(lineEdit));
    return editor;
}

void FieldTextDelegate::setModelData(QWidget *editor, QAbstractItemModel *,
                                     const QModelIndex &index) const
{
    if (auto *lineEdit = qobject_cast<QLineEdit *>(editor))
        emit edited(index, lineEdit->text());
}

bool FieldTextDelegate::eventFilter(QObject *object, QEvent *event)
{
    // Not accepted, the key goes on to the window's shortcuts.
    if (event->type() == QEvent::ShortcutOverride && isHistoryKey(static_cast<QKeyEvent *>(event)))
        return true;
    return QStyledItemDelegate::eventFilter(object, event);
}

ValueDropDown::ValueDropDown(QWidget *parent) : QComboBox(parent)
{
    // Not focused by the wheel either: the keys the user types next belong
    // where they were going.
    setFocusPolicy(Qt::StrongFocus);
}

void ValueDropDown::wheelEvent(QWheelEvent *event)
{
    // Ignored, the event goes on to the table's viewport, which scrolls.
    event->ignore();
}
