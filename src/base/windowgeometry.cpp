#include "base/windowgeometry.h"

#include <QStringList>
#include <algorithm>

namespace {
const QString kMaximised = QStringLiteral("max");
}  // namespace

QString WindowGeometryText(const WindowGeometry &geometry)
{
    const QRect &r = geometry.normal;
    QString text = QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    if (geometry.maximised)
        text += QLatin1Char(',') + kMaximised;
    return text;
}

std::optional<WindowGeometry> WindowGeometryFromText(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() < 4 || parts.size() > 5 || (parts.size() == 5 && parts[4] != kMaximised))
        return std::nullopt;
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (values[2] <= 0 || values[3] <= 0)
        return std::nullopt;
    return WindowGeometry{QRect(values[0], values[1], values[2], values[3]), parts.size() == 5};
}

QRect ClampedToScreen(const QRect &client, const QMargins &frame, const QSize &minimum, const QRect &available)
{
    const QRect room = available.marginsRemoved(frame);
    QRect placed(client.topLeft(), client.size().boundedTo(room.size()).expandedTo(minimum));
    placed.moveLeft(std::max(room.left(), std::min(placed.left(), room.right() + 1 - placed.width())));
    placed.moveTop(std::max(room.top(), std::min(placed.top(), room.bottom() + 1 - placed.height())));
    return placed;
}
