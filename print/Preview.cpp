// The print preview dialog: lists the installed printers and keeps one A4
// landscape printer with its preview widget for the chosen one.
#include "Preview.h"

#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>

Preview::Preview(const PrintRows &rows, const ColumnFlags *flags, QWidget *parent)
    : QDialog(parent), printRows(rows), columnFlags(flags)
{
    setupUi(this);

    // The first name added becomes current by itself; the default printer
    // is made current after it, so both get a preview in turn.
    printerNames->clear();
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    for (const QPrinterInfo &info : printers) {
        printerNames->addItem(info.printerName());
        if (info.isDefault())
            printerNames->setCurrentIndex(printerNames->count() - 1);
    }
}

Preview::~Preview()
{
    dropPrinter();
}

void Preview::on_printerNames_currentTextChanged(QString printerName)
{
    dropPrinter();

    currentPrinter = new QPrinter(QPrinter::HighResolution);
    currentPrinter->setPageSize(QPageSize(QPageSize::A4));
    currentPrinter->setPageOrientation(QPageLayout::Landscape);
    currentPrinter->setPrinterName(printerName);

    previewWidget = new QPrintPreviewWidget(currentPrinter, this);
    verticalLayout->insertWidget(0, previewWidget);
    connect(previewWidget, SIGNAL(paintRequested(QPrinter *)), this,
            SLOT(on_paintRequested(QPrinter *)));
}

// The preview widget draws on the printer, so it goes first.
void Preview::dropPrinter()
{
    if (previewWidget) {
        verticalLayout->removeWidget(previewWidget);
        delete previewWidget;
        previewWidget = nullptr;
    }
    delete currentPrinter;
    currentPrinter = nullptr;
}
