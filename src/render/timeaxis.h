#pragma once
// Where the labels and ticks of a chart page's time axis stand. Pure
// arithmetic, so the positions can be checked to the pixel.

#include <vector>

struct TickSteps {
    int TickStep = 10;           // seconds between labelled ticks
    int TickCount = 0;           // number of labels
    bool TickRemainder = false;  // the span is not a multiple of TickStep
};

// Labels every 10 seconds, coarsened to 20, 50 and 100 until at most 16 fit.
TickSteps SetTickStep(int span);

struct AxisLabel {
    int Offset;  // seconds after the page's first second
    int X;
};

struct MinorTick {
    int X;
    bool Long;  // every fifth minor tick is longer
};

struct AxisTicks {
    std::vector<AxisLabel> Labels;
    std::vector<MinorTick> Minor;
};

// Positions for an axis of `span` seconds drawn from x0 over spanWidth pixels.
AxisTicks AxisTickPositions(const TickSteps &steps, int span, int x0, int spanWidth);
