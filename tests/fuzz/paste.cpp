// Any text on the clipboard: "Einfügen" is offered exactly for one row of 28 fields, none of
// them holding a line break, and inserts that row.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static VorlanCSV *window = mainWindow("");
    static QTableWidget *table = window->findChild<QTableWidget *>("tab");

    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(QString::fromUtf8(reinterpret_cast<const char *>(data), size));
    const QString text = clipboard->text();
    const QStringList fields = text.split(';');
    bool storable = fields.size() == 28;
    for (const QString &field : fields)
        storable = storable && !field.trimmed().contains('\n') && !field.trimmed().contains('\r');

    // The menu of a right click into the empty table, its paste picked.
    QStringList offered;
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        CHECK(menu);
        for (QAction *action : menu->actions()) {
            offered << action->text();
            if (action->text() == "Einfügen")
                action->trigger();
        }
        menu->close();
    });
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                            table->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(table->viewport(), &click);

    CHECK(offered
          == (storable ? QStringList {"Einfügen", "Leere Zeile einfügen"}
                       : QStringList {"Leere Zeile einfügen"}));
    CHECK(table->rowCount() == storable);
    if (storable) {
        CHECK(window->rowText(0) == filledRow(text));
        table->removeRow(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return 0;
}
