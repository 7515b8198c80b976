// A recorded run against the plan: the offset found, the deviations, the
// stretches, and a run fed second by second as in a live capture.

#include "render/guiapp.h"
#include "render/pagecomposer.h"
#include "render/runcomparison.h"
#include "render/signalstate.h"
#include "render/targetstate.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// Three car groups green 10–40, 15–45, 20–50 of a 70 s program 1; program 2
// (50 s) released, 3 not, 4 released without a cycle.
InstallationData plans()
{
    InstallationData d;
    d.Header.GroupCount = 3;
    d.Header.ProgramReleased = {1, 1, 0, 1, 0, 0};
    for (int p = 0; p < 3; ++p) {
        SignalProgram &program = d.Programs[size_t(p)];
        program.CycleTime = p == 1 ? 50 : 70;
        for (int g = 0; g < 3; ++g) {
            program.GreenFrom1[g] = 10 + 5 * g;
            program.GreenTo1[g] = (p == 1 ? 25 : 40) + 5 * g;
            program.RedYellowTime[g] = 2;
            program.YellowTime[g] = 3;
        }
    }
    return d;
}

// Rows of program p as planned, starting at cycle second `offset`.
void addPlanned(std::vector<ChartRow> &rows, const InstallationData &d, int p, int offset, int length)
{
    const SignalProgram *program = p <= kProgramCount ? &d.Programs[size_t(p - 1)] : nullptr;
    for (int i = 0; i < length; ++i) {
        ChartRow row;
        row.ProgramNumber = p;
        for (int g = 0; g < 3; ++g)
            row.State[g] = program && program->CycleTime
                               ? TargetState(*program, g, (offset + i) % program->CycleTime) : Red;
        rows.push_back(row);
    }
}

TEST(RunComparison, ARunAsPlannedIsFoundAtItsOffsetWrappingOverTheCycle)
{
    const InstallationData d = plans();
    for (const auto &[offset, length] : {std::pair{0, 70}, {69, 30}, {25, 200}, {3, 1}}) {
        std::vector<ChartRow> rows;
        addPlanned(rows, d, 1, offset, length);
        const RunComparison c = CompareRun(d, 24, rows);  // a run of 24 rows: only the plan's 3 compared
        ASSERT_EQ(c.Stretches.size(), 1u);
        const StretchComparison &s = c.Stretches[0];
        const int expected = length == 1 ? 0 : offset;  // one red second fits the first red offset
        EXPECT_EQ(std::tuple(c.ComparedGroups, s.Offset, s.CellsCompared, s.EqualCells, s.Deviations.size()),
                  std::tuple(3, expected, int64_t(3 * length), int64_t(3 * length), size_t(0)))
            << offset << " " << length;
        EXPECT_EQ(s.TargetSecond(length - 1), (expected + length - 1) % 70);
    }
}

TEST(RunComparison, DeviationsComeBackAsIntervalsOfOneStatePair)
{
    const InstallationData d = plans();
    std::vector<ChartRow> rows;
    addPlanned(rows, d, 1, 12, 150);
    // Run second i stands at cycle second i + 12: group 1 green 10–39, red from 43.
    for (int i = 8; i <= 11; ++i)
        rows[size_t(i)].State[0] = Yellow;  // green seconds shown yellow
    rows[50].State[0] = rows[51].State[0] = RedExtraYellow;
    rows[52].State[0] = 10;                  // a code no state has
    rows[size_t(70 - 12 + 8)].State[0] = RedExtraYellow;  // red+yellow seconds 8, 9 drawn alike
    rows[size_t(70 - 12 + 9)].State[0] = RedExtraYellow;
    rows[100].State[2] = Dark;
    const StretchComparison s = CompareRun(d, 3, rows).Stretches.at(0);
    EXPECT_EQ(s.Offset, 12);
    const std::vector<DeviationInterval> expected = {
        {0, 8, 11, Green, Yellow}, {0, 50, 51, Red, RedExtraYellow}, {0, 52, 52, Red, 10}, {2, 100, 100, Green, Dark}};
    EXPECT_EQ(s.Deviations, expected);
    EXPECT_EQ(s.DeviationSeconds, (std::vector<int>{7, 0, 1}));
    EXPECT_EQ(s.EqualCells, 3 * 150 - 8);
}

TEST(RunComparison, ATieGoesToTheSmallestOffset)
{
    // Three seconds of all groups green fit cycle seconds 20 … 37 alike.
    std::vector<ChartRow> rows(3);
    for (ChartRow &row : rows) {
        row.ProgramNumber = 1;
        row.State[0] = row.State[1] = row.State[2] = Green;
    }
    EXPECT_EQ(CompareRun(plans(), 3, rows).Stretches.at(0).Offset, 20);
}

TEST(RunComparison, EachProgramsStretchIsComparedOnItsOwnAndOneFedLiveGivesTheSame)
{
    const InstallationData d = plans();
    std::vector<ChartRow> rows;
    addPlanned(rows, d, 1, 5, 80);
    addPlanned(rows, d, 2, 49, 60);
    addPlanned(rows, d, 3, 0, 10);
    addPlanned(rows, d, 4, 0, 4);
    addPlanned(rows, d, 7, 0, 2);
    addPlanned(rows, d, 1, 38, 6);
    rows[100].State[1] = Yellow;
    const RunComparison whole = CompareRun(d, 3, rows);
    std::vector<std::tuple<int, int, int, NoTargetReason, int, size_t>> got;
    for (const StretchComparison &s : whole.Stretches)
        got.emplace_back(s.Program, s.FirstSecond, s.LastSecond, s.Reason, s.Offset, s.Deviations.size());
    using R = NoTargetReason;
    EXPECT_EQ(got, (decltype(got){{1, 0, 79, R::None, 5, 0},
                                  {2, 80, 139, R::None, 49, 1},
                                  {3, 140, 149, R::NotReleased, 0, 0},
                                  {4, 150, 153, R::NoCycleTime, 0, 0},
                                  {7, 154, 155, R::ProgramOutOfRange, 0, 0},
                                  {1, 156, 161, R::None, 38, 0}}));

    RunComparer live(d);
    std::vector<ChartRow> arrived;
    for (const ChartRow &row : rows) {
        arrived.push_back(row);
        if (arrived.size() % 7 != 3)  // now and then two seconds come in one tick
            live.Update(arrived, 3);
    }
    live.Update(arrived, 3);
    const RunComparison grown = live.Result(arrived);
    ASSERT_EQ(grown.Stretches.size(), whole.Stretches.size());
    for (size_t i = 0; i < grown.Stretches.size(); ++i)
        EXPECT_EQ(std::tuple(grown.Stretches[i].Offset, grown.Stretches[i].EqualCells, grown.Stretches[i].Deviations),
                  std::tuple(whole.Stretches[i].Offset, whole.Stretches[i].EqualCells, whole.Stretches[i].Deviations));
}

TEST(RunComparison, NothingIsComparedWithoutGroups)
{
    std::vector<ChartRow> rows;
    addPlanned(rows, plans(), 1, 0, 5);
    InstallationData none = plans();
    none.Header.GroupCount = 0;
    EXPECT_EQ(CompareRun(none, 3, rows).Stretches.at(0).Reason, NoTargetReason::NoGroups);
    none.Header.GroupCount = 3;
    none.Programs[0].CycleTime = 1201;
    EXPECT_EQ(CompareRun(none, 3, rows).Stretches.at(0).Reason, NoTargetReason::CycleTooLong);
}

// The band lies under the bar and its detector ticks of each deviating second,
// magenta on screen, black on paper without colour.
TEST(DeviationBand, UnderTheDeviatingSecondsOnScreenAndPaper)
{
    const InstallationData d = plans();
    ChartData chart;
    chart.DisplayMode = DisplayMode::RunFromFile;
    chart.TargetChartActive = false;
    chart.ShownGroups = 3;
    addPlanned(chart.Rows, d, 1, 0, 150);
    for (int s = 120; s <= 124; ++s)
        chart.Rows[size_t(s)].State[1] = Dark;
    chart.Comparison = CompareRun(d, 3, chart.Rows);
    for (const auto &[metrics, colour] : {std::pair{PlanMetrics::ForPreview(771), true},
                                          std::pair{PlanMetrics::ForPrinter(1754, 150), false}}) {
        QImage page(metrics.Width, metrics.Width * 7 / 10, QImage::Format_RGB32);
        {
            QPainter painter(&page);
            PlanCanvas canvas(painter, metrics, colour);
            PageView view;
            view.PageNumber = 3;
            view.StartSecond = 100;
            DrawChartPage(chart, canvas, view);
        }
        const int h = metrics.BarHeight, row = metrics.LeftMargin + metrics.AxisLineStep() + 2 * h + metrics.RowPitch();
        const int y = row + 8 * h / 5 + 3 * h / 20;
        const QColor band = colour ? PlanColour::Deviation : PlanColour::Ink;
        EXPECT_EQ(std::tuple(page.pixelColor(metrics.SecondX(20) + 1, y), page.pixelColor(metrics.SecondX(25) - 1, y),
                             page.pixelColor(metrics.SecondX(25) + 1, y), page.pixelColor(metrics.SecondX(22), y - h)),
                  std::tuple(band, band, PlanColour::Background, PlanColour::Background))
            << metrics.Width;
    }
}

}  // namespace
