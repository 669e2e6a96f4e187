// Starts the main window as the program does, with its start-up file dialog
// answered from the command line: "cancel", or the path to choose. Prints
// "constructed" when the window came up, then quits without showing it.
#include "TestSupport.h"
#include "VorlanCSV.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    TestSupport::isolateSettings();
    QApplication app(argc, argv);
    const QString choice = app.arguments().value(1);
    TestSupport::chooseFileInNextDialog(choice == "cancel" ? QString() : choice);
    VorlanCSV window;
    QTextStream(stdout) << "constructed " << window.isVisible() << Qt::endl;
    return 0;
}
