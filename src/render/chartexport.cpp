#include "render/chartexport.h"

#include "render/pagecomposer.h"
#include "render/plancanvas.h"

#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringList>

namespace {
PageView viewOfPage(int page, const QDateTime &printTime)
{
    PageView view;
    view.PageNumber = page;
    view.StartSecond = page >= 2 ? ChartPageStart(page) : 0;
    view.PrintTime = printTime;
    return view;
}

QString cannotWrite(const QString &path, const QString &reason)
{
    return QStringLiteral("Datei %1 kann nicht geschrieben werden: %2").arg(path, reason);
}
}  // namespace

QImage RenderPreviewPage(const ChartData &chart, int page, int width, bool colour)
{
    const int height = int(int64_t(width) * kPreviewImageHeight / kPreviewImageWidth);
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    PlanCanvas canvas(painter, PlanMetrics::ForPreview(width), colour);
    DrawChartPage(chart, canvas, viewOfPage(page, QDateTime()));
    return image;
}

bool WriteChartPdf(const ChartData &chart, const QList<int> &pages, bool colour,
                   const QDateTime &printTime, const QString &path, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = cannotWrite(path, file.errorString());
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfResolution);
        writer.setTitle(QStringLiteral("Quennrik"));
        writer.setCreator(QStringLiteral("Signovat"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&writer)) {
            *error = cannotWrite(path, QStringLiteral("PDF"));
            file.cancelWriting();
            return false;
        }
        PlanCanvas canvas(painter, PlanMetrics::ForPrinter(writer.width()), colour);
        for (int i = 0; i < pages.size(); ++i) {
            if (i > 0)
                writer.newPage();
            DrawChartPage(chart, canvas, viewOfPage(pages[i], printTime));
        }
        painter.end();
    }
    if (!file.commit()) {
        *error = cannotWrite(path, file.errorString());
        return false;
    }
    return true;
}

bool WriteChartPngs(const ChartData &chart, const QList<int> &pages, bool colour, int width,
                    const QString &base, QString *error)
{
    // Encode every page first, so a drawing failure leaves no file at all.
    QList<QByteArray> encoded;
    for (int page : pages) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!RenderPreviewPage(chart, page, width, colour).save(&buffer, "PNG")) {
            *error = cannotWrite(base, QStringLiteral("PNG"));
            return false;
        }
        encoded << bytes;
    }
    QStringList written;
    for (int i = 0; i < pages.size(); ++i) {
        const QString path = QStringLiteral("%1-%2.png").arg(base).arg(pages[i]);
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(encoded[i]) != encoded[i].size() ||
            !file.commit()) {
            *error = cannotWrite(path, file.errorString());
            for (const QString &done : written)
                QFile::remove(done);
            return false;
        }
        written << path;
    }
    return true;
}
