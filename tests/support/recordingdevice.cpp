#include "recordingdevice.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>
#include <climits>
#include <cmath>

namespace {
QString num(qreal v)
{
    return v == std::floor(v) && std::abs(v) < 1e9 ? QString::number(qint64(v)) : QString::number(v, 'f', 2);
}
QString point(const QPointF &p) { return num(p.x()) + QLatin1Char(',') + num(p.y()); }
QString rect(const QRectF &r)
{
    return QStringLiteral("%1 %2x%3").arg(point(r.topLeft()), num(r.width()), num(r.height()));
}
QString colour(const QColor &c) { return c.name(c.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb); }
}  // namespace

class RecordingEngine : public QPaintEngine {
public:
    // Every feature: QPainter then emulates nothing and hands each call on as made.
    RecordingEngine() : QPaintEngine(AllFeatures) {}
    QStringList lines;

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState &s) override
    {
        const QPen pen = s.pen();
        const QBrush brush = s.brush();
        if (s.state() & DirtyPen)
            pen_ = pen.style() == Qt::NoPen
                       ? QStringLiteral("nopen")
                       : QStringLiteral("pen %1 w%2").arg(colour(pen.color()), num(pen.widthF()));
        if (s.state() & DirtyBrush)
            brush_ = brush.style() == Qt::NoBrush
                         ? QStringLiteral("nobrush")
                         : QStringLiteral("brush %1 style%2").arg(colour(brush.color())).arg(brush.style());
        if (s.state() & DirtyFont)
            font_ = s.font();
    }

    void drawLines(const QLineF *l, int n) override
    {
        for (int i = 0; i < n; ++i)
            add(QStringLiteral("line %1 %2").arg(point(l[i].p1()), point(l[i].p2())), pen_);
    }
    void drawRects(const QRectF *r, int n) override
    {
        for (int i = 0; i < n; ++i)
            add(QStringLiteral("rect ") + rect(r[i]), fill());
    }
    void drawPolygon(const QPointF *p, int n, PolygonDrawMode mode) override
    {
        QString what = mode == PolylineMode ? QStringLiteral("polyline") : QStringLiteral("polygon");
        for (int i = 0; i < n; ++i)
            what += QLatin1Char(' ') + point(p[i]);
        add(what, mode == PolylineMode ? pen_ : fill());
    }
    void drawPoints(const QPointF *p, int n) override
    {
        for (int i = 0; i < n; ++i)
            add(QStringLiteral("point ") + point(p[i]), pen_);
    }
    void drawPath(const QPainterPath &path) override
    {
        add(QStringLiteral("path %1 elements %2").arg(rect(path.boundingRect())).arg(path.elementCount()),
            fill());
    }
    void drawEllipse(const QRectF &r) override { add(QStringLiteral("ellipse ") + rect(r), fill()); }
    void drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &) override { image(r, pm.size()); }
    void drawImage(const QRectF &r, const QImage &im, const QRectF &, Qt::ImageConversionFlags) override
    {
        image(r, im.size());
    }
    void drawTextItem(const QPointF &p, const QTextItem &t) override
    {
        const QString size = font_.pixelSize() > 0 ? QStringLiteral("px %1").arg(font_.pixelSize())
                                                   : QStringLiteral("pt ") + num(font_.pointSizeF());
        const QString bold = font_.bold() ? QStringLiteral(" bold") : QString();
        add(QStringLiteral("text %1 \"%2\" %3%4").arg(point(p), t.text(), size, bold), pen_);
    }

private:
    void add(const QString &what, const QString &style) { lines << what + QLatin1Char(' ') + style; }
    void image(const QRectF &r, QSize s)
    {
        add(QStringLiteral("image ") + rect(r), QStringLiteral("of %1x%2").arg(s.width()).arg(s.height()));
    }
    QString fill() const { return pen_ + QLatin1Char(' ') + brush_; }

    QString pen_ = QStringLiteral("nopen"), brush_ = QStringLiteral("nobrush");
    QFont font_;
};

RecordingDevice::RecordingDevice(int width, int height, int dpi)
    : width_(width), height_(height), dpi_(dpi), engine_(std::make_unique<RecordingEngine>())
{
}
RecordingDevice::~RecordingDevice() = default;
QPaintEngine *RecordingDevice::paintEngine() const { return engine_.get(); }
const QStringList &RecordingDevice::lines() const { return engine_->lines; }

int RecordingDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return width_;
    case PdmHeight: return height_;
    case PdmWidthMM: return int(width_ * 25.4 / dpi_);
    case PdmHeightMM: return int(height_ * 25.4 / dpi_);
    case PdmDepth: return 32;
    case PdmNumColors: return INT_MAX;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    default: return dpi_;  // logical and physical, both directions
    }
}
