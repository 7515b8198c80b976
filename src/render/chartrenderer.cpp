#include "render/chartrenderer.h"

#include "data/textfield.h"
#include "render/numberformats.h"
#include "render/pagecomposer.h"
#include "render/signalstate.h"
#include "render/targetstate.h"

#include <algorithm>

namespace {
struct ParameterRow {
    int line;
    const char *label;
    uint32_t SignalProgram::*field;
};

const ParameterRow kParameterRows[] = {
    {2, "Umlaufzeit", &SignalProgram::CycleTime},
    {4, "EZP", &SignalProgram::SwitchOnPoint},
    {5, "AZP", &SignalProgram::SwitchOffPoint},
    {6, "GSP", &SignalProgram::GroupStartPoint},
    {8, "SYN 1", &SignalProgram::DemandTime1},
    {9, "SYN 1 Verz.", &SignalProgram::DemandDelay1},
    {10, "SYN 1 Weiter", &SignalProgram::ContinueTime1},
    {12, "SYN 2", &SignalProgram::DemandTime2},
    {13, "SYN 2 Verz.", &SignalProgram::DemandDelay2},
    {14, "SYN 2 Weiter", &SignalProgram::ContinueTime2},
};

struct LegendEntry {
    int line;  // of the label; the bar stands on the line below
    int previewPermille;
    int printerPermille;
    SignalState state;
};

const LegendEntry kLegend[] = {
    {1, 180, 178, Red},
    {3, 175, 175, Yellow},
    {5, 175, 175, Green},
    {7, 165, 165, RedYellow},
    {9, 170, 170, Flashing},
    {11, 155, 160, RedFlashing},
    {13, 152, 157, GreenFlashing},
    {15, 160, 160, GreenYellow},
    {17, 170, 170, Dark},
};

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QString time3Pair(int32_t first, int32_t second)
{
    return FormatTime3(first) + QLatin1Char('/') + FormatTime3(second);
}
}  // namespace

ChartRenderer::ChartRenderer(const ChartData &chart, PlanCanvas &canvas, const PageView &view)
    : chart_(chart), canvas_(canvas), view_(view), m_(canvas.metrics()),
      ticks_(SetTickStep(kPageSpan))
{
    shift_ = chart_.TargetChartActive ? 0 : m_.permille(30);
    // Groups beyond the header's group count of an actual run are drawn as not active.
    canvas_.InactiveFromGroup =
        chart_.TargetChartActive ? INT_MAX : std::max(chart_.HeaderGroupCount, 1);
}

int ChartRenderer::x(int permille) const
{
    return m_.LeftMargin + m_.permille(permille);
}

int ChartRenderer::rightEdge() const
{
    return m_.Width;
}

QString ChartRenderer::groupLabel(int groupNumber) const
{
    const QString name = fieldText(chart_.GroupNames[groupNumber - 1]);
    if (!m_.isPrinter())
        return FormatGroupNumber(groupNumber) + name;
    QString label = QStringLiteral("Gruppe") + FormatSeconds(groupNumber);
    if (!name.isEmpty())
        label += QStringLiteral(",   ") + name;
    return label;
}

// ---------------------------------------------------------------- overview page

void ChartRenderer::DrawOverviewPage()
{
    const bool paper = m_.isPrinter();
    overviewStep_ = m_.LineStep();
    overviewTop_ = paper ? canvas_.RowTop + 3 * overviewStep_ : m_.LeftMargin;

    if (paper)
        canvas_.SetBold(true);
    drawOverviewHeadings(overviewTop_);
    if (paper)
        canvas_.SetBold(false);

    if (chart_.TargetChartActive || chart_.HeaderModeSet())
        drawParameters();
    drawLegend();
    drawSymbols();
    drawLocationBlock();
    drawGroupTable();
    if (chart_.Comparison)
        drawComparisonLine();
}

void ChartRenderer::drawOverviewHeadings(int y)
{
    const bool paper = m_.isPrinter();
    const int a = shift_;
    const int program = chart_.TargetChartActive ? chart_.ProgramNumber : chart_.StartProgram;
    struct Heading {
        int x;
        QString text;
    };
    QList<Heading> headings = {
        {x(0) + 2 * a, QStringLiteral("Programm")},
        {x(paper ? 90 : 95) + 2 * a, QLatin1Char(':') + FormatSeconds(program)},
        {x(185) + 3 * a, QStringLiteral("Legende:")},
        {x(paper ? 275 : 280) + 3 * a, QStringLiteral("Gruppe")},
        {x(335) + 4 * a, QStringLiteral("Bezeichnung")},
        {x(422) + 5 * a, text("Rot Üb.")},
    };
    if (chart_.TargetChartActive) {
        headings += {{x(paper ? 490 : 485), text("Grün von bis")}, {x(paper ? 585 : 580), QStringLiteral("Rot/Gelb")},
                     {x(645), QStringLiteral("Gelb")},           {x(680), QStringLiteral("Dehnpunkt")},
                     {x(757), QStringLiteral("Dehnzeit")},       {x(825), text("Zeitlücke")},
                     {x(890), QStringLiteral("Wartepunkt")}};
    } else if (!chart_.HeaderModeSet()) {
        headings += {{x(430) + 7 * a, QStringLiteral("Daueranforderung")},
                     {x(530) + 8 * a, text("Verlängern")},
                     {x(580) + 9 * a, text("Verlängern>Max.")}};
    }
    // Each heading ends before the next one begins, the last before the page edge.
    for (int i = 0; i < headings.size(); ++i) {
        const int next = i + 1 < headings.size() ? headings[i + 1].x : rightEdge();
        canvas_.NarrowedTextOutBefore(headings[i].x, y, headings[i].text, next);
    }
}

void ChartRenderer::drawParameters()
{
    const int labelX = x(0) + 2 * shift_;
    const int valueX = x(m_.isPrinter() ? 90 : 95) + 2 * shift_;
    for (const ParameterRow &row : kParameterRows) {
        const int y = overviewTop_ + row.line * overviewStep_;
        canvas_.TextOut(labelX, y, QString::fromLatin1(row.label));
        canvas_.TextOut(valueX, y,
                        QLatin1Char(':') + FormatSeconds(chart_.ProgramSnapshot.*row.field) +
                            QStringLiteral(" s"));
    }
}

void ChartRenderer::drawLegend()
{
    const bool paper = m_.isPrinter();
    const int column = m_.permille(20) + 3 * shift_;  // b + 3a
    const int barX = x(160) + column;
    const int barLength = m_.SpanWidth / (paper ? 15 : 12);
    for (const LegendEntry &entry : kLegend) {
        const int y = overviewTop_ + entry.line * overviewStep_;
        canvas_.TextOut(x(paper ? entry.printerPermille : entry.previewPermille) + column, y,
                        SignalStateName(entry.state));
        canvas_.RowTop = y + overviewStep_;
        canvas_.PenX = barX;
        canvas_.NewRow = true;
        canvas_.DrawRun(entry.state, barX + barLength, 0);
    }
}

void ChartRenderer::drawSymbols()
{
    const int sx = x(0) + 2 * shift_;
    const int tx = sx + m_.permille(14);
    const int h = m_.BarHeight;
    const auto lineY = [&](int line) { return overviewTop_ + line * overviewStep_; };

    if (chart_.DisplayMode == DisplayMode::TargetPlan) {
        int y = lineY(16);
        canvas_.SetPenColour(PlanColour::ExtensionPoint);
        canvas_.Line(sx, y + h / 4, sx + h / 4, y + h);
        canvas_.Line(sx + h / 2, y + h / 4, sx + h / 4, y + h);
        canvas_.SetPenColour(PlanColour::Ink);
        canvas_.TextOut(tx, y, QStringLiteral("= Dehnpunkt"));
        y = lineY(17);
        canvas_.SetPenColour(PlanColour::WaitPoint);
        canvas_.Line(sx, y + h, sx + h / 4, y + h / 4);
        canvas_.Line(sx + h / 2, y + h, sx + h / 4, y + h / 4);
        canvas_.SetPenColour(PlanColour::Ink);
        canvas_.TextOut(tx, y, QStringLiteral("= Wartepunkt"));
    } else if (!chart_.TargetChartActive) {
        int y = lineY(16);
        const int len = h * 6 / 10;
        canvas_.Line(sx, y + h / 2, sx + len, y + h / 2);
        canvas_.Line(sx, y + h * 7 / 10, sx + len, y + h * 7 / 10);
        canvas_.TextOut(tx, y, QStringLiteral("= Gruppe nicht aktiv"));
        y = lineY(17);
        canvas_.SetPenColour(PlanColour::ExtensionPoint);
        canvas_.Line(sx, y + h / 4, sx, y + h);
        canvas_.Line(sx + m_.permille(8), y + h / 4, sx + m_.permille(8), y + h);
        canvas_.SetPenColour(PlanColour::Ink);
        canvas_.TextOut(tx, y, QStringLiteral("= Melder aktiv"));
    }

    canvas_.TextOut(sx, lineY(18), QStringLiteral("B"));
    canvas_.TextOut(tx, lineY(18), text("= Störungsblinken"));

    if (!m_.isPrinter()) {
        const int y = lineY(19);
        const int cx = sx + h * 3 / 10;
        canvas_.DrawRedTriangle({cx, y}, {sx + h / 10, y + h * 4 / 10}, {sx + h / 2, y + h * 4 / 10});
        canvas_.DrawRedTriangle({cx, y + h * 12 / 10}, {sx + h / 10, y + h * 8 / 10},
                                {sx + h / 2, y + h * 8 / 10});
        canvas_.TextOut(tx, y, QStringLiteral("= Messpunkt"));
    }
}

void ChartRenderer::drawLocationBlock()
{
    const int lx = x(0) + 2 * shift_;
    const auto lineY = [&](int line) { return overviewTop_ + line * overviewStep_; };
    // A line beside the group table ends before its numbers, any other before the page edge.
    const auto textEnd = [&](int line) { return line - 2 < listedGroups() ? groupTableX() : rightEdge(); };
    const InstallationHeader &header = chart_.HeaderSnapshot;
    canvas_.SetBold(true);
    canvas_.TextOut(lx, lineY(21), QStringLiteral("Standort:"));
    canvas_.SetBold(false);
    canvas_.TextOutBefore(lx, lineY(22), fieldText(header.LocationLine1), textEnd(22));
    canvas_.TextOutBefore(lx, lineY(23), fieldText(header.LocationLine2), textEnd(23));
    canvas_.SetBold(true);
    canvas_.TextOut(lx, lineY(24), QStringLiteral("Auftraggeber:"));
    canvas_.SetBold(false);
    canvas_.TextOutBefore(lx, lineY(25), fieldText(header.Customer), textEnd(25));
}

// Below the location block: each stretch's share and the cycle second it began at.
void ChartRenderer::drawComparisonLine()
{
    QStringList stretches;
    for (const StretchComparison &s : chart_.Comparison->Stretches)
        stretches << (s.Compared() ? QStringLiteral("P%1 ab %2 s: %3, Tx %4 s")
                                         .arg(s.Program)
                                         .arg(s.FirstSecond)
                                         .arg(EqualShareText(s))
                                         .arg(s.Offset)
                                   : QStringLiteral("P%1 ab %2 s: ohne Sollplan").arg(s.Program).arg(s.FirstSecond));
    const int lx = x(0) + 2 * shift_, room = m_.Width - m_.LeftMargin - lx;
    QString line = QStringLiteral("Soll/Ist: ") + stretches.join(QStringLiteral("; "));
    while (stretches.size() > 1 && canvas_.TextWidth(line) > room) {
        stretches.removeLast();
        line = QStringLiteral("Soll/Ist: ") + stretches.join(QStringLiteral("; ")) + QStringLiteral("; …");
    }
    canvas_.TextOut(lx, overviewTop_ + 27 * overviewStep_, line);
}

int ChartRenderer::listedGroups() const
{
    return chart_.TargetChartActive ? kGroupCount : std::min(chart_.ShownGroups, kGroupCount);
}

int ChartRenderer::groupTableX() const
{
    return x(275) + (chart_.TargetChartActive ? 4 : 3) * shift_;
}

void ChartRenderer::drawGroupTable()
{
    for (int g = 0; g < listedGroups(); ++g)
        drawGroupTableRow(g, overviewTop_ + (2 + g) * overviewStep_);
}

void ChartRenderer::drawGroupTableRow(int g, int y)
{
    const bool paper = m_.isPrinter();
    const bool actual = !chart_.TargetChartActive;
    const int a = shift_;
    const SignalProgram &p = chart_.ProgramSnapshot;

    int tx = groupTableX();
    canvas_.TextOut(tx, y, FormatSeconds(g + 1));
    if (!actual && !chart_.GroupExists(g))
        return;

    tx += m_.permille(paper ? 20 : 30);
    if (p.FaultFlash[g])
        canvas_.TextOut(tx, y, QStringLiteral("B"));
    const int nameX = tx + m_.permille(paper ? 40 : 30) + (actual ? a : 0);
    tx = nameX + m_.permille(100) + (actual ? 2 * a : 0);
    canvas_.TextOutBefore(nameX, y, fieldText(chart_.GroupNames[g]), tx);
    if (p.RedMonitoring[g])
        canvas_.TextOut(tx, y, QStringLiteral("X"));

    if (actual) {
        if (chart_.HeaderModeSet())
            return;
        const uint8_t flags[] = {p.PermanentDemand[g], p.Extend[g], p.ExtendBeyondMax[g]};
        const int steps[] = {160, 115, 90};
        for (int i = 0; i < 3; ++i) {
            tx += m_.permille(steps[i]);
            if (flags[i])
                canvas_.TextOut(tx, y, QStringLiteral("X"));
        }
        return;
    }

    if (chart_.HeaderSnapshot.TwoGreenPhases) {
        canvas_.TextOut(tx + m_.permille(35), y,
                        FormatTime3(p.GreenFrom1[g]) + QLatin1Char('-') + FormatTime3(p.GreenTo1[g]) +
                            QLatin1Char('/') + FormatTime3(p.GreenFrom2[g]) + QLatin1Char('-') +
                            FormatTime3(p.GreenTo2[g]));
    } else {
        canvas_.TextOut(tx + m_.permille(65), y,
                        FormatTime3(p.GreenFrom1[g]) + QLatin1Char('-') + FormatTime3(p.GreenTo1[g]));
    }
    tx += m_.permille(65);
    tx += m_.permille(105);
    canvas_.TextOut(tx, y, QString::number(p.RedYellowTime[g]));
    tx += m_.permille(50);
    canvas_.TextOut(tx, y, QString::number(p.YellowTime[g]));
    tx += m_.permille(35);
    canvas_.TextOut(tx, y, time3Pair(p.ExtensionPoint1[g], p.ExtensionPoint2[g]) + QStringLiteral("    "));
    tx += m_.permille(70);
    canvas_.TextOut(tx, y, time3Pair(p.ExtensionTime1[g], p.ExtensionTime2[g]) + QStringLiteral("    "));
    tx += m_.permille(68);
    canvas_.TextOut(tx, y, time3Pair(p.GapTime1[g], p.GapTime2[g]));
    tx += m_.permille(paper ? 80 : 90);
    canvas_.TextOut(tx, y, FormatTime3(p.WaitPoint[g]));
}

// ---------------------------------------------------------------- chart pages

bool ChartRenderer::measuringPointOnPage() const
{
    return view_.MeasuringShown && view_.MeasuringPoint >= view_.StartSecond &&
           view_.MeasuringPoint <= view_.StartSecond + kPageSpan;
}

int ChartRenderer::measuringX() const
{
    return m_.SecondX(int64_t(view_.MeasuringPoint) - view_.StartSecond);
}

void ChartRenderer::drawAxisLabels(int y, int tickTop, int tickBottom)
{
    const AxisTicks ticks = AxisTickPositions(ticks_, kPageSpan, m_.ChartLeft(), m_.SpanWidth);
    const int axisEnd = m_.ChartLeft() + m_.SpanWidth;
    const int count = int(ticks.Labels.size());
    for (int i = 0; i < count; ++i) {
        const AxisLabel &label = ticks.Labels[i];
        const QString number = QString::number(int64_t(view_.StartSecond) + label.Offset);
        if (ticks_.TickRemainder && i == count - 2 &&
            canvas_.TextWidth(number + QLatin1Char(' ')) > axisEnd - label.X)
            continue;
        canvas_.TextOut(label.X - canvas_.TextWidth(number) / 2, y, number);
        canvas_.Line(label.X, tickTop, label.X, tickBottom);
    }
}

void ChartRenderer::DrawTopAxis()
{
    const int m = m_.LeftMargin, h = m_.BarHeight, L = m_.AxisLineStep();
    const int y = canvas_.RowTop;
    if (m_.isPrinter()) {
        canvas_.TextOut(m + h * 635 / 100, y, QStringLiteral("Bez."));
        canvas_.TextOut(m + h * 108 / 10, y, QStringLiteral("Tx"));
    } else {
        canvas_.TextOut(m + h * 14 / 10, y, QStringLiteral("Bez."));
        canvas_.TextOut(m + h * 55 / 10, y, QStringLiteral("Tx"));
    }
    drawAxisLabels(y, y + L, y + L + h);

    canvas_.RowTop += L + h / 2;
    const int y1 = canvas_.RowTop;
    if (measuringPointOnPage()) {
        const int mx = measuringX();
        canvas_.DrawRedTriangle({mx, y1 + h / 2}, {mx - h / 4, y1 + h}, {mx + h / 4, y1 + h});
    }
    const AxisTicks ticks = AxisTickPositions(ticks_, kPageSpan, m_.ChartLeft(), m_.SpanWidth);
    for (const MinorTick &tick : ticks.Minor)
        canvas_.Line(tick.X, tick.Long ? y1 : y1 + h / 4, tick.X, y1 + h / 2);

    canvas_.RowTop += h / 2;
    canvas_.Line(m_.ChartLeft(), canvas_.RowTop, m_.ChartLeft() + m_.SpanWidth, canvas_.RowTop);
    canvas_.RowTop += h;
}

void ChartRenderer::DrawTargetGroupRow(int groupNumber)
{
    const int g = groupNumber - 1;
    const bool plan = chart_.DisplayMode == DisplayMode::TargetPlan;
    if (!chart_.GroupExists(g) || (plan && chart_.ProgramSnapshot.CycleTime == 0))
        return;

    canvas_.NarrowedTextOutBefore(m_.LeftMargin, canvas_.RowTop, groupLabel(groupNumber), m_.ChartLeft());
    canvas_.NewRow = true;
    canvas_.PenX = m_.ChartLeft();
    const int64_t end = chart_.ChartLength();
    const auto stateAt = [&](int64_t s) {
        return plan ? TargetState(chart_.ProgramSnapshot, g, s) : chart_.Rows[size_t(s)].State[g];
    };
    int64_t s = view_.StartSecond;
    int c = 0;
    while (s < end && c < kPageSpan) {
        const int32_t state = stateAt(s);
        do {
            ++s;
            ++c;
        } while (s < end && c < kPageSpan && stateAt(s) == state);
        canvas_.DrawRun(state, m_.SecondX(c), g);
    }

    if (plan)
        drawTargetMarkers(g);
    canvas_.RowTop += m_.RowPitch();
}

void ChartRenderer::drawTargetMarkers(int g)
{
    const SignalProgram &p = chart_.ProgramSnapshot;
    const int64_t s0 = view_.StartSecond;
    const auto onPage = [&](int32_t v) { return v != 0 && s0 <= v && v <= s0 + kPageSpan; };
    const int shown = std::min(chart_.ShownGroups, kGroupCount);
    for (const PerGroup<int32_t> *points : {&p.ExtensionPoint1, &p.ExtensionPoint2}) {
        for (int j = 0; j < shown; ++j) {
            const int32_t v = (*points)[j];
            if (onPage(v))
                canvas_.DrawExtensionPoint(m_.SecondX(v - s0), v == (*points)[g]);
        }
    }
    for (int j = 0; j < shown; ++j) {
        const int32_t v = p.WaitPoint[j];
        if (onPage(v))
            canvas_.DrawWaitPoint(m_.SecondX(v - s0), v == p.WaitPoint[g]);
    }
}

void ChartRenderer::DrawActualGroupRow(int groupNumber)
{
    const int g = groupNumber - 1;
    canvas_.NarrowedTextOutBefore(m_.LeftMargin, canvas_.RowTop, groupLabel(groupNumber), m_.ChartLeft());
    canvas_.NewRow = true;
    canvas_.PenX = m_.ChartLeft();
    const int64_t rowCount = int64_t(chart_.Rows.size());
    int64_t s = view_.StartSecond;
    int c = 0;
    while (s < rowCount && c < kPageSpan) {
        const int32_t state = chart_.Rows[size_t(s)].State[g];
        do {
            ++s;
            ++c;
        } while (s < rowCount && c < kPageSpan && chart_.Rows[size_t(s)].State[g] == state);
        canvas_.DrawRun(state, m_.SecondX(c), g);
    }
    for (c = 0; c < kPageSpan; ++c) {
        s = int64_t(view_.StartSecond) + c;
        if (s >= rowCount)
            break;
        if (chart_.Rows[size_t(s)].DetectorActive[g])
            canvas_.DrawDetectorTick(m_.SecondX(c));
    }
    if (chart_.Comparison && g < chart_.Comparison->ComparedGroups)
        drawDeviationBands(g);
    canvas_.RowTop += m_.RowPitch();
}

void ChartRenderer::drawDeviationBands(int g)
{
    const int64_t s0 = view_.StartSecond;
    for (const StretchComparison &s : chart_.Comparison->Stretches) {
        for (const DeviationInterval &d : s.Deviations) {
            const int64_t from = std::max<int64_t>(d.From, s0), to = std::min<int64_t>(d.To + 1, s0 + kPageSpan);
            if (d.Group == g && from < to)
                canvas_.DrawDeviationBand(m_.SecondX(from - s0), m_.SecondX(to - s0));
        }
    }
}

void ChartRenderer::DrawBottomAxis()
{
    const int m = m_.LeftMargin, h = m_.BarHeight;
    const int x0 = m_.ChartLeft();
    int ya;
    if (m_.isPrinter()) {
        canvas_.RowTop += h;
        ya = canvas_.RowTop - m_.AxisLineStep() + h;
    } else {
        canvas_.RowTop += m_.Width / 200 + h;
        ya = canvas_.RowTop - m_.RowPitch() + h;
    }
    canvas_.Line(x0, ya, x0 + m_.SpanWidth, ya);
    drawAxisLabels(canvas_.RowTop, ya, ya + h + 1);

    if (measuringPointOnPage()) {
        const int mx = measuringX();
        const int yb = canvas_.RowTop - 3 * h / 2;
        canvas_.DrawRedTriangle({mx, yb}, {mx - h / 4, yb - h / 2}, {mx + h / 4, yb - h / 2});
        const int L = m_.AxisLineStep();
        canvas_.SetPenColour(PlanColour::Red);
        canvas_.Line(mx, m + L + h, mx, m + L + h / 2 + h + chart_.ActiveGroupCount * m_.RowPitch());
        canvas_.SetPenColour(PlanColour::Ink);
    }

    const AxisTicks ticks = AxisTickPositions(ticks_, kPageSpan, x0, m_.SpanWidth);
    for (const MinorTick &tick : ticks.Minor)
        canvas_.Line(tick.X, ya, tick.X, ya + (tick.Long ? h / 2 : h / 4) + 1);

    if (chart_.TargetChartActive || chart_.Rows.empty())
        return;
    const int64_t rowCount = int64_t(chart_.Rows.size());
    const int64_t s0 = view_.StartSecond;
    if (s0 >= rowCount)
        return;
    int32_t q = chart_.Rows[size_t(s0)].ProgramNumber;
    const int y = canvas_.RowTop;
    for (int64_t s = s0; s < s0 + kPageSpan && s < rowCount; ++s) {
        const int32_t program = chart_.Rows[size_t(s)].ProgramNumber;
        if (program == q)
            continue;
        q = program;
        const int px = m_.SecondX(s - s0);
        canvas_.Line(px, y + h, px, y + 2 * h);
        canvas_.TextOut(px + h / 4, y + h, QStringLiteral("->P") + QString::number(q));
    }
}

// ---------------------------------------------------------------- printed page frame

void ChartRenderer::PrintPageHeader()
{
    const int y = canvas_.RowTop;
    canvas_.SetTextSize(TextSize::Page);
    canvas_.SetBold(true);
    canvas_.TextOut(m_.LeftMargin, y, QStringLiteral("Torvemark Signaltechnik GmbH"));

    QString family;
    if (chart_.TargetChartActive) {
        family = chart_.InstallationType == TypeKvx ? QStringLiteral("KVX") : QStringLiteral("QSW");
    } else {
        const QString &type = chart_.ControllerTypeText;
        if (type.startsWith(QLatin1Char('K')) || type.mid(1, 1) == QLatin1String("K"))
            family = QStringLiteral("KVX");
        else if (type.startsWith(QLatin1Char('S')))
            family = QStringLiteral("Simulationsprogramm");
        else
            family = QStringLiteral("QSW");
    }
    canvas_.TextOut(m_.permille(320), y, family);

    const QString version = chart_.TargetChartActive ? QStringLiteral("----") : chart_.BannerText.right(4);
    canvas_.TextOut(m_.permille(530), y, QStringLiteral("Version Steuerung: ") + version);

    const bool ownDate = PrintsCurrentDate(chart_.DisplayMode);
    const QString date = ownDate ? view_.PrintTime.toString(QStringLiteral("dd.MM.yy hh:mm"))
                                 : chart_.PrintDateText;
    canvas_.TextOut(m_.permille(810), y, QStringLiteral("Druckdatum: ") + date);
    // The overview page's first line is still printed bold.
    canvas_.SetTextSize(TextSize::Chart);
}

void ChartRenderer::PrintPageFooter(bool withProgram)
{
    QString footer = QStringLiteral("Seite %1 von %2 Seiten ")
                         .arg(view_.PageNumber)
                         .arg(PageCount(chart_.ChartLength())) +
                     ChartTitleWithName(chart_);
    if (withProgram && chart_.TargetChartActive)
        footer += QStringLiteral(" (P%1)").arg(chart_.ProgramNumber);

    canvas_.SetTextSize(TextSize::Page);
    canvas_.SetBold(false);
    canvas_.TextOut(m_.Width / 2 - canvas_.TextWidth(footer) / 2, m_.permille(630), footer);
    canvas_.SetTextSize(TextSize::Chart);
}
