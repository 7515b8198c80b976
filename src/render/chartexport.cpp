#include "render/chartexport.h"

#include "render/pagecomposer.h"
#include "render/plancanvas.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QSvgGenerator>
#include <QDateTime>
#include <QFile>
#include <QPainter>
#include <QSaveFile>
#include <QStringList>
#include <functional>

namespace {
PageView viewOfPage(int page, const QDateTime &printTime)
{
    PageView view;
    view.PageNumber = page;
    view.StartSecond = page >= 2 ? ChartPageStart(page) : 0;
    view.PrintTime = printTime;
    return view;
}
}  // namespace

QString CannotWriteMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("Datei %1 kann nicht geschrieben werden: %2").arg(path, reason);
}

QImage RenderPreviewPage(const ChartData &chart, int page, int width, bool colour)
{
    const int height = int(int64_t(width) * kPreviewImageHeight / kPreviewImageWidth);
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    PlanCanvas canvas(painter, PlanMetrics::ForPreview(width), colour);
    DrawChartPage(chart, canvas, viewOfPage(page, QDateTime()));
    return image;
}

namespace {
// Writes base-<page>.<suffix> for every page, each encoded first, so a
// drawing failure leaves no file at all and a failed write removes the others.
bool writePageFiles(const QList<int> &pages, const QString &base, const char *suffix,
                    const std::function<bool(int page, QIODevice &out)> &encode, QString *error)
{
    QList<QByteArray> encoded;
    for (int page : pages) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!encode(page, buffer)) {
            *error = CannotWriteMessage(base, QString::fromLatin1(suffix).toUpper());
            return false;
        }
        encoded << bytes;
    }
    QStringList written;
    for (int i = 0; i < pages.size(); ++i) {
        const QString path = QStringLiteral("%1-%2.%3").arg(base).arg(pages[i]).arg(QLatin1String(suffix));
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(encoded[i]) != encoded[i].size() ||
            !file.commit()) {
            *error = CannotWriteMessage(path, file.errorString());
            for (const QString &done : written)
                QFile::remove(done);
            return false;
        }
        written << path;
    }
    return true;
}
}  // namespace

bool WriteChartPngs(const ChartData &chart, const QList<int> &pages, bool colour, int width,
                    const QString &base, QString *error)
{
    return writePageFiles(
        pages, base, "png",
        [&](int page, QIODevice &out) { return RenderPreviewPage(chart, page, width, colour).save(&out, "PNG"); },
        error);
}

bool WriteChartSvgs(const ChartData &chart, const QList<int> &pages, bool colour, int width,
                    const QDateTime &printTime, const QString &base, QString *error)
{
    const QSizeF sheet = QPageSize(QPageSize::A4).size(QPageSize::Millimeter).transposed();  // landscape
    const int height = qRound(width * sheet.height() / sheet.width());
    // The resolution at which the sheet is `width` pixels wide, so points stay points.
    constexpr double kMmPerInch = 25.4;
    const int dpi = qRound(width * kMmPerInch / sheet.width());
    return writePageFiles(
        pages, base, "svg",
        [&](int page, QIODevice &out) {
            QSvgGenerator svg;
            svg.setOutputDevice(&out);
            svg.setSize(QSize(width, height));
            svg.setViewBox(QRect(0, 0, width, height));
            svg.setResolution(dpi);
            svg.setTitle(ChartTitleWithName(chart));
            QPainter painter;
            if (!painter.begin(&svg))
                return false;
            {
                PlanCanvas canvas(painter, PlanMetrics::ForPrinter(width, dpi), colour);
                DrawChartPage(chart, canvas, viewOfPage(page, printTime));
            }
            return painter.end();
        },
        error);
}
