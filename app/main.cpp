// Process entry of VorlanCSV.
#include "ScreenScaling.h"
#include "VorlanCSV.h"

#include <QApplication>
#include <QTextCodec>

int main(int argc, char *argv[])
{
    prepareScreenScaling();
    QApplication app(argc, argv);
    VorlanCSV window;
#ifdef Q_OS_WIN
    // Only on Windows: elsewhere the locale codec also encodes file names,
    // and a Latin-1 codec there would garble names such as "Pläne.csv".
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("ISO 8859-1"));
#endif
    window.show();
    return app.exec();
}
