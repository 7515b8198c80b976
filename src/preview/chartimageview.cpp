#include "preview/chartimageview.h"

#include <QPaintEvent>
#include <QPainter>

ChartImageView::ChartImageView(const QImage &image, QWidget *parent) : QWidget(parent), image_(image)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartImageView::imageChanged()
{
    setFixedSize(image_.deviceIndependentSize().toSize());
    update();
}

void ChartImageView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.drawImage(QPoint(0, 0), image_);
}
