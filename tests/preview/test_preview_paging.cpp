// The preview's paging rules: pages, half pages, the cursor, the measuring
// point and the print selection, without a window.

#include "preview/previewpaging.h"
#include "previewcharts.h"
#include "qtprinters.h"

#include <gtest/gtest.h>

namespace {
const PlanMetrics kM = PlanMetrics::ForPreview(771);

struct Paging {
    ChartData chart;
    PreviewPaging p{chart};

    explicit Paging(int cycle, DisplayMode kind = DisplayMode::TargetPlan) : chart(previewChart(cycle, kind)) { p.OpenChart(); }
    void cursor(int offset) { EXPECT_TRUE(p.PlaceCursor(kM.SecondX(offset), kM)); }
    // Chart page 2, then half pages forward to `start`.
    void showPage(int start, int offset)
    {
        p.StepPage(true);
        for (int s = 0; s < start; s += 50)
            p.StepHalfPage(true);
        ASSERT_EQ(p.PageStartSecond(), start);
        cursor(offset);
    }
};

TEST(PreviewPaging, OverviewPageOffersOnlyTheWayForward)
{
    Paging t(250);
    EXPECT_EQ(t.p.PageCount(), 4);
    const PagingButtons b = t.p.Buttons();
    EXPECT_FALSE(b.FirstPage || b.PageBack || b.HalfPageBack || b.SecondBack || b.SecondForward
                 || b.HalfPageForward || b.Measuring);
    EXPECT_TRUE(b.PageForward && b.LastPage);
    const PagingLabels l = t.p.Labels(kM);
    EXPECT_EQ(QStringList({l.Seite, l.Pos, l.Abstand, l.Prog}), QStringList({"1 von 4", "----", "----", "1"}));

    Paging empty(0);  // no cycle: the overview page only
    EXPECT_EQ(empty.p.PageCount(), 1);
    EXPECT_FALSE(empty.p.Buttons().PageForward);
}

TEST(PreviewPaging, WholeAndHalfPages)
{
    Paging t(250);
    t.p.StepPage(true);  // ">>" from the overview
    EXPECT_EQ(t.p.CurrentPage(), 2);
    EXPECT_EQ(t.p.PageStartSecond(), 0);
    t.cursor(70);
    t.p.StepHalfPage(true);  // the cursor keeps its second
    EXPECT_EQ(t.p.PageStartSecond(), 50);
    EXPECT_EQ(t.p.CurrentPage(), 2);
    EXPECT_EQ(t.p.CursorOffset(), 20);
    t.p.StepHalfPage(true);  // second 70 leaves the page
    EXPECT_EQ(t.p.PageStartSecond(), 100);
    EXPECT_EQ(t.p.CurrentPage(), 3);
    EXPECT_EQ(t.p.CursorOffset(), 0);
    t.cursor(20);
    t.p.StepHalfPage(false);
    EXPECT_EQ(t.p.CursorOffset(), 70);

    t.p.LastPage();  // keeps the cursor
    EXPECT_EQ(t.p.CurrentPage(), 4);
    EXPECT_EQ(t.p.PageStartSecond(), 200);
    EXPECT_EQ(t.p.CursorOffset(), 70);
    EXPECT_FALSE(t.p.Buttons().PageForward || t.p.Buttons().HalfPageForward);

    t.p.StepPage(false);
    t.p.StepPage(false);
    ASSERT_EQ(t.p.CurrentPage(), 2);
    t.cursor(40);
    t.p.StepPage(false);  // "<<" on page 2
    EXPECT_EQ(t.p.CurrentPage(), 1);
    EXPECT_EQ(t.p.CursorOffset(), 0);
    t.p.LastPage();
    t.p.FirstPage();
    EXPECT_EQ(t.p.CurrentPage(), 1);
    EXPECT_EQ(t.p.PageStartSecond(), 0);
}

TEST(PreviewPaging, TheCursorSecondNamesThePageAndItsTick)
{
    Paging t(250);
    t.showPage(50, 60);
    EXPECT_EQ(t.p.Labels(kM).Seite, "3 von 4");
    EXPECT_EQ(t.p.Labels(kM).Pos, "110 s");
    t.p.SelectPage(true);
    EXPECT_EQ(t.p.PageSelected(), (PageFlags{0, 0, 1}));
    EXPECT_TRUE(t.p.Labels(kM).CheckPrint);
    t.cursor(50);  // still the left page
    EXPECT_EQ(t.p.Labels(kM).Seite, "2 von 4");
    EXPECT_FALSE(t.p.Labels(kM).CheckPrint);

    t.p.FirstPage();  // the overview page shows its own tick
    EXPECT_FALSE(t.p.Labels(kM).CheckPrint);
    t.p.SelectPage(true);
    EXPECT_EQ(t.p.PageSelected(), (PageFlags{1, 0, 1}));

    t.p.OpenChart();
    EXPECT_EQ(t.p.PageSelected(), PageFlags{});
}

TEST(PreviewPaging, SecondStepsCrossHalfPagesWithinTheChart)
{
    Paging t(250);
    t.showPage(0, 100);
    EXPECT_TRUE(t.p.SecondForward());  // ">" at cursor 100
    EXPECT_EQ(t.p.PageStartSecond(), 50);
    EXPECT_EQ(t.p.CursorOffset(), 51);
    t.cursor(0);
    EXPECT_TRUE(t.p.SecondBack());
    EXPECT_EQ(t.p.PageStartSecond(), 0);
    EXPECT_EQ(t.p.CursorOffset(), 49);

    t.cursor(0);
    EXPECT_FALSE(t.p.SecondBack());
    EXPECT_EQ(t.p.CursorSecond(), 0);
    t.p.LastPage();
    t.cursor(100);
    EXPECT_FALSE(t.p.SecondForward());
    EXPECT_EQ(t.p.CursorSecond(), 300);
}

TEST(PreviewPaging, MeasuringDistanceWrapsOnlyInATargetPlan)
{
    Paging t(90);
    EXPECT_EQ(t.p.PageCount(), 2);
    t.showPage(0, 80);
    t.p.ShowMeasuringPoint();
    EXPECT_EQ(t.p.MeasuringPoint(), 0);  // the page's left edge
    t.p.SetMeasuringPoint();
    EXPECT_EQ(t.p.Labels(kM).Abstand, "0 s");
    t.cursor(10);
    EXPECT_EQ(t.p.Labels(kM).Abstand, "20 s");
    EXPECT_TRUE(t.p.View().MeasuringShown);
    t.p.HideMeasuringPoint();
    EXPECT_FALSE(t.p.View().MeasuringShown);
    EXPECT_EQ(t.p.View().MeasuringPoint, 80);

    Paging s(90, DisplayMode::SwitchOn);  // runs once: no wrap
    s.showPage(0, 25);
    s.p.SetMeasuringPoint();
    s.cursor(5);
    EXPECT_EQ(s.p.MeasuringDistance(), -20);
}

TEST(PreviewPaging, ClicksPlaceTheCursorOnTheNearerSecond)
{
    Paging t(250);
    const int left = kM.ChartLeft(), right = left + kM.SpanWidth;
    EXPECT_FALSE(t.p.PlaceCursor(left + 100, kM));  // overview page
    t.p.StepPage(true);
    EXPECT_TRUE(t.p.PlaceCursor(left, kM));
    EXPECT_EQ(t.p.CursorOffset(), 0);
    EXPECT_TRUE(t.p.PlaceCursor(right, kM));
    EXPECT_EQ(t.p.CursorOffset(), 100);
    EXPECT_FALSE(t.p.PlaceCursor(left - 1, kM));
    EXPECT_FALSE(t.p.PlaceCursor(right + 1, kM));
    EXPECT_EQ(t.p.CursorOffset(), 100);
    // Up to span / 200 pixels right of a second still count to it.
    t.p.PlaceCursor(kM.SecondX(10) + kM.SpanWidth / 200, kM);
    EXPECT_EQ(t.p.CursorOffset(), 10);
    t.p.PlaceCursor(kM.SecondX(10) + kM.SpanWidth / 200 + 1, kM);
    EXPECT_EQ(t.p.CursorOffset(), 11);
    EXPECT_EQ(t.p.Labels(kM).CursorX, kM.SecondX(11));
}

TEST(PreviewPaging, PrintFlagsFollowTheChoice)
{
    Paging t(250);
    t.showPage(150, 10);  // page 3 on the left
    t.p.SelectPage(true);
    t.p.FlagPages(PrintChoice::All);
    EXPECT_EQ(t.p.PagePrintFlags(), (PageFlags{1, 1, 1, 1}));
    t.p.FlagPages(PrintChoice::Selected);
    EXPECT_EQ(t.p.PagePrintFlags(), (PageFlags{0, 0, 1, 0}));
    t.cursor(80);  // "Aktuelle" follows the left edge, not the cursor
    t.p.FlagPages(PrintChoice::Current);
    EXPECT_EQ(t.p.PagePrintFlags(), (PageFlags{0, 0, 1, 0}));
}

TEST(PreviewPaging, TheLongestChartStaysWithinThirteenPages)
{
    Paging t(1200);
    EXPECT_EQ(t.p.PageCount(), 13);
    t.showPage(1150, 60);  // cursor second 1210 lies past the chart
    EXPECT_EQ(t.p.Labels(kM).Seite, "13 von 13");
    t.p.SelectPage(true);
    EXPECT_EQ(t.p.PageSelected()[12], 1);
}

}  // namespace
