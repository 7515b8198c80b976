#include "preview/printrun.h"

#include "render/pagecomposer.h"
#include "render/plancanvas.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <optional>

const QString kPrintJobTitle = QStringLiteral("Quennrik");

PrintResult PrintRun(const ChartData &chart, const PageFlags &flags, QPagedPaintDevice &device,
                     bool colour, const QDateTime &printTime)
{
    device.setPageOrientation(QPageLayout::Landscape);
    // The whole printable area of the paper, as far as the printer reaches.
    device.setPageMargins(device.pageLayout().minimumMargins(), device.pageLayout().units());
    const PlanMetrics metrics = PlanMetrics::ForPrinter(device.width(), device.logicalDpiX());
    const int pageCount = std::min(PageCount(chart.ChartLength()), kPageSlots);

    QPainter painter;
    std::optional<PlanCanvas> canvas;
    for (int page = 1; page <= pageCount; ++page) {
        if (!flags[size_t(page - 1)])
            continue;
        if (!canvas) {
            if (!painter.begin(&device))
                return PrintResult::DeviceFailed;
            canvas.emplace(painter, metrics, colour);
        } else if (!device.newPage()) {
            canvas.reset();
            painter.end();
            return PrintResult::DeviceFailed;
        }
        PageView view;
        view.PageNumber = page;
        view.StartSecond = page >= 2 ? ChartPageStart(page) : 0;
        view.PrintTime = printTime;
        DrawChartPage(chart, *canvas, view);
    }
    if (!canvas)
        return PrintResult::NothingToPrint;
    canvas.reset();  // draws what the canvas still holds
    return painter.end() ? PrintResult::Printed : PrintResult::DeviceFailed;
}

QString PrintDocumentName(const ChartData &chart)
{
    // "(Ausschaltprogramm / Störung)" -> "Ausschaltprogramm - Störung": no
    // brackets, and no slash, which would name a folder.
    QString kind = chart.ChartTitle;
    kind.remove(QRegularExpression(QStringLiteral("[()]")));
    kind.replace(QLatin1Char('/'), QLatin1Char('-'));
    QStringList parts;
    if (!chart.DataName.isEmpty())
        parts << chart.DataName;
    parts << kind.simplified() << QStringLiteral("Programm %1").arg(chart.ProgramNumber);
    return parts.join(QStringLiteral(" - "));
}
