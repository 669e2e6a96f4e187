// A line fills a new row of the real table, whose row text is the trimmed fields and survives a
// UTF-8 file; a line of more than 28 fields leaves the table as it was.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString first = "1;Plan;a.pdf;;;;;;;;;;;;;;;Grundriss;12;Erstausgabe;A1;Firma;"
                                 "Erdgeschoss;Elektro;1:50;Grundriss;;PDF";
    static VorlanCSV *window = mainWindow(first.toUtf8());
    static QTableWidget *table = window->findChild<QTableWidget *>("tab");

    const QString line = QString::fromUtf8(reinterpret_cast<const char *>(data), size);
    if (line.contains('\n'))
        return 0; // the reader ends a line there
    const bool accepted = window->insertRowFromText(1, line);
    CHECK(accepted == (line.count(';') < 28));
    CHECK(table->rowCount() == 1 + accepted && window->rowText(0) == first);
    if (!accepted)
        return 0;
    const QString shown = window->rowText(1);
    CHECK(shown == filledRow(line));
    const QByteArray stored = "x" + shown.toUtf8(); // a byte-order mark stays a character
    CHECK(QString::fromUtf8(stored.data(), stored.size()).mid(1) == shown);
    table->removeRow(1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
