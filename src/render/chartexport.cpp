#include "render/chartexport.h"

#include "render/pagecomposer.h"
#include "render/plancanvas.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QPainter>
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
            *error = CannotWriteMessage(base, QStringLiteral("PNG"));
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
            *error = CannotWriteMessage(path, file.errorString());
            for (const QString &done : written)
                QFile::remove(done);
            return false;
        }
        written << path;
    }
    return true;
}
