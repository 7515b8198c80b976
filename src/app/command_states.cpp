// signovat states --data DIR --program N [--chart KIND]: the signal state of
// every group in every second of a chart, as CSV on stdout.
// signovat states --run FILE.DRI: the same of a saved actual run, with the
// program of each second and "*" before a state whose detector was active.

#include "actual/actualrunfile.h"
#include "app/commands.h"
#include "base/utilities.h"
#include "render/datasetchart.h"
#include "render/targetstate.h"

#include <algorithm>
#include <cstdio>

namespace {
// second,program,1,…,G with G the run's group rows.
int printRunStates(const QString &path)
{
    ChartData chart;
    ActualRun run;
    QString error;
    if (!LoadActualRunChart(path, chart, run, &error))
        return refuseCommand("states", error.replace(QLatin1Char('\n'), QLatin1Char(' ')));
    const int groups = chart.ShownGroups;
    QByteArray out = "second,program";
    for (int g = 1; g <= groups; ++g)
        out += ',' + QByteArray::number(g);
    out += '\n';
    for (size_t s = 0; s < chart.Rows.size(); ++s) {
        const ChartRow &row = chart.Rows[s];
        out += QByteArray::number(qulonglong(s)) + ',' + QByteArray::number(row.ProgramNumber);
        for (int g = 0; g < groups; ++g)
            out += (row.DetectorActive[g] ? ",*" : ",") + QByteArray::number(row.State[g]);
        out += '\n';
    }
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return 0;
}
}  // namespace

int runStatesCommand(const QStringList &args, const CommandEnvironment &)
{
    return parseThenRun("states", args, parseStatesOptions, runStates);
}

int runStates(const ChartOptions &options)
{
    if (options.fromRun)
        return printRunStates(options.runFile);
    const DisplayMode kind = options.kind;
    ChartData chart;
    QString error;
    if (!OpenDataSetChart(options.dataDir, InstallationNameOf(options.dataDir), options.program, kind, chart,
                          &error))
        return refuseCommand("states", error);

    const int groups = int(std::min<uint32_t>(chart.HeaderSnapshot.GroupCount, kGroupCount));
    QByteArray out = "second";
    for (int g = 1; g <= groups; ++g)
        out += ',' + QByteArray::number(g);
    out += '\n';
    const int length = chart.ChartLength();
    for (int s = 0; s < length; ++s) {
        out += QByteArray::number(s);
        for (int g = 0; g < groups; ++g) {
            const int32_t state = kind == DisplayMode::TargetPlan ? TargetState(chart.ProgramSnapshot, g, s)
                                                     : chart.Rows[size_t(s)].State[g];
            out += ',' + QByteArray::number(state);
        }
        out += '\n';
    }
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return 0;
}
