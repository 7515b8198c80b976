#include "render/plancanvas.h"

#include "render/signalstate.h"

#include <QFont>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygon>
#include <algorithm>

namespace {
// A close proportional sans face in place of the original screen font.
QFont planFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// Two blanks keep a text apart from the next column: one would read as a
// gap between words.
const QString kColumnGap = QStringLiteral("  ");

// Hatch lines are about a third of the bar height apart.
int hatchCount(int x0, int x1, int h)
{
    return int((int64_t(x1) - x0) * 3 / h);
}
}  // namespace

PlanCanvas::PlanCanvas(QPainter &painter, const PlanMetrics &metrics, bool colourFills)
    : painter_(painter), metrics_(metrics), colourFills_(colourFills), penColour_(PlanColour::Ink),
      fills_{{PlanColour::Red, {}}, {PlanColour::Green, {}}, {PlanColour::Yellow, {}}}
{
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setPen(pen(PlanColour::Ink));
    painter_.setBrush(PlanColour::Background);
    painter_.setFont(planFont());
    SetTextSize(TextSize::Chart);
}

PlanCanvas::~PlanCanvas()
{
    if (painter_.isActive())
        Flush();
}

QPen PlanCanvas::pen(const QColor &colour) const
{
    return QPen(colour, metrics_.LineWidth);
}

void PlanCanvas::Flush()
{
    bool filled = false;
    for (PendingFill &fill : fills_) {
        if (fill.rects.empty())
            continue;
        if (!filled)
            painter_.setPen(Qt::NoPen);
        filled = true;
        painter_.setBrush(fill.colour);
        painter_.drawRects(fill.rects.data(), int(fill.rects.size()));
        fill.rects.clear();
    }
    if (filled) {
        painter_.setBrush(PlanColour::Background);
        painter_.setPen(pen(penColour_));
    }
    if (!lines_.empty()) {
        painter_.drawLines(lines_.data(), int(lines_.size()));
        lines_.clear();
    }
}

void PlanCanvas::ClearPage()
{
    Flush();
    penColour_ = PlanColour::Ink;
    QPaintDevice *device = painter_.device();
    painter_.fillRect(0, 0, device->width(), device->height(), PlanColour::Background);
    painter_.setBrush(PlanColour::Background);
    painter_.setPen(pen(PlanColour::Ink));
    painter_.setFont(planFont());
    SetTextSize(TextSize::Chart);
}

void PlanCanvas::SetTextSize(TextSize size)
{
    QFont font = painter_.font();
    if (metrics_.isPrinter())
        font.setPointSize(size == TextSize::Page ? 10 : 8);
    else
        font.setPixelSize(std::max(metrics_.Width / 70, 1));
    painter_.setFont(font);
}

void PlanCanvas::SetBold(bool on)
{
    QFont font = painter_.font();
    font.setBold(on);
    painter_.setFont(font);
}

void PlanCanvas::TextOut(int x, int y, const QString &text)
{
    Flush();
    painter_.drawText(x, y + painter_.fontMetrics().ascent(), text);
}

int PlanCanvas::TextWidth(const QString &text) const
{
    return painter_.fontMetrics().horizontalAdvance(text);
}

void PlanCanvas::TextOutBefore(int x, int y, const QString &text, int nextColumnX)
{
    const QFontMetrics metrics = painter_.fontMetrics();
    const int room = nextColumnX - metrics.horizontalAdvance(kColumnGap) - x;
    TextOut(x, y, metrics.horizontalAdvance(text) <= room ? text : metrics.elidedText(text, Qt::ElideRight, room));
}

void PlanCanvas::NarrowedTextOutBefore(int x, int y, const QString &text, int nextColumnX)
{
    const QFont font = painter_.font();
    for (int percent : {90, 80}) {
        if (TextWidth(text + kColumnGap) <= nextColumnX - x)
            break;
        QFont narrower = font;
        if (font.pixelSize() > 0)
            narrower.setPixelSize(std::max(1, qRound(font.pixelSize() * percent / 100.0)));
        else
            narrower.setPointSizeF(font.pointSizeF() * percent / 100);
        painter_.setFont(narrower);
    }
    TextOutBefore(x, y, text, nextColumnX);
    painter_.setFont(font);
}

void PlanCanvas::Line(int x0, int y0, int x1, int y1)
{
    lines_.emplace_back(x0, y0, x1, y1);
}

void PlanCanvas::SetPenColour(const QColor &colour)
{
    if (colour == penColour_)
        return;
    Flush();
    penColour_ = colour;
    painter_.setPen(pen(colour));
}

void PlanCanvas::DrawRedTriangle(QPoint a, QPoint b, QPoint c)
{
    Flush();
    painter_.setPen(pen(PlanColour::Red));
    painter_.setBrush(PlanColour::Red);
    painter_.drawPolygon(QPolygon({a, b, c}));
    painter_.setBrush(PlanColour::Background);
    painter_.setPen(pen(penColour_));
}

void PlanCanvas::FillInside(int x0, int y0, int x1, int y1, const QColor &colour)
{
    // Between the lines at x0, y0, x1 and y1, so the outline stays visible.
    x0 = metrics_.AfterLine(x0);
    y0 = metrics_.AfterLine(y0);
    x1 = metrics_.BeforeLine(x1);
    y1 = metrics_.BeforeLine(y1);
    if (!colourFills_ || x1 <= x0 || y1 <= y0)
        return;
    for (PendingFill &fill : fills_)
        if (fill.colour == colour)
            fill.rects.emplace_back(x0, y0, x1 - x0, y1 - y0);
}

void PlanCanvas::DrawStateBox(int x1)
{
    const int x0 = PenX, y = RowTop, h = metrics_.BarHeight;
    Line(x0, y, x1, y);
    Line(x1, y, x1, y + h);
    Line(x1, y + h, x0, y + h);
    if (NewRow) {
        Line(x0, y + h, x0, y);
        NewRow = false;
    }
    if (CurrentState == Green)
        FillInside(x0, y, x1, y + h, PlanColour::Green);
    else if (CurrentState == Yellow || CurrentState == Flashing)
        FillInside(x0, y, x1, y + h, PlanColour::Yellow);
}

void PlanCanvas::DrawSplitBox(int x1)
{
    DrawStateBox(x1);
    const int x0 = PenX, y = RowTop, h = metrics_.BarHeight;
    Line(x0, y + h / 2, x1, y + h / 2);
    QColor upper, lower;
    switch (CurrentState) {
    case Red:
        upper = lower = PlanColour::Red;
        break;
    case RedYellow:
    case RedExtraYellow:
    case RedFlashing:
        upper = PlanColour::Red;
        lower = PlanColour::Yellow;
        break;
    case GreenYellow:
    case GreenFlashing:
        upper = PlanColour::Green;
        lower = PlanColour::Yellow;
        break;
    default:
        return;
    }
    FillInside(x0, y, x1, y + h / 2, upper);
    FillInside(x0, y + h / 2, x1, y + h, lower);
}

void PlanCanvas::DrawRisingDiagonal(int x1, int yTop)
{
    Line(PenX, RowTop + metrics_.BarHeight, x1, yTop);
}

void PlanCanvas::DrawHatch(int x1, int n, int yTop)
{
    const int x0 = PenX, yBottom = RowTop + metrics_.BarHeight;
    for (int i = 1; i <= n; ++i) {
        const int x = x0 + int((int64_t(x1) - x0) * i / n);
        Line(x, yTop, x, yBottom);
    }
}

void PlanCanvas::DrawDark(int x1, int groupIndex)
{
    const int x0 = PenX, y = RowTop, h = metrics_.BarHeight;
    if (groupIndex >= 1 && groupIndex >= InactiveFromGroup) {
        Line(x0, y + h * 4 / 10, x1, y + h * 4 / 10);
        Line(x0, y + h * 6 / 10, x1, y + h * 6 / 10);
        return;
    }
    DrawStateBox(x1);
    Line(x0, y + h, x1, y);
    Line(x0, y, x1, y + h);
}

void PlanCanvas::DrawRun(int32_t code, int x1, int groupIndex)
{
    if (code < 0 || code > kHighestSignalState)
        return;
    CurrentState = code;
    const int y = RowTop, h = metrics_.BarHeight;
    const int hatch = hatchCount(PenX, x1, h);
    switch (code) {
    case Dark:
        DrawDark(x1, groupIndex);
        break;
    case Red:
        DrawSplitBox(x1);
        break;
    case Green:
        DrawStateBox(x1);
        break;
    case RedYellow:
    case RedExtraYellow:
        DrawSplitBox(x1);
        DrawRisingDiagonal(x1, y);
        break;
    case Yellow:
        DrawStateBox(x1);
        DrawRisingDiagonal(x1, y);
        break;
    case Flashing:
        DrawStateBox(x1);
        DrawHatch(x1, hatch, y);
        break;
    case RedFlashing:
    case GreenFlashing:
        DrawSplitBox(x1);
        DrawHatch(x1, hatch, y + h / 2);
        break;
    case GreenYellow:
        DrawSplitBox(x1);
        DrawRisingDiagonal(x1, y + h / 2);
        break;
    }
    PenX = x1;
}

void PlanCanvas::DrawExtensionPoint(int x, bool ownerArrow)
{
    const int y = RowTop, h = metrics_.BarHeight;
    SetPenColour(PlanColour::ExtensionPoint);
    Line(x, y - h, x, y + 3 * h);
    if (ownerArrow) {
        Line(x - h / 4, y - h / 2, x, y);
        Line(x + h / 4, y - h / 2, x, y);
    }
    SetPenColour(PlanColour::Ink);
}

void PlanCanvas::DrawWaitPoint(int x, bool ownerArrow)
{
    const int y = RowTop, h = metrics_.BarHeight;
    SetPenColour(PlanColour::WaitPoint);
    Line(x, y - h, x, y + 3 * h);
    if (ownerArrow) {
        Line(x - h / 4, y + 3 * h / 2, x, y + h);
        Line(x + h / 4, y + 3 * h / 2, x, y + h);
    }
    SetPenColour(PlanColour::Ink);
}

void PlanCanvas::DrawDeviationBand(int x0, int x1)
{
    const int h = metrics_.BarHeight;
    Flush();
    painter_.fillRect(QRect(x0, RowTop + 8 * h / 5, x1 - x0, std::max(1, 3 * h / 10)),
                      colourFills_ ? PlanColour::Deviation : PlanColour::Ink);
}

void PlanCanvas::DrawDetectorTick(int x)
{
    const int y = RowTop, h = metrics_.BarHeight;
    SetPenColour(PlanColour::ExtensionPoint);
    Line(x, y + h, x, y + 3 * h / 2);
    SetPenColour(PlanColour::Ink);
}
