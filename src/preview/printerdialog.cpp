#include "preview/printerdialog.h"

#include <QPrintDialog>

SystemPrinterDialog::SystemPrinterDialog() : printer_(QPrinter::HighResolution) {}

bool SystemPrinterDialog::setUp(QWidget *parent, const QString &documentName)
{
    // The dialog names its PDF file after the document, so the document
    // carries the chart's name while the dialog is open and the job title
    // afterwards.
    printer_.setDocName(documentName);
    QPrintDialog dialog(&printer_, parent);
    // Pages and copies are chosen in the preview window.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    printer_.setDocName(kPrintJobTitle);
    printer_.setCopyCount(1);
    return accepted;
}

PrintResult SystemPrinterDialog::print(const PrintJob &job)
{
    const PrintResult result = job(printer_);
    if (result == PrintResult::Printed && printer_.printerState() == QPrinter::Error)
        return PrintResult::DeviceFailed;
    return result;
}

QString SystemPrinterDialog::outputFile() const
{
    return printer_.outputFormat() == QPrinter::PdfFormat ? printer_.outputFileName() : QString();
}
