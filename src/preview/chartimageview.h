#pragma once
// The preview's chart image in its scroll area: paints the part of the
// window's image that is exposed, without a copy of the image per redraw.
// The image is drawn in device pixels; ratio device pixels make one pixel
// of the screen's coordinate system.

#include <QImage>
#include <QWidget>

class ChartImageView : public QWidget {
public:
    // image belongs to the preview window and outlives the view.
    ChartImageView(const QImage &image, QWidget *parent = nullptr);
    // The image was drawn anew, possibly in another size.
    void imageChanged(qreal ratio);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const QImage &image_;
    qreal ratio_ = 1;
};
