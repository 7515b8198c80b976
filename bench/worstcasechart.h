#pragma once
// The worst case the speed targets are measured on: 1200 seconds, 24
// groups, the hatched states in turn, shifted per group, so every run of
// every bar is hatched and changes every second.

#include "render/chartdata.h"
#include "render/signalstate.h"

inline ChartData hatchedEverySecond()
{
    ChartData chart;
    chart.DisplayMode = DisplayMode::SwitchOn;
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

// A 1200-second cycle whose groups all have two green intervals and windows.
inline SignalProgram busyProgram()
{
    SignalProgram p;
    p.CycleTime = kMaxChartSeconds;
    for (int g = 0; g < kGroupCount; ++g) {
        p.GreenFrom1[g] = 7 * g;
        p.GreenTo1[g] = 7 * g + 300;
        p.GreenFrom2[g] = 700 + 11 * g;
        p.GreenTo2[g] = 1100 - g;
        p.RedYellowTime[g] = 2;
        p.YellowTime[g] = 3;
        p.FlashFrom1[g] = 400;
        p.FlashTo1[g] = 450 + g;
        p.YellowFrom2[g] = 1150;
        p.YellowTo2[g] = 20;
    }
    return p;
}
