// Start-up, quitting and closing of the main window.
#include "VorlanCSV.h"

#include "ColumnCatalog.h"
#include "FindBar.h"
#include "ListLock.h"
#include "ScreenScaling.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QSettings>
#include <QShortcut>
#include <QUndoStack>

#include <cstdlib>

namespace {

// Steps the history keeps; older ones are forgotten.
constexpr int HistorySteps = 10000;

} // namespace

VorlanCSV::VorlanCSV(QWidget *parent) : QMainWindow(parent, Qt::WindowFlags())
{
    ui.setupUi(this);
    preferLargerIconImages(findChildren<QAction *>());
    clipboard = QGuiApplication::clipboard();

    ui.tab->setContextMenuPolicy(Qt::CustomContextMenu);
    if (!connect(ui.tab, SIGNAL(customContextMenuRequested(QPoint)), this,
                 SLOT(onContextMenu(QPoint))))
        showMessage("Connect failed");

    history = new QUndoStack(this);
    history->setUndoLimit(HistorySteps);
    connect(ui.tab, &PlanTable::cellEdited, this, &VorlanCSV::changeCell);
    connect(ui.tab, &PlanTable::editorLeft, this, [this] { ++typingSession; });
    // The keys are the way in: the menu and the toolbar keep their entries.
    const auto addKeys = [this](const QStringList &keys, void (VorlanCSV::*command)()) {
        auto *action = new QAction(this);
        QList<QKeySequence> shortcuts;
        for (const QString &key : keys)
            shortcuts << QKeySequence(key);
        action->setShortcuts(shortcuts);
        connect(action, &QAction::triggered, this, command);
        addAction(action);
    };
    addKeys({"Ctrl+Z"}, &VorlanCSV::undoChange);
    addKeys({"Ctrl+Y", "Ctrl+Shift+Z"}, &VorlanCSV::redoChange);

    // Hidden until asked for, so the window is laid out as without it.
    auto *findBar = new FindBar(ui.tab, ui.centralWidget);
    findBar->hide();
    ui.verticalLayout->addWidget(findBar);
    auto *find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    if (!connect(find, SIGNAL(activated()), findBar, SLOT(open())))
        showMessage("Connect failed");

    settings = new QSettings("Quellor", "VorlanCSV");

    recovery = new RecoveryCopy([this] { return recoverySnapshot(); }, this);
    connect(history, &QUndoStack::indexChanged, this, &VorlanCSV::recordChange);
    connect(history, &QUndoStack::cleanChanged, this, &VorlanCSV::recordChange);
    connect(ui.tab, &PlanTable::pendingEditChanged, this, &VorlanCSV::recordChange);

    on_actionOeffnen_triggered();
    if (fileName.isEmpty())
        std::exit(-1);

    for (int c = 0; c < ui.tab->columnCount(); ++c) {
        const int width = ColumnCatalog::widthForKind(ColumnCatalog::entry(c).kind);
        if (width > 0)
            ui.tab->setColumnWidth(c, width);
    }

    // The title follows the history: clean at the step last saved or opened.
    if (!connect(history, SIGNAL(cleanChanged(bool)), this, SLOT(on_changed())))
        showMessage("Connect failed");
}

VorlanCSV::~VorlanCSV()
{
    if (!closeConfirmed)
        askToSave();
    delete settings;
    // The table's editors lose the focus as the window's children go, and the
    // history clears itself as it goes.
    disconnect(ui.tab, nullptr, this, nullptr);
    disconnect(history, nullptr, this, nullptr);
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
