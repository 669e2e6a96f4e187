// Editors for the cells of the plan table. A field can hold neither the
// separator ";" nor a line break nor half of a character: the file has no
// way to store them.
#pragma once

#include <QComboBox>
#include <QStyledItemDelegate>
#include <QValidator>

class FieldTextValidator : public QValidator
{
    Q_OBJECT

public:
    explicit FieldTextValidator(QObject *parent = nullptr);
    State validate(QString &input, int &pos) const override;

    static bool isStorable(const QString &text);
};

// In-place editor of the plain cells: the table's own line edit, with the
// validator above. Cells of the drop-down and explanation columns get none:
// a short row has no editor there, and what was typed would not be saved.
class FieldTextDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit FieldTextDelegate(QObject *parent = nullptr);
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
};

// The drop-down of a vocabulary cell. The wheel scrolls the table, also
// over a drop-down with the focus: turning it must never change a value the
// user only scrolled past. The keys and the open list choose as usual.
class ValueDropDown : public QComboBox
{
    Q_OBJECT

public:
    explicit ValueDropDown(QWidget *parent = nullptr);

protected:
    void wheelEvent(QWheelEvent *event) override;
};
