// signovat render --data DIR --program N [--chart KIND] | --run FILE.DRI
// --out FILE [--pages LIST] [--bw|--colour] [--width PX] [--compare DIR]: a
// chart or a saved actual run as the printed PDF, as printed pages in SVG or
// as preview PNGs; a run with --compare carries its deviations from the plans
// of DIR.

#include "app/commandchart.h"
#include "app/commands.h"
#include "preview/chartpdf.h"
#include "render/chartexport.h"

#include <QDateTime>

int runRenderCommand(const QStringList &args, const CommandEnvironment &env)
{
    return parseThenRun("render", args, parseRenderOptions, [&](const RenderOptions &o) { return runRender(o, env); });
}

int runRender(const RenderOptions &options, const CommandEnvironment &env)
{
    ChartData chart;
    QList<int> pages;
    QString error;
    if (!LoadCommandChart(options.chart, options.compareDir, chart, &error) ||
        !CommandPages(chart, options.pages, pages, &error))
        return refuseCommand("render", error);

    const QDateTime now = QDateTime::currentDateTime();
    const QString base = options.out.chopped(4);
    bool ok = false;
    switch (options.format) {
    case RenderOptions::Format::Pdf:
        ok = WriteChartPdf(chart, pages, PaperInColour(options.colour, env), now, options.out, &error);
        break;
    case RenderOptions::Format::Svg:
        ok = WriteChartSvgs(chart, pages, PaperInColour(options.colour, env), options.width, now, base, &error);
        break;
    case RenderOptions::Format::Png:
        // The preview is always coloured; --bw shows what paper without colour looks like.
        ok = WriteChartPngs(chart, pages, options.colour.value_or(true), options.width, base, &error);
        break;
    }
    return ok ? 0 : refuseCommand("render", error);
}
