// The column selection dialog of the print command: one check box per table
// column, labelled with the column's header text.
#pragma once

#include "ui_SelectCol.h"

#include <QDialog>
#include <QStringList>

class SelectCol : public QDialog, public Ui::SelectCol
{
    Q_OBJECT

public:
    // `columnTitles` holds at least one header text per table column.
    SelectCol(const QStringList &columnTitles, QWidget *parent);

    // Stores the state of box checkBox_N into flags[N - 1], for all 28 boxes.
    void readColumnFlags(bool *flags);

public slots:
    void on_clearAll_clicked();
    void on_setDefault_clicked();
};
