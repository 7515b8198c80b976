#include "render/chartdata.h"
#include "render/targetstate.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
// Group 0 of a program with one green interval and no windows.
SignalProgram plan(int cycle, int from, int to, int redYellow, int yellow)
{
    SignalProgram p;
    p.CycleTime = uint32_t(cycle);
    p.GreenFrom1[0] = from;
    p.GreenTo1[0] = to;
    p.RedYellowTime[0] = redYellow;
    p.YellowTime[0] = yellow;
    return p;
}

std::vector<int32_t> cycleStates(const SignalProgram &p)
{
    std::vector<int32_t> states;
    for (uint32_t t = 0; t < p.CycleTime; ++t)
        states.push_back(TargetState(p, 0, t));
    return states;
}

// Expected states of a cycle from (first second, state) change points.
std::vector<int32_t> runs(int cycle, std::initializer_list<std::pair<int, int32_t>> changes)
{
    std::vector<int32_t> states(size_t(cycle), Red);
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        const int end = std::next(it) == changes.end() ? cycle : std::next(it)->first;
        for (int t = it->first; t < end; ++t)
            states[size_t(t)] = it->second;
    }
    return states;
}
}  // namespace

TEST(TargetState, SingleGreenIntervalWithTransitions)
{
    EXPECT_EQ(cycleStates(plan(60, 10, 40, 2, 3)),
              runs(60, {{0, Red}, {8, RedYellow}, {10, Green}, {40, Yellow}, {43, Red}}));
    // Without red+yellow and yellow times only green and red remain.
    EXPECT_EQ(cycleStates(plan(60, 10, 40, 0, 0)), runs(60, {{0, Red}, {10, Green}, {40, Red}}));
}

TEST(TargetState, WindowsWrapOverTheEndOfTheCycle)
{
    // Green 50 to 10: green 50-59 and 0-9, yellow 10-12, red+yellow 48-49.
    EXPECT_EQ(cycleStates(plan(60, 50, 10, 2, 3)),
              runs(60, {{0, Green}, {10, Yellow}, {13, Red}, {48, RedYellow}, {50, Green}}));
    // Green 55 to 58 with yellow 5: the yellow wraps to 58-59 and 0-2.
    EXPECT_EQ(cycleStates(plan(60, 55, 58, 0, 5)),
              runs(60, {{0, Yellow}, {3, Red}, {55, Green}, {58, Yellow}}));
    // Red+yellow reaching back over second 0.
    EXPECT_EQ(cycleStates(plan(60, 1, 20, 3, 0)),
              runs(60, {{0, RedYellow}, {1, Green}, {20, Red}, {58, RedYellow}}));
}

TEST(TargetState, DegenerateGreenTimes)
{
    // No green at all: dark, with flashing and extra-yellow windows shown on their own.
    SignalProgram none = plan(60, 0, 0, 2, 3);
    none.FlashFrom1[0] = 5;
    none.FlashTo1[0] = 10;
    none.YellowFrom1[0] = 50;
    none.YellowTo1[0] = 55;
    EXPECT_EQ(cycleStates(none), runs(60, {{0, Dark}, {5, Flashing}, {10, Dark}, {50, Yellow}, {55, Dark}}));
    // Green from = green to (not 0): red all cycle, no transitions.
    EXPECT_EQ(cycleStates(plan(60, 20, 20, 2, 3)), runs(60, {{0, Red}}));
}

TEST(TargetState, WindowsOverRedAndGreen)
{
    SignalProgram p = plan(60, 10, 40, 0, 0);
    p.FlashFrom1[0] = 35;  // flashing across the end of green
    p.FlashTo1[0] = 45;
    p.YellowFrom1[0] = 0;  // extra yellow in red
    p.YellowTo1[0] = 5;
    EXPECT_EQ(cycleStates(p), runs(60, {{0, RedExtraYellow}, {5, Red}, {10, Green}, {35, GreenFlashing},
                                        {40, RedFlashing}, {45, Red}}));
}

TEST(TargetState, SecondIntervalFallsBackToTheFirstWithItsOwnWindows)
{
    SignalProgram p = plan(60, 10, 30, 0, 0);
    p.FlashFrom2[0] = 20;  // over the first interval's green: stays green
    p.FlashTo2[0] = 25;
    p.YellowFrom2[0] = 40;  // over red
    p.YellowTo2[0] = 45;
    EXPECT_EQ(TargetState(p, 0, 22), Green);
    EXPECT_EQ(TargetState(p, 0, 42), RedExtraYellow);
    p.FlashFrom2[0] = 50;
    p.FlashTo2[0] = 55;
    EXPECT_EQ(TargetState(p, 0, 52), RedFlashing);
}

TEST(TargetState, TwoGreenIntervalsCombine)
{
    SignalProgram p = plan(100, 10, 20, 2, 3);
    p.GreenFrom2[0] = 60;
    p.GreenTo2[0] = 70;
    EXPECT_EQ(TargetState(p, 0, 15), Green);      // green of interval 1
    EXPECT_EQ(TargetState(p, 0, 65), Green);      // green of interval 2
    EXPECT_EQ(TargetState(p, 0, 21), Yellow);     // interval 1's yellow wins
    EXPECT_EQ(TargetState(p, 0, 58), RedYellow);  // interval 2's red+yellow shows through red
    EXPECT_EQ(TargetState(p, 0, 71), Yellow);
    EXPECT_EQ(TargetState(p, 0, 40), Red);

    // Windows of one interval over the green of the other.
    p.FlashFrom2[0] = 12;
    p.FlashTo2[0] = 14;
    EXPECT_EQ(TargetState(p, 0, 13), GreenFlashing);  // Green + RedFlashing
    p.YellowFrom2[0] = 16;
    p.YellowTo2[0] = 18;
    EXPECT_EQ(TargetState(p, 0, 17), GreenYellow);  // Green + RedExtraYellow
    p.YellowFrom1[0] = 62;
    p.YellowTo1[0] = 64;
    EXPECT_EQ(TargetState(p, 0, 63), GreenYellow);  // RedExtraYellow + Green
    p.FlashFrom1[0] = 66;
    p.FlashTo1[0] = 68;
    EXPECT_EQ(TargetState(p, 0, 67), GreenFlashing);  // RedFlashing + Green
}

TEST(TargetState, FirstIntervalWithoutGreenTakesTheSecond)
{
    // First interval dark: the second interval alone decides.
    SignalProgram p;
    p.CycleTime = 100;
    p.GreenFrom2[0] = 50;
    p.GreenTo2[0] = 60;
    p.YellowTime[0] = 2;
    EXPECT_EQ(TargetState(p, 0, 55), Green);
    EXPECT_EQ(TargetState(p, 0, 61), Yellow);
    EXPECT_EQ(TargetState(p, 0, 10), Red);
}

TEST(SwitchProgram, StepsExpandToOneRowPerSecond)
{
    SwitchStepTable steps{};
    const int p = 2;
    steps[3 * p + 0].Duration = 3;
    steps[3 * p + 1].Duration = 5;
    steps[3 * p + 2].Duration = 0;
    steps[3 * p + 0].SetA[0] = 1;
    steps[3 * p + 0].SetB[0] = 1;  // A wins over B
    steps[3 * p + 0].SetB[1] = 1;
    steps[3 * p + 0].SetC[2] = 1;
    steps[3 * p + 1].SetC[0] = 1;
    steps[3 * p + 2].SetA[3] = 1;  // step without seconds contributes nothing

    EXPECT_EQ(SwitchRowCount(steps, p), 8);
    const std::vector<ChartRow> rows = ExpandSwitchSteps(steps, p);
    ASSERT_EQ(rows.size(), 8u);
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(rows[s].State[0], Red);
        EXPECT_EQ(rows[s].State[1], Yellow);
        EXPECT_EQ(rows[s].State[2], Green);
        EXPECT_EQ(rows[s].State[3], Dark);
    }
    for (int s = 3; s < 8; ++s) {
        EXPECT_EQ(rows[s].State[0], Green);
        EXPECT_EQ(rows[s].State[3], Dark);
        EXPECT_EQ(rows[s].DetectorActive[0], 0);
    }
    EXPECT_TRUE(ExpandSwitchSteps(steps, 0).empty());
}

TEST(ChartData, ActiveGroupCountFollowsShownRowsAndGroupCount)
{
    InstallationHeader h;
    h.GroupCount = 7;
    EXPECT_EQ(CountActiveGroups(h, 12), 7);
    h.GroupCount = 16;
    EXPECT_EQ(CountActiveGroups(h, 12), 12);
    EXPECT_EQ(CountActiveGroups(h, 24), 16);
    h.GroupCount = 0xFFFFFFFFu;
    EXPECT_EQ(CountActiveGroups(h, 24), 24);
}

TEST(ChartData, OpenTargetChartTakesASnapshotAndTitles)
{
    InstallationData d;
    d.Header.GroupCount = 5;
    d.Programs[1].CycleTime = 90;
    d.SwitchOffFaultSteps[3].Duration = 4;
    d.SwitchOffFaultSteps[3].SetC[0] = 1;

    ChartData chart;
    QString error;
    ASSERT_TRUE(OpenTargetChart(chart, d, 2, DisplayMode::TargetPlan, QString(), &error));
    d.Programs[1].CycleTime = 30;  // data loaded later do not change an open chart
    EXPECT_EQ(chart.ChartLength(), 90);
    EXPECT_EQ(chart.ActiveGroupCount, 5);
    EXPECT_TRUE(chart.Rows.empty());
    EXPECT_EQ(chart.ChartTitle, QStringLiteral("(Sollplan)"));
    EXPECT_EQ(chart.WindowCaption, QStringLiteral("Drucker Vorschau Sollplan"));

    ASSERT_TRUE(OpenTargetChart(chart, d, 2, DisplayMode::SwitchOffFault, QStringLiteral("Kreuzung"), &error));
    EXPECT_EQ(chart.ChartLength(), 4);
    EXPECT_EQ(chart.Rows[0].State[0], Green);
    EXPECT_EQ(chart.ChartTitle, QStringLiteral("(Ausschaltprogramm / Störung)"));
    EXPECT_EQ(chart.WindowCaption, QStringLiteral("Drucker Vorschau Ausschaltprogramm / Störung - Kreuzung"));
    ASSERT_TRUE(OpenTargetChart(chart, d, 2, DisplayMode::TargetPlan, QStringLiteral("Kreuzung"), &error));
    EXPECT_EQ(chart.WindowCaption, QStringLiteral("Drucker Vorschau Programm - Kreuzung"));
}

TEST(ChartData, ChartsLongerThanTwelvePagesAreRefused)
{
    InstallationData d;
    d.Programs[0].CycleTime = kMaxChartSeconds;
    ChartData chart;
    QString error;
    EXPECT_TRUE(OpenTargetChart(chart, d, 1, DisplayMode::TargetPlan, QString(), &error));

    d.Programs[0].CycleTime = 0xFFFFFFFFu;
    EXPECT_FALSE(OpenTargetChart(chart, d, 1, DisplayMode::TargetPlan, QString(), &error));
    EXPECT_EQ(error, kChartTooLongMessage);

    // Three huge durations: the sum must neither wrap nor be allocated.
    for (int s = 0; s < 3; ++s)
        d.SwitchOnSteps[s].Duration = 0xFFFFFFFFu;
    error.clear();
    EXPECT_FALSE(OpenTargetChart(chart, d, 1, DisplayMode::SwitchOn, QString(), &error));
    EXPECT_EQ(error, kChartTooLongMessage);
    EXPECT_EQ(chart.ChartLength(), kMaxChartSeconds);  // the earlier chart stays
}
