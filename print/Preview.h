// The print preview dialog: the printer choice and a preview of the pages
// for the chosen printer, ending with "Drucken" or "Cancel".
#pragma once

#include "PrintTypes.h"
#include "ui_Preview.h"

#include <QDialog>
#include <QString>

class QPrinter;
class QPrintPreviewWidget;

class Preview : public QDialog, public Ui::Preview
{
    Q_OBJECT

public:
    // The dialog only reads `rows` and `flags`; both must outlive it.
    Preview(const PrintRows &rows, const ColumnFlags *flags, QWidget *parent);
    ~Preview() override;

    // Null while no printer is chosen, i.e. when no printer is installed.
    QPrintPreviewWidget *previewWidget = nullptr;
    QPrinter *currentPrinter = nullptr;

public slots:
    void on_printerNames_currentTextChanged(QString printerName);
    // Draws all pages onto `printer`; in PageRendering.cpp.
    void on_paintRequested(QPrinter *printer);

private:
    void dropPrinter();

    const PrintRows &printRows;
    const ColumnFlags *columnFlags;
};
