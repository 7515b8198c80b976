#pragma once
// What a chart shows: a target chart of the installation's programming or an
// actual run, and where that run comes from. The values are the ones the
// capture and the preview have always numbered them by.

#include <cstdint>

enum class DisplayMode : int32_t {
    RunFromFile = 1,       // an actual-run file
    RunKvx = 2,            // KVX 300 / 900 / 5000S controller
    RunQsw = 3,            // QSW controller
    RunSimulation = 4,     // the simulation program's files
    TargetPlan = 5,
    SwitchOn = 6,
    SwitchOffTargeted = 7,
    SwitchOffFault = 8,
    RunKvx40At1200 = 11,   // KVX 40 / 10 controller, printer stream at 1200 baud
    RunKvx40At9600 = 12,
    RunKvx40At19200 = 13,
};

// The four kinds of target chart: the plan and the three switch programs.
constexpr bool IsTargetChartMode(DisplayMode mode)
{
    return mode == DisplayMode::TargetPlan || mode == DisplayMode::SwitchOn
           || mode == DisplayMode::SwitchOffTargeted || mode == DisplayMode::SwitchOffFault;
}

// Whose printed pages carry today's date: target charts and simulated runs,
// which have no print date of their own; a controller's run carries the
// date of its printout.
constexpr bool PrintsCurrentDate(DisplayMode mode)
{
    return IsTargetChartMode(mode) || mode == DisplayMode::RunSimulation;
}
