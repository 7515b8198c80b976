#include "base/dialogplacement.h"

#include <QDialog>
#include <QEvent>
#include <QScreen>
#include <algorithm>

namespace {
QMargins mappedFrame(const QWidget *window)
{
    if (!window)
        return QMargins();
    const QRect outer = window->frameGeometry(), inner = window->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

// Keeps a rectangle of `size` starting at `topLeft` within `available`; a
// larger one keeps its top-left corner on it.
QPoint clamped(QPoint topLeft, const QSize &size, const QRect &available)
{
    topLeft.setX(std::max(available.left(), std::min(topLeft.x(), available.right() + 1 - size.width())));
    topLeft.setY(std::max(available.top(), std::min(topLeft.y(), available.bottom() + 1 - size.height())));
    return topLeft;
}
}  // namespace

QMargins WindowFrameOf(const QWidget *window, const QWidget *owner)
{
    // Before a window is mapped its frame is unknown; the owner's frame is
    // the best guess, else a title bar of a usual height.
    for (const QWidget *w : {window, owner}) {
        const QMargins m = mappedFrame(w);
        if (m.top() > 0)
            return m;
    }
    return QMargins(4, 28, 4, 4);
}

QPoint PlacedBeside(const QRect &owner, const QSize &outer, const QRect &keepClear, const QRect &available)
{
    const QRect room = available.adjusted(0, 0, 1, 1);  // right and bottom as past-the-end
    const int top = std::max(owner.top(), available.top());
    if (owner.right() + 1 + outer.width() <= room.right())
        return clamped(QPoint(owner.right() + 1, top), outer, available);
    if (owner.left() - outer.width() >= available.left())
        return clamped(QPoint(owner.left() - outer.width(), top), outer, available);
    if (owner.bottom() + 1 + outer.height() <= room.bottom())
        return clamped(QPoint(owner.left(), owner.bottom() + 1), outer, available);
    if (owner.top() - outer.height() >= available.top())
        return clamped(QPoint(owner.left(), owner.top() - outer.height()), outer, available);
    // Over the chart, above the buttons.
    const QPoint overChart(owner.right() + 1 - outer.width(), std::min(top, keepClear.top() - outer.height()));
    return clamped(overChart, outer, available);
}

void MoveFrameTo(QWidget *window, QPoint frameTopLeft, const QMargins &frame)
{
    // Until the window manager has framed a window, moving it places its
    // client area, not its frame: leave room for the title bar.
    if (window->frameGeometry() == window->geometry())
        frameTopLeft += QPoint(frame.left(), frame.top());
    window->move(frameTopLeft);
}

QPoint PlacedOver(const QRect &owner, const QSize &size, const QMargins &frame, const QRect &available)
{
    const QSize outer = size.grownBy(frame);
    return clamped(owner.center() - QPoint(outer.width() / 2, outer.height() / 2), outer, available);
}

bool DialogPlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show || event->spontaneous())
        return false;
    auto *dialog = qobject_cast<QDialog *>(watched);
    if (!dialog || !dialog->isWindow())
        return false;
    QWidget *owner = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr;
    QScreen *screen = owner ? owner->screen() : dialog->screen();
    if (!screen)
        return false;
    const QRect available = screen->availableGeometry();
    const bool onScreen = !owner || dialog->objectName() == QLatin1String("TFormLaden");
    const QMargins frame = WindowFrameOf(owner, nullptr);
    MoveFrameTo(dialog, PlacedOver(onScreen ? available : owner->frameGeometry(), dialog->size(), frame, available),
                frame);
    return false;
}
