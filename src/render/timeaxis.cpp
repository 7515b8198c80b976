#include "render/timeaxis.h"

#include <algorithm>
#include <cstdint>

TickSteps SetTickStep(int span)
{
    TickSteps t;
    t.TickStep = 10;
    t.TickCount = span / t.TickStep + 1;
    while (t.TickCount > 16 && t.TickStep < 100) {
        t.TickStep = t.TickStep == 10 ? 20 : t.TickStep == 20 ? 50 : 100;
        t.TickCount = span / t.TickStep + 1;
    }
    t.TickRemainder = span % t.TickStep != 0;
    if (t.TickRemainder)
        ++t.TickCount;
    return t;
}

AxisTicks AxisTickPositions(const TickSteps &steps, int span, int x0, int spanWidth)
{
    AxisTicks ticks;
    if (span <= 0)
        return ticks;
    const auto xOf = [&](int offset) { return x0 + int(int64_t(spanWidth) * offset / span); };
    for (int i = 0; i < steps.TickCount; ++i) {
        const int offset = std::min(i * steps.TickStep, span);
        ticks.Labels.push_back({offset, xOf(offset)});
    }
    const int minorStep = std::max(steps.TickStep / 10, 1);
    for (int i = 1;; ++i) {
        const int x = xOf(i * minorStep);
        if (x >= x0 + spanWidth)
            break;
        ticks.Minor.push_back({x, i % 5 == 0});
    }
    return ticks;
}
