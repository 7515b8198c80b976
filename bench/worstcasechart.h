#pragma once
// The worst case the speed targets are measured on: 1200 seconds, 24
// groups, the hatched states in turn, shifted per group, so every run of
// every bar is hatched and changes every second.

#include "render/chartdata.h"
#include "render/signalstate.h"

inline ChartData hatchedEverySecond()
{
    ChartData chart;
    chart.DisplayMode = SwitchOn;
    chart.ShownGroups = kGroupCount;
    chart.ActiveGroupCount = kGroupCount;
    chart.HeaderSnapshot.GroupCount = kGroupCount;
    chart.ChartTitle = QStringLiteral("(Einschaltprogramm)");
    chart.Rows.resize(kMaxChartSeconds);
    const int32_t hatched[] = {Flashing, RedFlashing, GreenFlashing};
    for (int s = 0; s < kMaxChartSeconds; ++s)
        for (int g = 0; g < kGroupCount; ++g)
            chart.Rows[s].State[g] = hatched[(s + g) % 3];
    return chart;
}
