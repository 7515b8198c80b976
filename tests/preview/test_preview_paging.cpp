// The preview without a window: the paging rules and the print run onto PDF files.

#include "render/guiapp.h"

#include "pdfpages.h"
#include "preview/chartpdf.h"
#include "preview/previewpaging.h"
#include "preview/previewzoom.h"
#include "preview/printrun.h"
#include "previewcharts.h"
#include "qtprinters.h"

#include <QFile>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const PlanMetrics kM = PlanMetrics::ForPreview(771);

struct Paging {
    ChartData chart;
    PreviewPaging p{chart};

    explicit Paging(int cycle, DisplayMode kind = DisplayMode::TargetPlan) : chart(previewChart(cycle, kind)) { p.OpenChart(); }
    void cursor(int offset) { EXPECT_TRUE(p.PlaceCursor(kM.SecondX(offset), kM)); }
    // Where the view stands: page, first second of the page, cursor offset.
    QList<int> at() const { return {p.CurrentPage(), p.PageStartSecond(), p.CursorOffset()}; }
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

// The drawn width: the classic 771 pixels in the initial window, scaled by the zoom and the device pixel
// ratio; an image too large for the memory is cut down. Zoom steps stop at 50 and 400 %.
TEST(PreviewZoom, ImageWidthFollowsScrollAreaZoomAndRatio)
{
    const auto width = [](int scroll, int zoom, qreal ratio) { return PreviewImageSizeFor(scroll, zoom, ratio).device.width(); };
    EXPECT_EQ(QList<int>({width(792, 100, 1), width(1600, 100, 1), width(1600, 200, 1), width(792, 100, 2),
                          width(792, 50, 1)}),
              QList<int>({771, 1579, 3158, 1542, 386}));
    const QSize huge = PreviewImageSizeFor(3840, 400, 2).device;
    EXPECT_LE(int64_t(huge.width()) * huge.height(), 64LL * 1024 * 1024);
    EXPECT_GT(huge.width(), 6000);
    EXPECT_EQ(QList<int>({ZoomedIn(100), ZoomedIn(400), ZoomedOut(100), ZoomedOut(50), ZoomedOut(123)}),
              QList<int>({125, 400, 80, 50, 100}));
}

TEST(PreviewPaging, OverviewPageOffersOnlyTheWayForward)
{
    Paging t(250);
    EXPECT_EQ(t.p.PageCount(), 4);
    const PagingButtons b = t.p.Buttons();
    EXPECT_FALSE(b.FirstPage || b.PageBack || b.HalfPageBack || b.SecondBack || b.SecondForward
                 || b.HalfPageForward || b.Measuring);
    EXPECT_TRUE(b.PageForward && b.LastPage);

    Paging empty(0);  // no cycle: the overview page only
    EXPECT_EQ(empty.p.PageCount(), 1);
    EXPECT_FALSE(empty.p.Buttons().PageForward);
}

TEST(PreviewPaging, WholeAndHalfPages)
{
    Paging t(250);
    t.showPage(50, 20);
    t.p.StepHalfPage(true);  // the cursor's second 70 leaves the page
    EXPECT_EQ(t.at(), QList<int>({3, 100, 0}));
    t.cursor(20);
    t.p.StepHalfPage(false);
    EXPECT_EQ(t.p.CursorOffset(), 70);
    t.p.LastPage();  // keeps the cursor
    EXPECT_EQ(t.at(), QList<int>({4, 200, 70}));
    EXPECT_FALSE(t.p.Buttons().PageForward || t.p.Buttons().HalfPageForward);

    t.p.StepPage(false);
    t.p.StepPage(false);
    ASSERT_EQ(t.p.CurrentPage(), 2);
    t.cursor(40);
    t.p.StepPage(false);  // "<<" on page 2
    EXPECT_EQ(t.at(), QList<int>({1, 0, 0}));
    t.p.LastPage();
    t.p.FirstPage();
    EXPECT_EQ(t.at(), QList<int>({1, 0, 0}));
}

TEST(PreviewPaging, TheCursorSecondNamesThePageAndItsTick)
{
    Paging t(250);
    t.showPage(50, 60);
    EXPECT_EQ(QStringList({t.p.Labels(kM).Seite, t.p.Labels(kM).Pos}), QStringList({"3 von 4", "110 s"}));
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
    EXPECT_EQ(t.at(), QList<int>({2, 50, 51}));
    t.cursor(0);
    EXPECT_TRUE(t.p.SecondBack());
    EXPECT_EQ(t.at(), QList<int>({2, 0, 49}));

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
    t.showPage(0, 80);
    t.p.ShowMeasuringPoint();
    EXPECT_EQ(t.p.MeasuringPoint(), 0);  // the page's left edge
    t.p.SetMeasuringPoint();
    t.cursor(10);
    EXPECT_EQ(t.p.Labels(kM).Abstand, "20 s");
    t.p.HideMeasuringPoint();
    EXPECT_EQ(t.p.View().MeasuringPoint, 80);  // kept while hidden

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

TEST(PreviewPaging, TheCurrentPageIsTheOneOnTheLeft)
{
    Paging t(250);
    t.showPage(150, 80);  // page 3 on the left, the cursor on page 4
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

const QDateTime kWhen(QDate(2026, 3, 2), QTime(14, 30));

PrintResult printTo(const QString &path, const PageFlags &flags)
{
    QPdfWriter writer(path);
    return PrintRun(previewChart(250), flags, writer, false, kWhen);
}

// The numbers of a printed page's text, e.g. its time-axis labels.
QStringList numbers(const QString &text)
{
    return text.split(QRegularExpression(QStringLiteral("\\s+"))).filter(QRegularExpression(QStringLiteral("^\\d+$")));
}

TEST(PrintRun, FlaggedPagesInOrderNumberedOverTheWholeChart)
{
    QTemporaryDir dir;
    const QString all = dir.filePath(QStringLiteral("alle.pdf"));
    ASSERT_EQ(printTo(all, PageFlags{1, 1, 1, 1}), PrintResult::Printed);
    ASSERT_EQ(pdfPageCount(all), 4);
    for (int page = 1; page <= 4; ++page)
        EXPECT_TRUE(pdfText(all, page).contains(QStringLiteral("Seite %1 von 4 Seiten (Sollplan), Beispiel").arg(page)));
    EXPECT_TRUE(pdfText(all, 1).contains(QStringLiteral("Druckdatum: 02.03.26 14:30")));
    EXPECT_TRUE(numbers(pdfText(all, 4)).contains(QStringLiteral("300")));

    // Page 3 alone still counts as page 3 and starts at second 100.
    const QString third = dir.filePath(QStringLiteral("auswahl.pdf"));
    ASSERT_EQ(printTo(third, PageFlags{0, 0, 1}), PrintResult::Printed);
    ASSERT_EQ(pdfPageCount(third), 1);
    const QStringList axis = numbers(pdfText(third, 1));
    EXPECT_TRUE(axis.contains(QStringLiteral("100")) && axis.contains(QStringLiteral("200")));
    EXPECT_FALSE(axis.contains(QStringLiteral("90")));
}

// A flag beyond the chart makes no document, and a PDF file without a page of the chart is refused.
TEST(PrintRun, NoFileWithoutAFlaggedPageOfTheChart)
{
    QTemporaryDir dir;
    const QString leer = dir.filePath(QStringLiteral("leer.pdf")), none = dir.filePath(QStringLiteral("none.pdf"));
    EXPECT_EQ(printTo(leer, PageFlags{0, 0, 0, 0, 1}), PrintResult::NothingToPrint);
    QString error;
    EXPECT_FALSE(WriteChartPdf(previewChart(250), {7}, true, kWhen, none, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("keine Seite")));
    EXPECT_FALSE(QFile::exists(leer) || QFile::exists(none));
}

// The window's caption and the print job's name: the chart kind and the data set.
TEST(PrintRun, ChartNamesForTheWindowAndThePrintJob)
{
    const std::tuple<DisplayMode, const char *, const char *> captions[] = {
        {DisplayMode::TargetPlan, "Drucker Vorschau Programm - Beispiel", "Drucker Vorschau Sollplan"},
        {DisplayMode::SwitchOn, "Drucker Vorschau Einschaltprogramm - Beispiel", "Drucker Vorschau Einschaltprogramm"},
        {DisplayMode::SwitchOffTargeted, "Drucker Vorschau Ausschaltprogramm / Gezielt - Beispiel",
         "Drucker Vorschau Ausschaltprogramm / Gezielt"},
        {DisplayMode::SwitchOffFault, "Drucker Vorschau Ausschaltprogramm / Störung - Beispiel",
         "Drucker Vorschau Ausschaltprogramm / Störung"}};
    for (const auto &[kind, named, unnamed] : captions) {
        EXPECT_EQ(previewChart(90, kind).WindowCaption, QString::fromUtf8(named));
        EXPECT_EQ(previewChart(90, kind, QString()).WindowCaption, QString::fromUtf8(unnamed));
    }
    EXPECT_EQ(PrintDocumentName(previewChart(90)), "Beispiel - Sollplan - Programm 1");
    EXPECT_EQ(PrintDocumentName(previewChart(90, DisplayMode::SwitchOffFault, QString())),
              "Ausschaltprogramm - Störung - Programm 1");
}

}  // namespace
