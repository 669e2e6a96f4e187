// The table's context menu and its row commands: copy, paste, empty row and
// delete. Rows travel through the system clipboard as one RowText.
#include "VorlanCSV.h"

#include "ColumnCatalog.h"
#include "FieldEditors.h"
#include "TableChanges.h"

#include <QClipboard>
#include <QMenu>
#include <QUndoStack>

namespace {

const QString EmptyRowText = QStringLiteral(";;;;;;;;;;;;;;;;;;;;;;;;;;");

} // namespace

void VorlanCSV::onContextMenu(QPoint pos)
{
    // Every entry reads or changes rows: an edit still open counts first.
    ui.tab->commitOpenEditor();
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
    // "Einfügen" inserts the text checked here, whatever the clipboard holds
    // by the time it is picked.
    checkedPasteText = clipboard->text(QClipboard::Clipboard);
    const QStringList clipFields = splitRowText(checkedPasteText);
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

// A new row above the clicked one, or at the end below the last row.
void VorlanCSV::insertRowAtContextRow(const QString &text)
{
    const int row = contextRow < 0 ? ui.tab->rowCount() : contextRow;
    history->push(new RowChange(ui.tab, row, cellsFromText(text), true));
}

void VorlanCSV::onInsert()
{
    insertRowAtContextRow(EmptyRowText);
}

void VorlanCSV::onInsertCopied()
{
    insertRowAtContextRow(checkedPasteText);
}

void VorlanCSV::onDelete()
{
    history->push(new RowChange(ui.tab, contextRow, ui.tab->rowCells(contextRow), false));
}
