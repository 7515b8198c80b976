#include "render/chartrow.h"
#include "render/numberformats.h"
#include "render/pagecomposer.h"
#include "render/planmetrics.h"
#include "render/timeaxis.h"

#include <gtest/gtest.h>

TEST(NumberFormats, ColumnsEndFlushRight)
{
    EXPECT_EQ(FormatGroupNumber(7), QStringLiteral(" 7. "));
    EXPECT_EQ(FormatGroupNumber(12), QStringLiteral("12. "));
    EXPECT_EQ(FormatSeconds(120), QStringLiteral(" 120"));
    EXPECT_EQ(FormatSeconds(45), QStringLiteral("   45"));
    EXPECT_EQ(FormatSeconds(7), QStringLiteral("     7"));
    EXPECT_EQ(FormatSeconds(0), QStringLiteral("     0"));
    EXPECT_EQ(FormatSeconds(4294967295LL), QStringLiteral(" 4294967295"));  // uint32 from a file
    EXPECT_EQ(FormatTime3(7), QStringLiteral("007"));
    EXPECT_EQ(FormatTime3(45), QStringLiteral("045"));
    EXPECT_EQ(FormatTime3(1234), QStringLiteral("1234"));
}

TEST(PlanMetrics, FollowTheTargetWidth)
{
    const PlanMetrics preview = PlanMetrics::ForPreview(771);
    EXPECT_EQ(preview.LeftMargin, 25);
    EXPECT_EQ(preview.BarHeight, 12);
    EXPECT_EQ(preview.SpanWidth, 621);
    EXPECT_EQ(preview.LineStep(), 19);
    EXPECT_EQ(preview.RowPitch(), 30);
    EXPECT_EQ(preview.ChartLeft(), 125);
    EXPECT_EQ(preview.SecondX(100), 125 + 621);
    EXPECT_EQ(preview.SecondX(37), 125 + 229);  // 37 * 621 / 100 = 229.77
    EXPECT_EQ(preview.permille(485), 373);

    const PlanMetrics printer = PlanMetrics::ForPrinter(7015);
    EXPECT_EQ(printer.LeftMargin, 233);
    EXPECT_EQ(printer.BarHeight, 70);
    EXPECT_EQ(printer.SpanWidth, 7015 - 6 * 233);
    EXPECT_EQ(printer.LineStep(), 140);
    EXPECT_EQ(printer.RowPitch(), 152);
    EXPECT_EQ(printer.AxisLineStep(), 116);

    // Too narrow for a bar: clamped to one pixel instead of a zero hatch divisor.
    EXPECT_EQ(PlanMetrics::ForPreview(59).BarHeight, 1);
    EXPECT_EQ(PlanMetrics::ForPrinter(99).BarHeight, 1);
    EXPECT_EQ(PlanMetrics::ForPreview(0).SpanWidth, 0);
}

TEST(Paging, OneOverviewPageAndOneChartPagePerStartedHundredSeconds)
{
    EXPECT_EQ(PageCount(0), 1);
    EXPECT_EQ(PageCount(1), 2);
    EXPECT_EQ(PageCount(100), 2);
    EXPECT_EQ(PageCount(101), 3);
    EXPECT_EQ(PageCount(250), 4);
    EXPECT_EQ(PageCount(1200), 13);
    EXPECT_EQ(ChartPageStart(2), 0);
    EXPECT_EQ(ChartPageStart(4), 200);
}

TEST(TimeAxis, TickStepCoarsensUntilSixteenLabelsFit)
{
    TickSteps t = SetTickStep(100);
    EXPECT_EQ(t.TickStep, 10);
    EXPECT_EQ(t.TickCount, 11);
    EXPECT_FALSE(t.TickRemainder);

    t = SetTickStep(150);  // 16 labels at 10 still fit
    EXPECT_EQ(t.TickStep, 10);
    EXPECT_EQ(t.TickCount, 16);
    t = SetTickStep(155);
    EXPECT_EQ(t.TickStep, 10);
    EXPECT_EQ(t.TickCount, 17);  // 16 + the capped last label
    EXPECT_TRUE(t.TickRemainder);
    t = SetTickStep(160);  // 17 at 10 -> 20
    EXPECT_EQ(t.TickStep, 20);
    EXPECT_EQ(t.TickCount, 9);
    t = SetTickStep(700);
    EXPECT_EQ(t.TickStep, 50);
    EXPECT_EQ(t.TickCount, 15);
    t = SetTickStep(5000);  // stays at 100 however long
    EXPECT_EQ(t.TickStep, 100);
    EXPECT_EQ(t.TickCount, 51);
    t = SetTickStep(95);
    EXPECT_EQ(t.TickCount, 11);
    EXPECT_TRUE(t.TickRemainder);
}

TEST(TimeAxis, TickPositionsToThePixel)
{
    const AxisTicks ticks = AxisTickPositions(SetTickStep(100), 100, 125, 621);
    ASSERT_EQ(ticks.Labels.size(), 11u);
    const int expectedX[] = {125, 187, 249, 311, 373, 435, 497, 559, 621, 683, 746};
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(ticks.Labels[i].Offset, 10 * i);
        EXPECT_EQ(ticks.Labels[i].X, expectedX[i]) << i;
    }
    // Minor ticks every second, left of the axis end; every fifth is long.
    ASSERT_EQ(ticks.Minor.size(), 99u);
    EXPECT_EQ(ticks.Minor[0].X, 131);  // 621 / 100 = 6.21
    EXPECT_FALSE(ticks.Minor[0].Long);
    EXPECT_TRUE(ticks.Minor[4].Long);
    EXPECT_EQ(ticks.Minor[4].X, 156);  // 5 * 6.21 = 31.05
    EXPECT_EQ(ticks.Minor[98].X, 739);

    // A span that is no multiple of the step caps its last label at the span.
    const AxisTicks odd = AxisTickPositions(SetTickStep(95), 95, 0, 950);
    ASSERT_EQ(odd.Labels.size(), 11u);
    EXPECT_EQ(odd.Labels[9].Offset, 90);
    EXPECT_EQ(odd.Labels[10].Offset, 95);
    EXPECT_EQ(odd.Labels[10].X, 950);
}

TEST(ChartRow, ByteFormRoundTripsLittleEndian)
{
    ChartRow row;
    row.State[0] = 2;
    row.State[23] = -1;
    row.DetectorActive[5] = 1;
    row.ProgramNumber = 0x01020304;
    const QByteArray bytes = EncodeChartRow(row);
    ASSERT_EQ(bytes.size(), kChartRowBytes);
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(uint8_t(bytes[92]), 0xFF);
    EXPECT_EQ(bytes[96 + 5], 1);
    EXPECT_EQ(bytes[120], 4);
    EXPECT_EQ(bytes[123], 1);

    ChartRow back;
    ASSERT_TRUE(DecodeChartRow(bytes, back));
    EXPECT_EQ(back.State, row.State);
    EXPECT_EQ(back.DetectorActive, row.DetectorActive);
    EXPECT_EQ(back.ProgramNumber, row.ProgramNumber);

    ChartRow untouched;
    EXPECT_FALSE(DecodeChartRow(bytes.left(123), untouched));
    EXPECT_EQ(untouched.ProgramNumber, 0);
}
