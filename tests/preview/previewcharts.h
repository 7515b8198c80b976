#pragma once
// Installations and charts for the preview tests.

#include "data/installationdata.h"
#include "render/chartdata.h"

// Fixed-time program 1 of `cycle` seconds, every group green from 10 to 40; switch-on lasts 30 seconds.
inline InstallationData previewInstallation(int cycle, int groups = 3)
{
    InstallationData d;
    d.Konf.InstallationType = TypeQswCable;  // 12 rows
    d.Header.GroupCount = uint32_t(groups);
    d.Header.FixedTimeMode = 1;
    d.Header.ProgramReleased[0] = 1;
    for (auto &name : d.GroupNames)
        name.fill(' ');
    SignalProgram &p = d.Programs[0];
    p.CycleTime = uint32_t(cycle);
    for (int g = 0; g < groups; ++g) {
        p.GreenFrom1[g] = 10;
        p.GreenTo1[g] = 40;
    }
    d.SwitchOnSteps[0].Duration = 10;
    d.SwitchOnSteps[1].Duration = 20;
    return d;
}

inline ChartData previewChart(int cycle, DisplayMode kind = DisplayMode::TargetPlan,
                              const QString &dataName = QStringLiteral("Beispiel"))
{
    ChartData chart;
    OpenTargetChart(chart, previewInstallation(cycle), 1, kind, dataName, nullptr);
    return chart;
}
