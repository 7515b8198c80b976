#pragma once
// The print run: the flagged pages of a chart, in ascending order, drawn by
// the renderer's printer variant onto any paged device — the system printer,
// the print dialog's PDF output or a PDF file. One run is one print job.

#include "preview/previewpaging.h"
#include "render/chartdata.h"

#include <QDateTime>
#include <QString>
#include <functional>

class QPagedPaintDevice;

// The title every print job carries.
extern const QString kPrintJobTitle;

enum class PrintResult {
    Printed,
    NothingToPrint,  // no page flagged: no document was opened
    DeviceFailed,    // the device refused the document or a page
};

// Draws one print job onto the device it is given.
using PrintJob = std::function<PrintResult(QPagedPaintDevice &device)>;

// Sets the device to landscape with the least margins it allows and prints every page whose flag is set,
// pages counted over the whole chart. The document is opened with the first
// flagged page, so a run without flagged pages leaves the device untouched.
PrintResult PrintRun(const ChartData &chart, const PageFlags &flags, QPagedPaintDevice &device,
                     bool colour, const QDateTime &printTime);

// A file name (without folder and suffix) for a printed chart: the data-set
// name, the chart's kind and its program, e.g.
// "Hauptstrasse-Schulweg - Ausschaltprogramm - Störung - Programm 2".
QString PrintDocumentName(const ChartData &chart);
