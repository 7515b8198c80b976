#pragma once
// The printer the print buttons print on, behind a small interface: the
// system's printer dialog and printer for the user, PDF files for tests.

#include "preview/printrun.h"

#include <QPrinter>
#include <QString>

class QWidget;

class PrinterDialog {
public:
    virtual ~PrinterDialog() = default;
    // The printer set-up dialog; false when the user cancels it. The dialog
    // proposes documentName (no folder, no suffix) for printing to a file.
    virtual bool setUp(QWidget *parent, const QString &documentName) = 0;
    // One print job on the chosen printer.
    virtual PrintResult print(const PrintJob &job) = 0;
    // The file the jobs are written to; empty when they go to a printer.
    virtual QString outputFile() const = 0;
};

// The system's printer and its print dialog (which also offers a PDF file).
class SystemPrinterDialog : public PrinterDialog {
public:
    SystemPrinterDialog();
    bool setUp(QWidget *parent, const QString &documentName) override;
    PrintResult print(const PrintJob &job) override;
    QString outputFile() const override;

private:
    QPrinter printer_;
};
