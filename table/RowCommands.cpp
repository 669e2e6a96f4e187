// The table's context menu and its row commands: copy, paste, empty row and
// delete. Rows travel through the system clipboard as one RowText.
#include "VorlanCSV.h"

#include "ColumnCatalog.h"
#include "FieldEditors.h"

#include <QClipboard>
#include <QMenu>

namespace {

const QString EmptyRowText = QStringLiteral(";;;;;;;;;;;;;;;;;;;;;;;;;;");

} // namespace

void VorlanCSV::onContextMenu(QPoint pos)
{
    contextRow = ui.tab->rowAt(pos.y());
    QMenu *menu = buildContextMenu();
    menu->exec(ui.tab->viewport()->mapToGlobal(pos));
    delete menu;
}

QMenu *VorlanCSV::buildContextMenu()
{
    auto *menu = new QMenu(this);
    auto addEntry = [this, menu](const QString &text, const char *slot) {
        auto *action = new QAction(text, menu);
        connect(action, SIGNAL(triggered()), this, slot);
        menu->addAction(action);
    };

    // A field holding a line break would split the row on the next save.
    const QStringList clipFields = splitRowText(clipboard->text(QClipboard::Clipboard));
    bool canPaste = clipFields.size() == ColumnCatalog::ColumnCount;
    for (const QString &field : clipFields)
        canPaste = canPaste && FieldTextValidator::isStorable(field);

    if (contextRow >= 0)
        addEntry("Kopieren", SLOT(onCopy()));
    if (canPaste)
        addEntry("Einfügen", SLOT(onInsertCopied()));
    addEntry("Leere Zeile einfügen", SLOT(onInsert()));
    if (contextRow >= 0)
        addEntry("Löschen", SLOT(onDelete()));
    return menu;
}

void VorlanCSV::onCopy()
{
    const QString text = rowText(contextRow);
    if (splitRowText(text).size() == ColumnCatalog::ColumnCount)
        clipboard->setText(text, QClipboard::Clipboard);
    else
        clipboard->clear(QClipboard::Clipboard);
}

void VorlanCSV::onInsert()
{
    const int row = contextRow < 0 ? ui.tab->rowCount() : contextRow;
    ui.tab->insertRow(row);
    insertRowFromText(row, EmptyRowText);
    modified = true;
}

void VorlanCSV::onInsertCopied()
{
    const int row = contextRow < 0 ? ui.tab->rowCount() : contextRow;
    ui.tab->insertRow(row);
    insertRowFromText(row, clipboard->text(QClipboard::Clipboard));
    modified = true;
}

void VorlanCSV::onDelete()
{
    ui.tab->removeRow(contextRow);
    // Removing a row changes no cell, so the title is marked here.
    modified = true;
    updateTitle();
}
