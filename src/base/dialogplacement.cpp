#include "base/dialogplacement.h"

#include <QDialog>
#include <QEvent>
#include <QScreen>
#include <algorithm>

namespace {
// Before a window is mapped its frame is unknown; the owner's frame is the
// best guess, else a title bar of a usual height.
QMargins frameOf(const QWidget *owner)
{
    if (owner) {
        const QRect outer = owner->frameGeometry(), inner = owner->geometry();
        const QMargins m(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
        if (m.top() > 0)
            return m;
    }
    return QMargins(4, 28, 4, 4);
}
}  // namespace

QPoint PlacedOver(const QRect &owner, const QSize &size, const QMargins &frame, const QRect &available)
{
    const QSize outer = size.grownBy(frame);
    QPoint topLeft = owner.center() - QPoint(outer.width() / 2, outer.height() / 2);
    topLeft.setX(std::max(available.left(), std::min(topLeft.x(), available.right() + 1 - outer.width())));
    topLeft.setY(std::max(available.top(), std::min(topLeft.y(), available.bottom() + 1 - outer.height())));
    return topLeft;
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
    // A window's position is that of its frame.
    dialog->move(PlacedOver(onScreen ? available : owner->frameGeometry(), dialog->size(), frameOf(owner), available));
    return false;
}
