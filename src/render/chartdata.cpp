#include "render/chartdata.h"

#include "data/installationtype.h"
#include "render/signalstate.h"

#include <algorithm>

const QString kChartTooLongMessage = QStringLiteral(
    "Das Programm ist länger als 1200 Sekunden\nund kann nicht dargestellt werden !");

int ChartData::ChartLength() const
{
    if (DisplayMode == ::DisplayMode::TargetPlan)
        return int(std::min<uint32_t>(ProgramSnapshot.CycleTime, kMaxChartSeconds));
    return int(Rows.size());
}

bool ChartData::GroupExists(int groupIndex) const
{
    return groupIndex >= 0 && uint32_t(groupIndex) < HeaderSnapshot.GroupCount;
}

int64_t SwitchRowCount(const SwitchStepTable &steps, int programIndex)
{
    int64_t count = 0;
    for (int s = 0; s < kStepsPerProgram; ++s)
        count += steps[kStepsPerProgram * programIndex + s].Duration;
    return count;
}

std::vector<ChartRow> ExpandSwitchSteps(const SwitchStepTable &steps, int programIndex)
{
    std::vector<ChartRow> rows;
    rows.reserve(size_t(SwitchRowCount(steps, programIndex)));
    for (int s = 0; s < kStepsPerProgram; ++s) {
        const SwitchStep &step = steps[kStepsPerProgram * programIndex + s];
        ChartRow row;
        for (int g = 0; g < kGroupCount; ++g)
            row.State[g] = step.SetA[g] ? Red : step.SetB[g] ? Yellow : step.SetC[g] ? Green : Dark;
        rows.insert(rows.end(), step.Duration, row);
    }
    return rows;
}

int CountActiveGroups(const InstallationHeader &header, int shownGroups)
{
    int count = 0;
    for (int g = 0; g < shownGroups && g < kGroupCount; ++g)
        if (uint32_t(g) < header.GroupCount)
            ++count;
    return count;
}

namespace {
QString chartTitle(DisplayMode kind)
{
    switch (kind) {
    case DisplayMode::SwitchOn:
        return QStringLiteral("(Einschaltprogramm)");
    case DisplayMode::SwitchOffTargeted:
        return QStringLiteral("(Ausschaltprogramm / Gezielt)");
    case DisplayMode::SwitchOffFault:
        return QStringLiteral("(Ausschaltprogramm / Störung)");
    default:
        break;
    }
    return QStringLiteral("(Sollplan)");
}

QString windowCaption(DisplayMode kind, const QString &dataSetName)
{
    const bool named = !dataSetName.isEmpty();
    QString caption;
    switch (kind) {
    default:  // the target plan
        caption = named ? QStringLiteral("Drucker Vorschau Programm - ")
                        : QStringLiteral("Drucker Vorschau Sollplan");
        break;
    case DisplayMode::SwitchOn:
        caption = QStringLiteral("Drucker Vorschau Einschaltprogramm");
        break;
    case DisplayMode::SwitchOffTargeted:
        caption = QStringLiteral("Drucker Vorschau Ausschaltprogramm / Gezielt");
        break;
    case DisplayMode::SwitchOffFault:
        caption = QStringLiteral("Drucker Vorschau Ausschaltprogramm / Störung");
        break;
    }
    if (!named)
        return caption;
    if (kind != DisplayMode::TargetPlan)
        caption += QStringLiteral(" - ");
    return caption + dataSetName;
}

const SwitchStepTable &stepTable(const InstallationData &data, DisplayMode kind)
{
    switch (kind) {
    case DisplayMode::SwitchOffTargeted:
        return data.SwitchOffTargetedSteps;
    case DisplayMode::SwitchOffFault:
        return data.SwitchOffFaultSteps;
    default:
        return data.SwitchOnSteps;
    }
}
}  // namespace

bool OpenTargetChart(ChartData &chart, const InstallationData &data, int programNumber,
                     DisplayMode kind, const QString &dataSetName, QString *error)
{
    const int p = programNumber - 1;
    if (p < 0 || p >= kProgramCount) {
        if (error)
            *error = QStringLiteral("Programm %1 gibt es nicht (1 … 6)").arg(programNumber);
        return false;
    }
    const SignalProgram &program = data.Programs[p];
    const int64_t length = kind == DisplayMode::TargetPlan ? int64_t(program.CycleTime)
                                              : SwitchRowCount(stepTable(data, kind), p);
    if (length > kMaxChartSeconds) {
        if (error)
            *error = kChartTooLongMessage;
        return false;
    }

    ChartData opened;
    opened.DisplayMode = kind;
    opened.TargetChartActive = true;
    opened.ProgramNumber = programNumber;
    opened.ShownGroups = ShownGroupsOf(ControllerFamilyOf(data));
    opened.ChartTitle = chartTitle(kind);
    opened.WindowCaption = windowCaption(kind, dataSetName);
    opened.DataName = dataSetName;
    opened.HeaderSnapshot = data.Header;
    opened.ProgramSnapshot = program;
    opened.InstallationType = data.Konf.InstallationType;
    opened.GroupNames = data.GroupNames;
    if (kind != DisplayMode::TargetPlan)
        opened.Rows = ExpandSwitchSteps(stepTable(data, kind), p);
    opened.ActiveGroupCount = CountActiveGroups(data.Header, opened.ShownGroups);
    chart = std::move(opened);
    return true;
}
