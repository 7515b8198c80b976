#pragma once
// The metric set of a drawing target. Every length of a chart follows from
// the target's width by integer division, so screen and paper keep the same
// proportions.

#include <cstdint>

enum class CanvasVariant { Preview, Printer };

struct PlanMetrics {
    CanvasVariant Variant = CanvasVariant::Preview;
    int Width = 0;       // W (preview bitmap) or P (printer page)
    int LeftMargin = 0;  // m
    int BarHeight = 0;   // h
    int SpanWidth = 0;   // pixels for 100 seconds
    // Width of every line: one pixel on the screen, at least 0.2 mm on paper,
    // where a one-dot line all but vanishes.
    int LineWidth = 1;

    // Targets narrower than 60 (preview) or 100 (printer) pixels would give a
    // bar height of 0 and an undefined hatch count; the bar height is clamped to 1.
    static PlanMetrics ForPreview(int width);
    static PlanMetrics ForPrinter(int width, int dotsPerInch);

    bool isPrinter() const { return Variant == CanvasVariant::Printer; }

    // Where a line of LineWidth centred on a coordinate leaves room for a fill:
    // the first pixel after it, and the end (exclusive) before it.
    int AfterLine(int at) const { return at + (LineWidth + 1) / 2; }
    int BeforeLine(int at) const { return at - LineWidth / 2; }

    // k thousandths of the width.
    int permille(int k) const { return int(int64_t(Width) * k / 1000); }
    // L: text line step of the overview page.
    int LineStep() const { return isPrinter() ? Width / 50 : Width / 40; }
    // R: pitch of the group rows of a chart page.
    int RowPitch() const { return isPrinter() ? Width / 46 : Width / 25; }
    // Line step used by the time axes (the printer uses P/60 there).
    int AxisLineStep() const { return isPrinter() ? Width / 60 : Width / 40; }

    // x0: left edge of the chart area.
    int ChartLeft() const { return 5 * LeftMargin; }
    // x of a second that lies `offset` seconds after the page's first second.
    int SecondX(int64_t offset) const { return ChartLeft() + int(offset * SpanWidth / 100); }
};
