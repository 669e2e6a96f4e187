// The print command: choose the columns, look at the preview, print on the
// printer chosen there.
#include "VorlanCSV.h"

#include "ColumnCatalog.h"
#include "Preview.h"
#include "PrintTypes.h"
#include "SelectCol.h"

#include <QPrintPreviewWidget>

void VorlanCSV::on_actionDrucken_triggered()
{
    ui.tab->commitOpenEditor();
    QStringList titles;
    for (int c = 0; c < ColumnCatalog::ColumnCount; ++c) {
        const QTableWidgetItem *header = ui.tab->horizontalHeaderItem(c);
        titles.append(header ? header->text() : QString());
    }

    auto *selectCol = new SelectCol(titles, this);
    selectCol->title->setText(fileName);
    if (selectCol->exec() != QDialog::Accepted) {
        delete selectCol;
        return;
    }
    ColumnFlags flags = {};
    selectCol->readColumnFlags(flags);
    delete selectCol;

    // The heading field of the dialog is not read: the printout names the
    // file itself.
    PrintRows rows;
    rows.append(QStringList(fileName));
    rows.append(titles);
    for (int r = 0; r < ui.tab->rowCount(); ++r)
        rows.append(rowText(r).split(QLatin1Char(';'), Qt::KeepEmptyParts, Qt::CaseSensitive));

    auto *preview = new Preview(rows, &flags, this);
    // Without an installed printer the dialog has no preview widget, and
    // "Drucken" ends the command like "Cancel".
    if (preview->exec() == QDialog::Accepted && preview->previewWidget)
        preview->previewWidget->print();
    delete preview;
}
