// Editors for the cells of the plan table. A field can hold neither the
// separator ";" nor a line break nor half of a character: the file has no
// way to store them.
#pragma once

#include <QComboBox>
#include <QStyledItemDelegate>
#include <QValidator>

class QKeyEvent;

// Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z go to the table's history, also from a
// field that would take them for its own text.
bool isHistoryKey(const QKeyEvent *event);

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
// What the editor holds is handed on as an edit, not written to the model:
// the table's history makes the change.
class FieldTextDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit FieldTextDelegate(QObject *parent = nullptr);
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

signals:
    void edited(const QModelIndex &index, const QString &value) const;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;
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
