#include "render/chartdata.h"
#include "render/signalstate.h"
#include "render/targetstate.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
using Times = PerGroup<int32_t> SignalProgram::*;
using P = SignalProgram;

// Group 1 of a program: its first green interval with transitions, further
// fields, and the expected states of a whole cycle as change points.
struct Cycle {
    const char *what;
    uint32_t length;
    int32_t greenFrom, greenTo, redYellow, yellow;
    std::vector<std::pair<Times, int32_t>> more;
    std::vector<std::pair<int, int32_t>> changes;
};

const Cycle kCycles[] = {
    {"one green interval", 60, 10, 40, 2, 3, {}, {{0, Red}, {8, RedYellow}, {10, Green}, {40, Yellow}, {43, Red}}},
    {"no transition times", 60, 10, 40, 0, 0, {}, {{0, Red}, {10, Green}, {40, Red}}},
    {"green over the cycle end", 60, 50, 10, 2, 3, {}, {{0, Green}, {10, Yellow}, {13, Red}, {48, RedYellow}, {50, Green}}},
    {"yellow over the cycle end", 60, 55, 58, 0, 5, {}, {{0, Yellow}, {3, Red}, {55, Green}, {58, Yellow}}},
    {"red+yellow over second 0", 60, 1, 20, 3, 0, {}, {{0, RedYellow}, {1, Green}, {20, Red}, {58, RedYellow}}},
    {"no green: dark with its windows", 60, 0, 0, 2, 3,
     {{&P::FlashFrom1, 5}, {&P::FlashTo1, 10}, {&P::YellowFrom1, 50}, {&P::YellowTo1, 55}},
     {{0, Dark}, {5, Flashing}, {10, Dark}, {50, Yellow}, {55, Dark}}},
    {"green from = green to: red, no transitions", 60, 20, 20, 2, 3, {}, {{0, Red}}},
    {"windows over red and green", 60, 10, 40, 0, 0,
     {{&P::FlashFrom1, 35}, {&P::FlashTo1, 45}, {&P::YellowFrom1, 0}, {&P::YellowTo1, 5}},
     {{0, RedExtraYellow}, {5, Red}, {10, Green}, {35, GreenFlashing}, {40, RedFlashing}, {45, Red}}},
    // Without a second interval the first counts again with the second windows.
    {"second windows on the first interval", 60, 10, 30, 0, 0,
     {{&P::FlashFrom2, 20}, {&P::FlashTo2, 25}, {&P::YellowFrom2, 40}, {&P::YellowTo2, 45}},
     {{0, Red}, {10, Green}, {30, Red}, {40, RedExtraYellow}, {45, Red}}},
    {"second flashing over red", 60, 10, 30, 0, 0, {{&P::FlashFrom2, 50}, {&P::FlashTo2, 55}},
     {{0, Red}, {10, Green}, {30, Red}, {50, RedFlashing}, {55, Red}}},
    // Two intervals, each with windows over the other's green.
    {"two green intervals", 100, 10, 20, 2, 3,
     {{&P::GreenFrom2, 60}, {&P::GreenTo2, 70}, {&P::FlashFrom2, 12}, {&P::FlashTo2, 14}, {&P::YellowFrom2, 16},
      {&P::YellowTo2, 18}, {&P::YellowFrom1, 62}, {&P::YellowTo1, 64}, {&P::FlashFrom1, 66}, {&P::FlashTo1, 68}},
     {{0, Red}, {8, RedYellow}, {10, Green}, {12, GreenFlashing}, {14, Green}, {16, GreenYellow}, {18, Green},
      {20, Yellow}, {23, Red}, {58, RedYellow}, {60, Green}, {62, GreenYellow}, {64, Green}, {66, GreenFlashing},
      {68, Green}, {70, Yellow}, {73, Red}}},
    {"windows of both intervals over the second green", 100, 10, 20, 0, 0,
     {{&P::GreenFrom2, 60}, {&P::GreenTo2, 70}, {&P::YellowFrom1, 62}, {&P::YellowTo1, 64}, {&P::YellowFrom2, 62},
      {&P::YellowTo2, 64}, {&P::FlashFrom1, 66}, {&P::FlashTo1, 68}, {&P::FlashFrom2, 66}, {&P::FlashTo2, 68}},
     {{0, Red}, {10, Green}, {20, Red}, {60, Green}, {62, GreenYellow}, {64, Green}, {66, GreenFlashing}, {68, Green},
      {70, Red}}},
    {"only the second interval has green", 100, 0, 0, 0, 2, {{&P::GreenFrom2, 50}, {&P::GreenTo2, 60}},
     {{0, Red}, {50, Green}, {60, Yellow}, {62, Red}}},
};
}  // namespace

TEST(TargetState, EverySecondOfACycle)
{
    for (const Cycle &c : kCycles) {
        SignalProgram p;
        p.CycleTime = c.length;
        p.GreenFrom1[0] = c.greenFrom;
        p.GreenTo1[0] = c.greenTo;
        p.RedYellowTime[0] = c.redYellow;
        p.YellowTime[0] = c.yellow;
        for (const auto &[field, value] : c.more)
            (p.*field)[0] = value;
        std::vector<int32_t> expected(c.length), got;
        for (size_t i = 0; i < c.changes.size(); ++i)
            std::fill(expected.begin() + c.changes[i].first,
                      i + 1 < c.changes.size() ? expected.begin() + c.changes[i + 1].first : expected.end(),
                      c.changes[i].second);
        for (uint32_t t = 0; t < c.length; ++t)
            got.push_back(TargetState(p, 0, t));
        EXPECT_EQ(got, expected) << c.what;
    }
}

TEST(SwitchProgram, StepsExpandToOneRowPerSecond)
{
    SwitchStepTable steps{};
    // Program 3: set A wins over B and B over C; a step without seconds adds nothing.
    steps[6] = {3, {1}, {1, 1}, {0, 0, 1}};
    steps[7] = {5, {}, {}, {1}};
    steps[8] = {0, {0, 0, 0, 1}, {}, {}};
    EXPECT_EQ(SwitchRowCount(steps, 2), 8);
    std::vector<std::vector<int32_t>> got;
    for (const ChartRow &row : ExpandSwitchSteps(steps, 2))
        got.push_back({row.State.begin(), row.State.begin() + 4});
    const std::vector<int32_t> first{Red, Yellow, Green, Dark}, second{Green, Dark, Dark, Dark};
    EXPECT_EQ(got, std::vector<std::vector<int32_t>>({first, first, first, second, second, second, second, second}));
    EXPECT_TRUE(ExpandSwitchSteps(steps, 0).empty());
}

TEST(ChartData, ActiveGroupsAreTheShownRowsWhoseGroupExists)
{
    const struct {
        uint32_t groupCount;
        int shown, active;
    } cases[] = {{7, 12, 7}, {16, 12, 12}, {16, 24, 16}, {0xFFFFFFFFu, 24, 24}};
    for (const auto &c : cases) {
        InstallationHeader h;
        h.GroupCount = c.groupCount;
        EXPECT_EQ(CountActiveGroups(h, c.shown), c.active) << c.groupCount << " " << c.shown;
    }
}

TEST(ChartData, AnOpenChartKeepsItsSnapshot)
{
    InstallationData d;
    d.Header.GroupCount = 5;
    d.Programs[1].CycleTime = 90;
    d.SwitchOffFaultSteps[3] = {4, {}, {}, {1}};
    ChartData plan, fault;
    ASSERT_TRUE(OpenTargetChart(plan, d, 2, DisplayMode::TargetPlan, QString(), nullptr));
    ASSERT_TRUE(OpenTargetChart(fault, d, 2, DisplayMode::SwitchOffFault, QStringLiteral("Kreuzung"), nullptr));
    d.Programs[1].CycleTime = 30;  // data loaded later
    EXPECT_EQ(plan.ChartLength(), 90);
    EXPECT_EQ(plan.ActiveGroupCount, 5);
    EXPECT_TRUE(plan.Rows.empty());
    EXPECT_EQ(fault.ChartLength(), 4);
    EXPECT_EQ(fault.Rows[0].State[0], Green);
    EXPECT_EQ(fault.ChartTitle, QStringLiteral("(Ausschaltprogramm / Störung)"));
}

TEST(ChartData, ChartsLongerThanTwelvePagesAreRefused)
{
    InstallationData d;
    d.Programs[0].CycleTime = kMaxChartSeconds;
    ChartData chart;
    QString error;
    EXPECT_TRUE(OpenTargetChart(chart, d, 1, DisplayMode::TargetPlan, QString(), &error));
    for (uint32_t cycle : {uint32_t(kMaxChartSeconds + 1), 0xFFFFFFFFu}) {
        d.Programs[0].CycleTime = cycle;
        EXPECT_FALSE(OpenTargetChart(chart, d, 1, DisplayMode::TargetPlan, QString(), &error));
        EXPECT_EQ(error, kChartTooLongMessage);
    }
    // Three huge durations: the sum must neither wrap nor be allocated.
    for (int s = 0; s < 3; ++s)
        d.SwitchOnSteps[s].Duration = 0xFFFFFFFFu;
    error.clear();
    EXPECT_FALSE(OpenTargetChart(chart, d, 1, DisplayMode::SwitchOn, QString(), &error));
    EXPECT_EQ(error, kChartTooLongMessage);
    EXPECT_EQ(chart.ChartLength(), kMaxChartSeconds);  // the earlier chart stays
}
