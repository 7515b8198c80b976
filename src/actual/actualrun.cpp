#include "actual/actualrun.h"

#include "data/textfield.h"

#include <algorithm>

bool IsControllerMode(DisplayMode mode)
{
    return mode == DisplayMode::RunQsw || IsKvxMode(mode);
}

bool IsKvxMode(DisplayMode mode)
{
    return mode == DisplayMode::RunKvx || mode == DisplayMode::RunKvx40At1200 || mode == DisplayMode::RunKvx40At9600 || mode == DisplayMode::RunKvx40At19200;
}

bool IsLiveMode(DisplayMode mode)
{
    return mode == DisplayMode::RunSimulation || IsControllerMode(mode);
}

StreamPortSettings StreamPortSettingsFor(DisplayMode mode)
{
    switch (mode) {
    case DisplayMode::RunKvx40At9600:
        return {9600, 2};
    case DisplayMode::RunKvx40At19200:
        return {19200, 2};
    case DisplayMode::RunQsw:
        return {1200, 1};
    default:
        return {1200, 2};
    }
}

int ControllerLinkBaudFor(DisplayMode mode)
{
    return mode == DisplayMode::RunKvx ? 9600 : 57600;
}

QString SourceTextFor(DisplayMode mode)
{
    if (mode == DisplayMode::RunQsw)
        return QStringLiteral("(Ist-Druck, QSW)");
    if (mode == DisplayMode::RunSimulation)
        return QStringLiteral("(Ist-Druck, Sim. Programm)");
    return QStringLiteral("(Ist-Druck, KVX)");
}

QString FileSourceText(const QString &fileName)
{
    return QStringLiteral("(Ist-Druck, Datei ") + fileName + QLatin1Char(')');
}

QString ProgramNameText(const ActualRun &run)
{
    return fieldText(run.ProgramName);
}

namespace {
// The whole field, padding included: the version is the banner's last four
// characters, wherever the text ends.
template <std::size_t N> QString wholeField(const FixedText<N> &field)
{
    return fromCp1252(field.data(), qsizetype(N));
}
}  // namespace

void SetChartRunProgress(ChartData &chart, const ActualRun &run)
{
    chart.ProgramNumber = run.StartProgram;
    chart.StartProgram = run.StartProgram;
    chart.ShownGroups = std::clamp(run.ShownGroups, 0, kGroupCount);
}

void SetChartHeader(ChartData &chart, const ActualRun &run)
{
    chart.TargetChartActive = false;
    SetChartRunProgress(chart, run);
    chart.DataName = ProgramNameText(run);
    chart.HeaderSnapshot = run.HeaderRecord;
    chart.ProgramSnapshot = run.ProgramRecord;
    chart.GroupNames = run.GroupNames;
    chart.HeaderGroupCount = run.HeaderGroupCount;
    chart.ControllerTypeText = wholeField(run.ControllerTypeText);
    chart.BannerText = wholeField(run.BannerText);
    chart.PrintDateText = wholeField(run.PrintDateText);
}

ChartData ActualRunChart(const ActualRun &run, DisplayMode mode, const QString &sourceText, int streamGroupCount)
{
    ChartData chart;
    chart.DisplayMode = mode;
    chart.ChartTitle = sourceText;
    chart.ActiveGroupCount = std::clamp(streamGroupCount, 0, kGroupCount);
    SetChartHeader(chart, run);
    chart.Rows = run.Rows;
    return chart;
}
