// Shared by the fuzz targets: a failed check, the main window offscreen, a line's row.
#pragma once

#include "VorlanCSV.h"

#include <QtWidgets>

// Aborts, so that libFuzzer keeps the input and a replay fails.
#define CHECK(condition)                                                                           \
    if (!(condition))                                                                              \
        qFatal("%s:%d: check failed: %s", __FILE__, __LINE__, #condition);

// The window as at start-up, a file of `content` chosen in its file dialog; never destroyed.
inline VorlanCSV *mainWindow(const QByteArray &content)
{
    static QTemporaryDir dir; // also for the file dialog's settings
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QPA_PLATFORMTHEME", "");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    static int argc = 1;
    static char name[] = "fuzz", *argv[] = {name, nullptr};
    new QApplication(argc, argv);
    QFile file(dir.filePath("plan.csv"));
    CHECK(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    QTimer::singleShot(0, [&file] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        CHECK(dialog);
        dialog->findChild<QLineEdit *>("fileNameEdit")->setText(file.fileName());
        static_cast<QDialog *>(dialog)->accept();
    });
    return new VorlanCSV;
}

// What a row filled from `line` shows: the fields trimmed, those the line lacks empty, an
// empty drop-down field "---", the explanation cut to 30 UTF-16 units.
inline QString filledRow(const QString &line)
{
    QStringList fields = line.split(';');
    for (QString &field : fields)
        field = field.trimmed();
    for (int c : {20, 22, 23, 24, 25})
        if (c < fields.size() && fields[c].isEmpty())
            fields[c] = "---";
    while (fields.size() < 28)
        fields << QString();
    fields[19] = fields[19].left(30);
    if (fields[19].size() == 30 && fields[19].at(29).isHighSurrogate())
        fields[19].chop(1); // never half a character
    return fields.join(';');
}
