// Shared by the fuzz targets: a failed check, the application and the main
// window on the offscreen platform, and the row a line fills as the file
// format says.
#pragma once

#include "VorlanCSV.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

// Aborts, so that libFuzzer keeps the input and the replay fails.
#define CHECK(condition)                                                                           \
    if (!(condition)) {                                                                            \
        std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);         \
        std::abort();                                                                              \
    }

// Shows both texts, bytes other than letters and separators in %hex.
#define CHECK_SAME(actual, expected)                                                               \
    if ((actual) != (expected)) {                                                                  \
        std::fprintf(stderr, "%s:%d: %s\n  is  %s\n  not %s\n", __FILE__, __LINE__, #actual,       \
                     QString(actual).toUtf8().toPercentEncoding(" ;").constData(),                 \
                     QString(expected).toUtf8().toPercentEncoding(" ;").constData());              \
        std::abort();                                                                              \
    }

inline void startApplication()
{
    static QTemporaryDir home;
    if (qApp)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QPA_PLATFORMTHEME", "");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path())); // for the file dialog's state
    static int argc = 1;
    static char name[] = "fuzz", *argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

// The window as at start-up, the file `content` chosen in its file dialog. It
// is never destroyed: that would ask to save.
inline VorlanCSV *mainWindow(const QByteArray &content)
{
    startApplication();
    static QTemporaryDir dir;
    QFile file(dir.filePath("plan.csv"));
    CHECK(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        CHECK(dialog);
        dialog->findChild<QLineEdit *>("fileNameEdit")->setText(file.fileName());
        static_cast<QDialog *>(dialog)->accept();
    });
    return new VorlanCSV;
}

// What a row filled from `line` shows: the fields trimmed, those the line
// lacks empty, an empty drop-down field "---", the explanation cut to 30.
inline QString filledRow(const QString &line)
{
    QStringList fields = line.split(';');
    for (QString &field : fields)
        field = field.trimmed();
    for (int c : {20, 22, 23, 24, 25})
        if (c < fields.size() && fields[c].isEmpty())
            fields[c] = "---";
    if (fields.size() > 19)
        fields[19] = fields[19].left(30);
    while (fields.size() < 28)
        fields << QString();
    return fields.join(';');
}
