// signovat render --data DIR --program N [--chart KIND] | --run FILE.DRI
// --out FILE [--pages LIST] [--bw|--colour] [--width PX] [--compare DIR]: a
// chart or a saved actual run as the printed PDF or as preview PNGs; a run
// with --compare carries its deviations from the plans of DIR.

#include "actual/actualrunfile.h"
#include "base/appsettings.h"
#include "app/commands.h"
#include "base/utilities.h"
#include "preview/chartpdf.h"
#include "render/chartexport.h"
#include "render/datasetchart.h"
#include "render/pagecomposer.h"

#include <QDateTime>
#include <QDir>

int runRenderCommand(const QStringList &args, const CommandEnvironment &env)
{
    return parseThenRun("render", args, parseRenderOptions, [&](const RenderOptions &o) { return runRender(o, env); });
}

int runRender(const RenderOptions &options, const CommandEnvironment &env)
{
    ChartData chart;
    QString error;
    const ChartOptions &source = options.chart;
    if (source.fromRun) {
        ActualRun run;
        if (!LoadActualRunChart(source.runFile, chart, run, &error))
            return refuseCommand("render", error.replace(QLatin1Char('\n'), QLatin1Char(' ')));
        if (options.compareDir) {
            InstallationData data;
            RunComparison comparison;
            if (!CompareRunWithDataSet(*options.compareDir, chart, data, comparison, &error))
                return refuseCommand("render", error);
            chart.Comparison = std::move(comparison);
        }
    } else if (!OpenDataSetChart(source.dataDir, InstallationNameOf(source.dataDir), source.program, source.kind,
                                 chart, &error)) {
        return refuseCommand("render", error);
    }

    const int pageCount = PageCount(chart.ChartLength());
    QList<int> pages;
    if (!options.pages) {
        for (int p = 1; p <= pageCount; ++p)
            pages << p;
    } else if (!parsePageList(*options.pages, pageCount, pages, &error)) {
        return refuseCommand("render", error);
    }

    bool ok;
    if (options.pdf) {
        // Paper follows the colour-print setting unless the command says otherwise.
        bool colour = options.colour.value_or(false);
        if (!options.colour) {
            SettingsStore store(env.settingsFile);
            colour = LoadSettings(store, nullptr, QDir::currentPath()).PrintInColour != 0;
        }
        ok = WriteChartPdf(chart, pages, colour, QDateTime::currentDateTime(), options.out, &error);
    } else {
        // The preview is always coloured; --bw shows what paper without colour looks like.
        ok = WriteChartPngs(chart, pages, options.colour.value_or(true), options.width, options.out.chopped(4),
                            &error);
    }
    return ok ? 0 : refuseCommand("render", error);
}
