#pragma once
// How large the preview draws its chart: the width that fits the scroll area,
// scaled by the zoom, drawn at the screen's device resolution. The metric set
// follows the drawn width, so any size gives the same chart.

#include <QSize>

constexpr int kZoomFit = 100;  // percent of the fitting width
constexpr int kZoomMin = 50, kZoomMax = 400;

// The next zoom step in or out, within kZoomMin … kZoomMax.
int ZoomedIn(int percent);
int ZoomedOut(int percent);

// Adds a wheel turn of `angle` (eighths of a degree) to `turned` and takes the
// whole notches out of it: positive away from the user, negative towards.
int TakeWheelNotches(int &turned, int angle);

struct PreviewImageSize {
    QSize device;   // pixels drawn: the metric set follows device.width()
    qreal ratio = 1;  // device pixels per logical pixel
};

// The image for a scroll area scrollWidth wide. At the initial window width
// the fitting image is the classic 771 pixels wide; the rest of the width is
// room for the vertical scroll bar. The image keeps the 771 x 1000
// proportions; a very large one is cut down to a size the memory takes.
PreviewImageSize PreviewImageSizeFor(int scrollWidth, int zoomPercent, qreal devicePixelRatio);
