#pragma once
// Where dialogs and message boxes open: centred over the window they belong
// to, with their whole frame (title bar included) on the screen. Qt centres a
// dialog on its parent and leaves the rest to the window manager, which
// pushes a dialog that sticks out at the top to y = 0 and so hides its title
// bar. The load report ("TFormLaden") is centred on the screen.

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// The top-left corner of the frame of a dialog whose client area has `size`
// and whose frame adds `frame`: centred over `owner` (a frame rectangle) and
// clamped into `available`; a dialog larger than the screen keeps its
// top-left corner on it.
QPoint PlacedOver(const QRect &owner, const QSize &size, const QMargins &frame, const QRect &available);

// The top-left corner of the frame of a window that accompanies `owner` (a
// frame rectangle) and whose frame is `outer` large: beside the owner where
// `available` has room (right, then left), else below it, else above it. On
// a screen too small for all of these it lies over the owner's top right,
// clear of `keepClear` (the owner's buttons) as far as the screen allows.
// Always within `available` as far as it fits.
QPoint PlacedBeside(const QRect &owner, const QSize &outer, const QRect &keepClear, const QRect &available);

// The frame a window manager puts around `window`; before the window is
// mapped a guess from its owner, else a title bar of a usual height.
QMargins WindowFrameOf(const QWidget *window, const QWidget *owner);

// Moves `window` so that its frame, of margins `frame`, starts at `frameTopLeft`.
void MoveFrameTo(QWidget *window, QPoint frameTopLeft, const QMargins &frame);

// Installed on the application: places every dialog as it is shown.
class DialogPlacement : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override;
};
