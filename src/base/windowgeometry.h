#pragma once
// A window's place as the settings keep it, and its way back onto a screen
// that may have changed since: smaller, another arrangement, another monitor.

#include <QMargins>
#include <QRect>
#include <QString>
#include <optional>

struct WindowGeometry {
    QRect normal;  // the client area when not maximised
    bool maximised = false;
};

// "x,y,width,height", then ",max" when maximised.
QString WindowGeometryText(const WindowGeometry &geometry);
// Nothing for text that is not such a geometry (never saved, edited by hand).
std::optional<WindowGeometry> WindowGeometryFromText(const QString &text);

// The client rectangle shrunk to the screen, though not below minimum, and
// moved so that it and its frame lie within available.
QRect ClampedToScreen(const QRect &client, const QMargins &frame, const QSize &minimum, const QRect &available);
