// The column selection dialog: labels its boxes with the header texts,
// applies the default marking and reads the marks back per column.
#include "SelectCol.h"

#include "ColumnCatalog.h"

#include <QCheckBox>

#include <cstdio>

namespace {

// The column of a box follows from its object name "checkBox_N" alone (table
// column N - 1), never from its place in the grid: -1 for any other name.
int columnOfBox(const QCheckBox *box)
{
    int number = 0;
    const QByteArray name = box->objectName().toLatin1();
    if (std::sscanf(name.constData(), "checkBox_%d", &number) != 1)
        return -1;
    return number - 1;
}

// Header texts of at most this many characters are never marked by default.
constexpr int ShortTitleLength = 3;

} // namespace

SelectCol::SelectCol(const QStringList &columnTitles, QWidget *parent) : QDialog(parent)
{
    setupUi(this);

    for (QObject *child : columns->children()) {
        auto *box = qobject_cast<QCheckBox *>(child);
        if (!box)
            continue;
        const int column = columnOfBox(box);
        if (column >= 0 && column < columnTitles.size())
            box->setText(columnTitles.at(column));
    }

    on_setDefault_clicked();
}

void SelectCol::readColumnFlags(bool *flags)
{
    for (QObject *child : columns->children()) {
        auto *box = qobject_cast<QCheckBox *>(child);
        if (!box)
            continue;
        const int column = columnOfBox(box);
        if (column >= 0 && column < ColumnCatalog::ColumnCount)
            flags[column] = box->isChecked();
    }
}

void SelectCol::on_clearAll_clicked()
{
    for (QObject *child : columns->children()) {
        if (auto *box = qobject_cast<QCheckBox *>(child))
            box->setChecked(false);
    }
}

void SelectCol::on_setDefault_clicked()
{
    for (QObject *child : columns->children()) {
        auto *box = qobject_cast<QCheckBox *>(child);
        if (!box)
            continue;
        const QString text = box->text();
        box->setChecked(text.size() > ShortTitleLength && !DefaultUnmarkedColumns.contains(text));
    }
}
