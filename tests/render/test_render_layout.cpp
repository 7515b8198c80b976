// Number columns, page and axis arithmetic and the print date: what the page
// dumps only see at the values their pages happen to hold.

#include "render/chartrow.h"
#include "render/displaymode.h"
#include "render/numberformats.h"
#include "render/pagecomposer.h"
#include "render/planmetrics.h"
#include "render/timeaxis.h"

#include <gtest/gtest.h>
#include <tuple>

TEST(NumberFormats, ColumnsAroundEveryDigitCount)
{
    const struct {
        int64_t n;
        const char *group, *seconds, *time3;
    } cases[] = {
        {0, " 0. ", "     0", "000"},        {9, " 9. ", "     9", "009"},
        {10, "10. ", "   10", "010"},        {99, "99. ", "   99", "099"},
        {100, "100. ", " 100", "100"},       {1000, "1000. ", " 1000", "1000"},
        {4294967295LL, "4294967295. ", " 4294967295", "4294967295"},  // uint32 from a file
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FormatGroupNumber(c.n), QLatin1String(c.group)) << c.n;
        EXPECT_EQ(FormatSeconds(c.n), QLatin1String(c.seconds)) << c.n;
        EXPECT_EQ(FormatTime3(c.n), QLatin1String(c.time3)) << c.n;
    }
}

TEST(PlanMetrics, TooNarrowForABarStillDrawsOnePixelHigh)
{
    // A zero bar height would divide the hatch count by zero.
    EXPECT_EQ(PlanMetrics::ForPreview(59).BarHeight, 1);
    EXPECT_EQ(PlanMetrics::ForPrinter(99, 600).BarHeight, 1);
    EXPECT_EQ(PlanMetrics::ForPreview(-5).SpanWidth, 0);
}

TEST(Paging, OneOverviewPageAndOneChartPagePerStartedHundredSeconds)
{
    const std::pair<int, int> counts[] = {{0, 1}, {1, 2}, {100, 2}, {101, 3}, {1200, 13}};
    for (const auto &[seconds, pages] : counts)
        EXPECT_EQ(PageCount(seconds), pages) << seconds;
}

TEST(TimeAxis, TickStepCoarsensUntilSixteenLabelsFit)
{
    const struct {
        int span, step, count;
        bool remainder;
    } cases[] = {{95, 10, 11, true},  {100, 10, 11, false}, {150, 10, 16, false},  {155, 10, 17, true},
                 {160, 20, 9, false}, {700, 50, 15, false}, {5000, 100, 51, false}};
    for (const auto &c : cases) {
        const TickSteps t = SetTickStep(c.span);
        EXPECT_EQ(std::tuple(t.TickStep, t.TickCount, t.TickRemainder), std::tuple(c.step, c.count, c.remainder))
            << c.span;
    }
    // A span that is no multiple of the step caps its last label at the span.
    const AxisTicks odd = AxisTickPositions(SetTickStep(95), 95, 0, 950);
    ASSERT_EQ(odd.Labels.size(), 11u);
    EXPECT_EQ(std::tuple(odd.Labels[9].Offset, odd.Labels[10].Offset, odd.Labels[10].X), std::tuple(90, 95, 950));
}

TEST(ChartRow, ShortBytesLeaveTheRowUntouched)
{
    ChartRow row;
    row.ProgramNumber = 7;
    ChartRow untouched;
    EXPECT_FALSE(DecodeChartRow(EncodeChartRow(row).left(kChartRowBytes - 1), untouched));
    EXPECT_EQ(untouched.ProgramNumber, 0);
}

TEST(PrintHeader, TodaysDateOnTargetChartsAndSimulatedRunsOnly)
{
    using M = DisplayMode;
    for (M mode : {M::TargetPlan, M::SwitchOn, M::SwitchOffTargeted, M::SwitchOffFault, M::RunSimulation})
        EXPECT_TRUE(PrintsCurrentDate(mode)) << int(mode);
    // A controller's run carries the date of its printout.
    for (M mode : {M::RunFromFile, M::RunKvx, M::RunQsw, M::RunKvx40At1200, M::RunKvx40At9600, M::RunKvx40At19200})
        EXPECT_FALSE(PrintsCurrentDate(mode)) << int(mode);
}
