// Keeps ";" and line breaks out of the cells the user types or pastes into.
#include "FieldEditors.h"

#include <QLineEdit>

FieldTextValidator::FieldTextValidator(QObject *parent) : QValidator(parent)
{}

bool FieldTextValidator::isStorable(const QString &text)
{
    for (const QChar ch : text) {
        if (ch == QLatin1Char(';') || ch == QLatin1Char('\n') || ch == QLatin1Char('\r'))
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
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *lineEdit = qobject_cast<QLineEdit *>(editor))
        lineEdit->setValidator(new FieldTextValidator(lineEdit));
    return editor;
}
