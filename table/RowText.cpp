// RowText: one table row as one line, its 28 cell values joined by ";".
#include "VorlanCSV.h"

QString VorlanCSV::rowText(int row) const
{
    QString text;
    if (row < 0 || row >= ui.tab->rowCount())
        return text;

    for (int c = 0; c < ui.tab->columnCount(); ++c) {
        if (c > 0)
            text += QLatin1Char(';');
        if (const QTableWidgetItem *item = ui.tab->item(row, c))
            text += item->text();
    }
    return text;
}

QStringList VorlanCSV::splitRowText(const QString &text) const
{
    QStringList fields = text.split(QLatin1Char(';'), Qt::KeepEmptyParts, Qt::CaseSensitive);
    for (QString &field : fields)
        field = field.trimmed();
    return fields;
}
