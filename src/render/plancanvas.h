#pragma once
// The drawing surface of every chart: a QPainter on a preview bitmap or a
// printer page, the metric set of that target and the run primitives that
// draw one run of equal signal state of one group bar.
//
// Preview and printer share every drawing rule; the only difference is the
// colour rule: the preview always fills, a printed page fills only when
// colour printing is on and otherwise keeps to outlines and hatching.

#include "render/planmetrics.h"

#include <QColor>
#include <QPoint>
#include <QString>
#include <QLine>
#include <QRect>
#include <climits>
#include <cstdint>
#include <vector>

class QPainter;
class QPen;

namespace PlanColour {
const QColor Red(255, 0, 0);
const QColor Green(0, 255, 0);
const QColor Yellow(255, 255, 0);
const QColor Background(255, 255, 255);
const QColor Ink(0, 0, 0);
const QColor ExtensionPoint(0, 0, 255);  // also the detector ticks
const QColor WaitPoint(128, 0, 128);
const QColor Deviation(139, 0, 139);  // no state is drawn in it
}  // namespace PlanColour

// Chart text, and the larger text of the printed page header and footer.
enum class TextSize { Chart, Page };

class PlanCanvas {
public:
    PlanCanvas(QPainter &painter, const PlanMetrics &metrics, bool colourFills);
    ~PlanCanvas();
    PlanCanvas(const PlanCanvas &) = delete;
    PlanCanvas &operator=(const PlanCanvas &) = delete;

    const PlanMetrics &metrics() const { return metrics_; }
    QPainter &painter() { return painter_; }

    // Working cursors, reset by the renderer at the start of every page.
    int PenX = 0;
    int RowTop = 0;
    // Shared drawing state of the run primitives.
    int32_t CurrentState = 0;
    bool NewRow = false;  // the next box also draws its left edge
    // Actual runs only: dark runs of the groups from this index on (never
    // group 0) are drawn as "group not active". Target charts leave it off.
    int InactiveFromGroup = INT_MAX;

    // Fills the whole target white and selects the chart font.
    void ClearPage();

    // Draws a run of `code` from PenX to x1 in the band RowTop .. RowTop +
    // BarHeight and leaves PenX at x1. A code outside 0..9 draws nothing and
    // leaves the pen where it was.
    void DrawRun(int32_t code, int x1, int groupIndex);

    // Text with its top-left corner at (x, y).
    void TextOut(int x, int y, const QString &text);
    int TextWidth(const QString &text) const;
    // Text at (x, y) that stays two blanks' width clear of nextColumnX (the
    // next column's position or the page edge): shortened with "…" where it
    // would run into it.
    void TextOutBefore(int x, int y, const QString &text, int nextColumnX);
    // As TextOutBefore, but a text too wide is first tried in narrower sizes
    // of the font (90 %, then 80 %) and shortened only at the narrowest.
    void NarrowedTextOutBefore(int x, int y, const QString &text, int nextColumnX);
    void SetBold(bool on);
    void SetTextSize(TextSize size);

    void Line(int x0, int y0, int x1, int y1);
    void SetPenColour(const QColor &colour);
    // Lines and fills are collected and painted in batches (all fills, then
    // the lines over them): a page has thousands of them. Everything else
    // the canvas draws flushes first, and so does the end of the canvas.
    void Flush();
    // A filled red triangle, the measuring-point mark.
    void DrawRedTriangle(QPoint a, QPoint b, QPoint c);

    // Markers on the bar at RowTop (x is the marker's second).
    void DrawExtensionPoint(int x, bool ownerArrow);
    void DrawWaitPoint(int x, bool ownerArrow);
    void DrawDetectorTick(int x);
    // A thin solid band under the bar and its detector ticks, x0 .. x1: the
    // seconds a run differs from its plan (black on paper without colour).
    void DrawDeviationBand(int x0, int x1);

private:
    void DrawStateBox(int x1);
    void DrawSplitBox(int x1);
    void DrawDark(int x1, int groupIndex);
    void DrawRisingDiagonal(int x1, int yTop);
    void DrawHatch(int x1, int hatchCount, int yTop);
    // Fills the inside of the box whose lines run along x0, y0, x1 and y1.
    void FillInside(int x0, int y0, int x1, int y1, const QColor &colour);
    QPen pen(const QColor &colour) const;

    struct PendingFill {
        QColor colour;
        std::vector<QRect> rects;
    };

    QPainter &painter_;
    PlanMetrics metrics_;
    bool colourFills_;
    QColor penColour_;
    std::vector<QLine> lines_;
    PendingFill fills_[3];  // red, green, yellow
};
