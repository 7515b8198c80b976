#pragma once
// A chart's printed form as a PDF file (A4 landscape, one PDF page per chart
// page, header and footers as on paper): the print run onto a PDF writer.

#include "render/chartdata.h"

#include <QDateTime>
#include <QList>
#include <QString>

// Writes the given pages (1-based; printed in ascending order, each once) to
// a PDF. On failure *error says why and no file is left at path.
bool WriteChartPdf(const ChartData &chart, const QList<int> &pages, bool colour,
                   const QDateTime &printTime, const QString &path, QString *error);
