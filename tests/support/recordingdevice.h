#pragma once
// A paint device that writes down every primitive QPainter hands it, one line
// of text each; coordinates are integers where integral, else two decimals.

#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>
#include <QStringList>
#include <climits>
#include <cmath>

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
        add(QStringLiteral("path %1 elements %2").arg(rect(path.boundingRect())).arg(path.elementCount()), fill());
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
    static QString num(qreal v)
    {
        return v == std::floor(v) && std::abs(v) < 1e9 ? QString::number(qint64(v)) : QString::number(v, 'f', 2);
    }
    static QString point(const QPointF &p) { return num(p.x()) + QLatin1Char(',') + num(p.y()); }
    static QString rect(const QRectF &r)
    {
        return QStringLiteral("%1 %2x%3").arg(point(r.topLeft()), num(r.width()), num(r.height()));
    }
    static QString colour(const QColor &c) { return c.name(c.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb); }
    void add(const QString &what, const QString &style) { lines << what + QLatin1Char(' ') + style; }
    void image(const QRectF &r, QSize s)
    {
        add(QStringLiteral("image ") + rect(r), QStringLiteral("of %1x%2").arg(s.width()).arg(s.height()));
    }
    QString fill() const { return pen_ + QLatin1Char(' ') + brush_; }

    QString pen_ = QStringLiteral("nopen"), brush_ = QStringLiteral("nobrush");
    QFont font_;
};

class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice(int width, int height, int dpi) : width_(width), height_(height), dpi_(dpi) {}
    QPaintEngine *paintEngine() const override { return &engine_; }
    const QStringList &lines() const { return engine_.lines; }

protected:
    int metric(PaintDeviceMetric metric) const override
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

private:
    int width_, height_, dpi_;
    mutable RecordingEngine engine_;
};
