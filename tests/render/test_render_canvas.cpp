#include "guiapp.h"

#include "render/plancanvas.h"
#include "render/signalstate.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <functional>

namespace {
// Preview of width 600: m 20, h 10. One run from x 100 to 400 on the bar at y 20.
constexpr int kX0 = 100, kX1 = 400, kTop = 20, kH = 10;

struct Drawing {
    QImage image{600, 60, QImage::Format_RGB32};
    int penAfter = 0;
};

Drawing draw(const std::function<void(PlanCanvas &)> &paint, bool printer = false, bool colour = true)
{
    Drawing d;
    d.image.fill(Qt::white);
    QPainter painter(&d.image);
    // Both variants have h = 10 here: preview 600 / 60, printer 1000 / 100.
    PlanCanvas canvas(painter, printer ? PlanMetrics::ForPrinter(1000) : PlanMetrics::ForPreview(600), colour);
    canvas.RowTop = kTop;
    canvas.PenX = kX0;
    canvas.NewRow = true;
    paint(canvas);
    d.penAfter = canvas.PenX;
    return d;
}

Drawing run(int32_t code, bool printer = false, bool colour = true, int group = 0)
{
    return draw([&](PlanCanvas &c) { c.DrawRun(code, kX1, group); }, printer, colour);
}

QColor at(const Drawing &d, int x, int y)
{
    return d.image.pixelColor(x, y);
}

int blackInRow(const Drawing &d, int y, int from, int to)
{
    int n = 0;
    for (int x = from; x <= to; ++x)
        n += at(d, x, y) == Qt::black;
    return n;
}

const QColor kRed(255, 0, 0), kGreen(0, 255, 0), kYellow(255, 255, 0), kWhite(Qt::white),
    kBlack(Qt::black), kBlue(0, 0, 255), kPurple(128, 0, 128);
}  // namespace

TEST(PlanCanvas, FillsPerState)
{
    // Probes at x 131 lie off every diagonal and hatch line of a 300-pixel run.
    struct Expect {
        int32_t code;
        QColor upper, lower;
    } const cases[] = {
        {Dark, kWhite, kWhite},        {Red, kRed, kRed},
        {Green, kGreen, kGreen},       {RedYellow, kRed, kYellow},
        {Yellow, kYellow, kYellow},    {Flashing, kYellow, kYellow},
        {RedExtraYellow, kRed, kYellow}, {RedFlashing, kRed, kYellow},
        {GreenYellow, kGreen, kYellow}, {GreenFlashing, kGreen, kYellow},
    };
    for (const Expect &e : cases) {
        const Drawing d = run(e.code);
        EXPECT_EQ(at(d, 131, kTop + 2), e.upper) << "code " << e.code;
        EXPECT_EQ(at(d, 131, kTop + 7), e.lower) << "code " << e.code;
        // The outline stays visible around the fills.
        EXPECT_EQ(at(d, 131, kTop), kBlack) << "code " << e.code;
        EXPECT_EQ(at(d, 131, kTop + kH), kBlack) << "code " << e.code;
        EXPECT_EQ(at(d, kX1, kTop + 2), kBlack) << "code " << e.code;
        EXPECT_EQ(d.penAfter, kX1);
    }
    // The split states carry a middle line; the plain ones do not.
    for (int32_t code : {Red, RedYellow, RedExtraYellow, RedFlashing, GreenYellow, GreenFlashing})
        EXPECT_EQ(at(run(code), 131, kTop + kH / 2), kBlack) << "code " << code;
    EXPECT_EQ(at(run(Green), 131, kTop + kH / 2), kGreen);
    EXPECT_EQ(at(run(Yellow), 131, kTop + kH / 2), kYellow);
}

TEST(PlanCanvas, LeftEdgeOnlyAtTheStartOfABar)
{
    const Drawing twoRuns = draw([](PlanCanvas &c) {
        c.DrawRun(Green, 250, 0);
        c.DrawRun(Red, kX1, 0);
    });
    EXPECT_EQ(at(twoRuns, kX0, kTop + 3), kBlack);     // the bar's own start
    EXPECT_EQ(at(twoRuns, 250, kTop + 3), kBlack);     // the earlier run's right edge
    EXPECT_EQ(at(twoRuns, 251, kTop + 3), kRed);       // no edge of the second run's own
    EXPECT_EQ(at(twoRuns, kX1, kTop + 3), kBlack);

    const Drawing continued = draw([](PlanCanvas &c) {
        c.NewRow = false;
        c.DrawRun(Green, kX1, 0);
    });
    EXPECT_EQ(at(continued, kX0, kTop + 3), kWhite);
}

TEST(PlanCanvas, CodesThreeAndSixAreIdenticalAndUnknownCodesDrawNothing)
{
    EXPECT_EQ(run(RedYellow).image, run(RedExtraYellow).image);
    EXPECT_EQ(run(RedYellow, true, false).image, run(RedExtraYellow, true, false).image);

    QImage blank(600, 60, QImage::Format_RGB32);
    blank.fill(Qt::white);
    for (int32_t code : {10, 11, 255, -1}) {
        const Drawing d = run(code);
        EXPECT_EQ(d.image, blank) << "code " << code;
        EXPECT_EQ(d.penAfter, kX0) << "code " << code;
    }
}

TEST(PlanCanvas, HatchLinesAboutAThirdOfTheBarHeightApart)
{
    // n = (300 * 3) / 10 = 90 lines, the last on the right edge.
    EXPECT_EQ(blackInRow(run(Flashing), kTop + 3, kX0 + 1, kX1), 90);
    EXPECT_EQ(blackInRow(run(Flashing), kTop + 8, kX0 + 1, kX1), 90);
    // The red+flashing and green+flashing hatch fills the lower half only.
    for (int32_t code : {RedFlashing, GreenFlashing}) {
        EXPECT_EQ(blackInRow(run(code), kTop + 3, kX0 + 1, kX1), 1) << code;  // right edge only
        EXPECT_EQ(blackInRow(run(code), kTop + 8, kX0 + 1, kX1), 90) << code;
    }
    // A run narrower than a third of the bar height gets no hatch.
    const Drawing narrow = draw([](PlanCanvas &c) { c.DrawRun(Flashing, kX0 + 3, 0); });
    EXPECT_EQ(blackInRow(narrow, kTop + 3, kX0 + 1, kX0 + 2), 0);
    // A run of zero width draws its edges and no hatch, and does not crash.
    const Drawing empty = draw([](PlanCanvas &c) { c.DrawRun(Flashing, kX0, 0); });
    EXPECT_EQ(at(empty, kX0, kTop + 3), kBlack);
    EXPECT_EQ(at(empty, kX0 + 1, kTop + 3), kWhite);
    EXPECT_EQ(empty.penAfter, kX0);
}

TEST(PlanCanvas, BlackAndWhitePrintKeepsOutlinesOnly)
{
    const Drawing red = run(Red, true, false);
    EXPECT_EQ(at(red, 131, kTop + 2), kWhite);
    EXPECT_EQ(at(red, 131, kTop + kH / 2), kBlack);  // middle line
    const Drawing green = run(Green, true, false);
    EXPECT_EQ(at(green, 131, kTop + 2), kWhite);
    EXPECT_EQ(at(green, 131, kTop + kH / 2), kWhite);
    EXPECT_EQ(at(green, 131, kTop), kBlack);
    const Drawing yellow = run(Yellow, true, false);
    EXPECT_EQ(at(yellow, 131, kTop + 2), kWhite);
    EXPECT_EQ(at(yellow, kX0 + 30, kTop + kH - 1), kBlack);  // the rising diagonal
    EXPECT_EQ(blackInRow(run(Flashing, true, false), kTop + 3, kX0 + 1, kX1), 90);

    // With colour the same outlines, filled inside.
    const Drawing colourRed = run(Red, true, true);
    EXPECT_EQ(at(colourRed, 131, kTop + 2), kRed);
    EXPECT_EQ(at(colourRed, 131, kTop + kH / 2), kBlack);
    const Drawing colourYellow = run(Yellow, true, true);
    EXPECT_EQ(at(colourYellow, kX0 + 30, kTop + kH - 1), kBlack);  // diagonal over the fill
    for (int y = kTop; y <= kTop + kH; ++y) {
        EXPECT_EQ(at(colourRed, kX0, y), kBlack);
        EXPECT_EQ(at(colourRed, kX1, y), kBlack);
    }
}

TEST(PlanCanvas, DarkRunsAndInactiveGroups)
{
    const Drawing box = run(Dark);
    EXPECT_EQ(at(box, 131, kTop), kBlack);
    EXPECT_EQ(at(box, kX0 + 150, kTop + kH / 2), kBlack);  // the diagonals cross in the middle

    // Actual run with 3 groups in the header: group index 3 and above show "not active".
    const auto inactive = [](int group) {
        return draw([group](PlanCanvas &c) {
            c.InactiveFromGroup = 3;
            c.DrawRun(Dark, kX1, group);
        });
    };
    const Drawing symbol = inactive(3);
    EXPECT_EQ(at(symbol, 131, kTop), kWhite);  // no box
    EXPECT_EQ(at(symbol, 131, kTop + 4), kBlack);
    EXPECT_EQ(at(symbol, 131, kTop + 6), kBlack);
    EXPECT_EQ(at(symbol, 131, kTop + 5), kWhite);
    EXPECT_EQ(at(inactive(2), 131, kTop), kBlack);
    // Group 1 always shows its dark box.
    const Drawing first = draw([](PlanCanvas &c) {
        c.InactiveFromGroup = 0;
        c.DrawRun(Dark, kX1, 0);
    });
    EXPECT_EQ(at(first, 131, kTop), kBlack);
}

TEST(PlanCanvas, MarkersAndArrowHeads)
{
    const Drawing ext = draw([](PlanCanvas &c) {
        c.DrawExtensionPoint(200, true);
        c.DrawWaitPoint(300, true);
        c.DrawDetectorTick(350);
        c.DrawExtensionPoint(500, false);
    });
    for (int y = kTop - kH; y <= kTop + 3 * kH; ++y) {
        EXPECT_EQ(at(ext, 200, y), kBlue) << y;
        EXPECT_EQ(at(ext, 300, y), kPurple) << y;
    }
    EXPECT_EQ(at(ext, 200, kTop - kH - 1), kWhite);
    EXPECT_EQ(at(ext, 198, kTop - 5), kBlue);  // arrow head from (x - h/4, y - h/2)
    EXPECT_EQ(at(ext, 202, kTop - 5), kBlue);
    EXPECT_EQ(at(ext, 298, kTop + 15), kPurple);  // from (x - h/4, y + 3h/2) up to the bottom edge
    EXPECT_EQ(at(ext, 498, kTop - 5), kWhite);    // not the owner: no arrow head
    EXPECT_EQ(at(ext, 350, kTop + kH + 2), kBlue);
    EXPECT_EQ(at(ext, 350, kTop + kH - 1), kWhite);
}
