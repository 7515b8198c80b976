#pragma once
// A chart as files: the preview form as PNG images, the printed form as SVG
// images. Files are written whole or not at all. The printed form as a PDF is
// the print run's (preview/chartpdf.h).

#include "render/chartdata.h"

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QString>

constexpr int kPreviewImageWidth = 771;
constexpr int kPreviewImageHeight = 1000;
constexpr int kPdfResolution = 600;
constexpr int kSvgDefaultWidth = 2000;

// The preview bitmap of one page; its height keeps the preview's 771 x 1000
// proportions.
QImage RenderPreviewPage(const ChartData &chart, int page, int width, bool colour);

// "Datei <path> kann nicht geschrieben werden: <reason>", the message of
// every chart file that could not be written.
QString CannotWriteMessage(const QString &path, const QString &reason);

// Writes one PNG per page, named base + "-" + page + ".png". On failure
// *error says why and none of the files is left behind.
bool WriteChartPngs(const ChartData &chart, const QList<int> &pages, bool colour, int width,
                    const QString &base, QString *error);

// Writes one SVG per page, named as the PNGs: the printed page (A4
// landscape) at `width` pixels, its text as large as on paper.
bool WriteChartSvgs(const ChartData &chart, const QList<int> &pages, bool colour, int width,
                    const QDateTime &printTime, const QString &base, QString *error);
