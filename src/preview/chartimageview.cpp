#include "preview/chartimageview.h"

#include <QPaintEvent>
#include <QPainter>

ChartImageView::ChartImageView(const QImage &image, QWidget *parent) : QWidget(parent), image_(image)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartImageView::imageChanged(qreal ratio)
{
    ratio_ = ratio;
    setFixedSize((QSizeF(image_.size()) / ratio_).toSize());
    update();
}

void ChartImageView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(image_.size()) / ratio_), image_);
}
