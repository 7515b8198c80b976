#include "preview/previewzoom.h"

#include "render/chartexport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace {
constexpr std::array<int, 10> kZoomSteps{50, 67, 80, 100, 125, 150, 200, 250, 300, 400};
// The preview's original client width, whose scroll area showed 771 pixels.
constexpr int kClassicScrollWidth = 792;
// About 256 MB of image: 400 % of a full-HD width still fits.
constexpr int64_t kMaxDevicePixels = 64LL * 1024 * 1024;
}  // namespace

int ZoomedIn(int percent)
{
    const auto *next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), percent);
    return next == kZoomSteps.end() ? kZoomMax : *next;
}

int ZoomedOut(int percent)
{
    const auto *next = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), percent);
    return next == kZoomSteps.begin() ? kZoomMin : *(next - 1);
}

PreviewImageSize PreviewImageSizeFor(int scrollWidth, int zoomPercent, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1;
    const int fit = std::max(1, scrollWidth - (kClassicScrollWidth - kPreviewImageWidth));
    const int zoom = std::clamp(zoomPercent, kZoomMin, kZoomMax);
    const auto heightOf = [](int64_t width) { return width * kPreviewImageHeight / kPreviewImageWidth; };
    int64_t width = std::max<int64_t>(1, std::llround(qreal(fit) * zoom / 100 * ratio));
    if (width * heightOf(width) > kMaxDevicePixels)
        width = int64_t(std::sqrt(double(kMaxDevicePixels) * kPreviewImageWidth / kPreviewImageHeight));
    PreviewImageSize size;
    size.ratio = ratio;
    size.device = QSize(int(width), std::max(1, int(heightOf(width))));
    return size;
}

int TakeWheelNotches(int &turned, int angle)
{
    constexpr int kNotch = 120;  // one notch of a mouse wheel
    turned += angle;
    const int notches = turned / kNotch;
    turned -= notches * kNotch;
    return notches;
}
