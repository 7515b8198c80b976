// The run primitives on paper, where lines are widened to 0.2 mm, and texts
// that must not run into the next column: pixels drawn on an image.

#include "guiapp.h"

#include "data/textfield.h"
#include "render/pagecomposer.h"
#include "render/plancanvas.h"
#include "render/signalstate.h"

#include <QImage>
#include <QPainter>
#include <utility>
#include <gtest/gtest.h>

namespace {
const PlanMetrics kPaper = PlanMetrics::ForPrinter(7016, 600);  // A4 landscape
constexpr int kTop = 50, kLeft = 100;

QImage drawRun(int32_t code, int width, bool colour)
{
    QImage image(400, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PlanCanvas canvas(painter, kPaper, colour);
    canvas.RowTop = kTop;
    canvas.PenX = kLeft;
    canvas.NewRow = true;
    canvas.DrawRun(code, kLeft + width, 0);
    return image;
}

// Lengths of the black runs along a column.
QList<int> blackRuns(const QImage &image, int x)
{
    QList<int> runs;
    for (int y = 0, run = 0; y <= image.height(); ++y) {
        if (y < image.height() && image.pixelColor(x, y) == PlanColour::Ink)
            ++run;
        else if (run)
            runs << std::exchange(run, 0);
    }
    return runs;
}
}  // namespace

TEST(PaperLines, FillsLeaveTheWidenedLinesWhole)
{
    ASSERT_EQ(kPaper.LineWidth, 5);  // 0.2 mm at 600 dpi
    const struct {
        int32_t code;
        int lines;  // across the bar
        QColor upper, lower;
    } cases[] = {{Green, 2, PlanColour::Green, PlanColour::Green},
                 {Red, 3, PlanColour::Red, PlanColour::Red},
                 {RedFlashing, 3, PlanColour::Red, PlanColour::Yellow}};
    for (const auto &c : cases) {
        const QImage image = drawRun(c.code, 200, true);
        const int x = kLeft + 12, h = kPaper.BarHeight;  // between two hatch lines
        EXPECT_EQ(blackRuns(image, x), QList<int>(c.lines, kPaper.LineWidth)) << c.code;
        EXPECT_EQ(image.pixelColor(x, kTop + kPaper.LineWidth / 2 + 1), c.upper) << c.code;
        EXPECT_EQ(image.pixelColor(x, kTop + h - kPaper.LineWidth / 2 - 1), c.lower) << c.code;
    }
}

TEST(PaperLines, ARunNarrowerThanALineStillDrawsItsBox)
{
    const QImage image = drawRun(Green, kPaper.LineWidth - 2, true);
    const int h = kPaper.BarHeight;
    for (int x = kLeft; x <= kLeft + kPaper.LineWidth - 2; ++x)
        EXPECT_EQ(blackRuns(image, x), QList<int>{h + kPaper.LineWidth}) << x;  // edges merged into a bar
}

TEST(PaperLines, RedWithExtraYellowDrawsAsRedYellow)
{
    for (bool colour : {true, false})
        EXPECT_EQ(drawRun(RedExtraYellow, 120, colour), drawRun(RedYellow, 120, colour)) << colour;
}

// Ten capitals, the widest a name can be, on the preview and on paper at 150 dpi.
TEST(ColumnTexts, AWideNameEndsBeforeTheNextColumn)
{
    InstallationData d;
    d.Header.GroupCount = 3;
    d.Header.FixedTimeMode = 1;
    d.Programs[0].CycleTime = 10;
    for (GroupName &name : d.GroupNames)
        TextToField10(QStringLiteral("WWWWWWWWWW"), name);
    ChartData chart;
    ASSERT_TRUE(OpenTargetChart(chart, d, 1, DisplayMode::TargetPlan, QString(), nullptr));
    constexpr int kDpi = 150;
    for (const PlanMetrics &m : {PlanMetrics::ForPreview(771), PlanMetrics::ForPrinter(1754, kDpi)}) {
        QImage page(m.Width, m.Width * 3 / 4, QImage::Format_RGB32);
        if (m.isPrinter()) {  // text in points as large as on paper
            page.setDotsPerMeterX(qRound(kDpi / 0.0254));
            page.setDotsPerMeterY(page.dotsPerMeterX());
        }
        {
            QPainter painter(&page);
            PlanCanvas canvas(painter, m, true);
            DrawChartPage(chart, canvas, PageView{});
        }
        // Group number, "B" and name columns, then the next column ("Rot Üb.").
        const int nameX = m.LeftMargin + m.permille(275) + m.permille(60);
        const int nextX = nameX + m.permille(100);
        const int top = m.isPrinter() ? m.LeftMargin + 5 * m.LineStep() : m.LeftMargin + 2 * m.LineStep();
        int inkRight = 0;
        for (int y = top; y < top + m.LineStep(); ++y)
            for (int x = nameX; x < nextX + m.permille(20); ++x)
                if (qGray(page.pixel(x, y)) < 128)
                    inkRight = std::max(inkRight, x);
        EXPECT_GT(inkRight, nameX + m.permille(50)) << m.Width;  // the name is there
        EXPECT_LT(inkRight, nextX) << m.Width;
    }
}
