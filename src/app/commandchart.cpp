#include "app/commandchart.h"

#include "actual/actualrunfile.h"
#include "base/appsettings.h"
#include "base/utilities.h"
#include "render/datasetchart.h"
#include "render/pagecomposer.h"

#include <QDir>

bool LoadCommandChart(const ChartOptions &source, const std::optional<QString> &compareDir, ChartData &chart,
                      QString *error)
{
    if (!source.fromRun)
        return OpenDataSetChart(source.dataDir, InstallationNameOf(source.dataDir), source.program, source.kind, chart,
                                error);
    ActualRun run;
    if (!LoadActualRunChart(source.runFile, chart, run, error)) {
        error->replace(QLatin1Char('\n'), QLatin1Char(' '));
        return false;
    }
    if (compareDir) {
        InstallationData data;
        RunComparison comparison;
        if (!CompareRunWithDataSet(*compareDir, chart, data, comparison, error))
            return false;
        chart.Comparison = std::move(comparison);
    }
    return true;
}

bool CommandPages(const ChartData &chart, const std::optional<QString> &list, QList<int> &pages, QString *error)
{
    const int pageCount = PageCount(chart.ChartLength());
    if (list)
        return parsePageList(*list, pageCount, pages, error);
    pages.clear();
    for (int p = 1; p <= pageCount; ++p)
        pages << p;
    return true;
}

bool PaperInColour(const std::optional<bool> &colour, const CommandEnvironment &env)
{
    if (colour)
        return *colour;
    SettingsStore store(env.settingsFile);
    return LoadSettings(store, nullptr, QDir::currentPath()).PrintInColour != 0;
}
