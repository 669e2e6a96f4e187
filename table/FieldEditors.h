// Editors for the text cells of the plan table. A field can hold neither the
// separator ";" nor a line break: the file has no way to store them.
#pragma once

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
// validator above.
class FieldTextDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit FieldTextDelegate(QObject *parent = nullptr);
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
};
