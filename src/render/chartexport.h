#pragma once
// A chart as files: the printed form as a PDF (A4 landscape, one PDF page per
// chart page, header and footers as on paper) and the preview form as PNG
// images. Files are written whole or not at all.

#include "render/chartdata.h"

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QString>

constexpr int kPreviewImageWidth = 771;
constexpr int kPreviewImageHeight = 1000;
constexpr int kPdfResolution = 600;

// The preview bitmap of one page; its height keeps the preview's 771 x 1000
// proportions.
QImage RenderPreviewPage(const ChartData &chart, int page, int width, bool colour);

// Writes the given pages (1-based, in the given order) to a PDF. On failure
// *error says why and no file is left at path.
bool WriteChartPdf(const ChartData &chart, const QList<int> &pages, bool colour,
                   const QDateTime &printTime, const QString &path, QString *error);

// Writes one PNG per page, named base + "-" + page + ".png". On failure
// *error says why and none of the files is left behind.
bool WriteChartPngs(const ChartData &chart, const QList<int> &pages, bool colour, int width,
                    const QString &base, QString *error);
