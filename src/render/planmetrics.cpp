#include "render/planmetrics.h"

#include <algorithm>
#include <cmath>

namespace {
PlanMetrics makeMetrics(CanvasVariant variant, int width, int barDivisor)
{
    PlanMetrics m;
    m.Variant = variant;
    m.Width = std::max(width, 0);
    m.LeftMargin = m.Width / 30;
    m.BarHeight = std::max(m.Width / barDivisor, 1);
    m.SpanWidth = m.Width - 6 * m.LeftMargin;
    return m;
}
}  // namespace

PlanMetrics PlanMetrics::ForPreview(int width)
{
    return makeMetrics(CanvasVariant::Preview, width, 60);
}

PlanMetrics PlanMetrics::ForPrinter(int width, int dotsPerInch)
{
    PlanMetrics m = makeMetrics(CanvasVariant::Printer, width, 100);
    constexpr double kMinLineMm = 0.2, kMmPerInch = 25.4;
    m.LineWidth = std::max(1, int(std::ceil(kMinLineMm * dotsPerInch / kMmPerInch)));
    return m;
}
