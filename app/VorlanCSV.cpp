// Start-up, quitting and closing of the main window.
#include "VorlanCSV.h"

#include "ColumnCatalog.h"
#include "FieldEditors.h"
#include "ListLock.h"
#include "ScreenScaling.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QSettings>

#include <cstdlib>

VorlanCSV::VorlanCSV(QWidget *parent) : QMainWindow(parent, Qt::WindowFlags())
{
    ui.setupUi(this);
    preferLargerIconImages(findChildren<QAction *>());
    clipboard = QGuiApplication::clipboard();

    ui.tab->setContextMenuPolicy(Qt::CustomContextMenu);
    if (!connect(ui.tab, SIGNAL(customContextMenuRequested(QPoint)), this,
                 SLOT(onContextMenu(QPoint))))
        showMessage("Connect failed");
    // Plain cells are edited in place; their editor keeps out what the file
    // format cannot store.
    ui.tab->setItemDelegate(new FieldTextDelegate(ui.tab));
    fieldValidator = new FieldTextValidator(this);

    settings = new QSettings("Quellor", "VorlanCSV");
    modified = false;

    on_actionOeffnen_triggered();
    if (fileName.isEmpty())
        std::exit(-1);

    for (int c = 0; c < ui.tab->columnCount(); ++c) {
        const int width = ColumnCatalog::widthForKind(ColumnCatalog::entry(c).kind);
        if (width > 0)
            ui.tab->setColumnWidth(c, width);
    }

    // Connected only now, so loading the first file is not a change.
    if (!connect(ui.tab, SIGNAL(cellChanged(int, int)), this, SLOT(on_changed())))
        showMessage("Connect failed");
}

VorlanCSV::~VorlanCSV()
{
    if (!closeConfirmed)
        askToSave();
    delete settings;
    dropValueModels();
}

void VorlanCSV::closeEvent(QCloseEvent *event)
{
    if (closeConfirmed || askToSave()) {
        closeConfirmed = true;
        listLock.reset();
        event->accept();
    } else {
        event->ignore();
    }
}

void VorlanCSV::on_actionBeenden_triggered()
{
    if (!askToSave())
        return;
    closeConfirmed = true;
    close();
}
