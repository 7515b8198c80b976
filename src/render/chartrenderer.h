#pragma once
// Draws the parts of a chart's pages onto a PlanCanvas: the overview page,
// the two time axes, the group bars with their markers, and on paper the
// page header and footer. Which parts make a page is pagecomposer's business.

#include "render/chartdata.h"
#include "render/plancanvas.h"
#include "render/timeaxis.h"

#include <QDateTime>

// The page being drawn and what the preview shows on it.
struct PageView {
    int PageNumber = 1;   // counted over all pages of the chart (footer)
    int StartSecond = 0;  // chart second at the left edge of a chart page
    bool MeasuringShown = false;
    int MeasuringPoint = 0;
    QDateTime PrintTime;  // "Druckdatum" of target charts and simulated runs
};

class ChartRenderer {
public:
    // The span of every chart page is 100 seconds.
    static constexpr int kPageSpan = 100;

    ChartRenderer(const ChartData &chart, PlanCanvas &canvas, const PageView &view);

    void DrawOverviewPage();
    void DrawTopAxis();
    void DrawTargetGroupRow(int groupNumber);
    void DrawActualGroupRow(int groupNumber);
    void DrawBottomAxis();
    void PrintPageHeader();
    void PrintPageFooter(bool withProgram);

private:
    int x(int permille) const;  // m + k thousandths of the width
    int rightEdge() const;      // where text on the page must end
    int listedGroups() const;   // rows of the overview page's group table
    int groupTableX() const;    // x of its number column
    QString groupLabel(int groupNumber) const;
    void drawAxisLabels(int y, int tickTop, int tickBottom);
    bool measuringPointOnPage() const;
    int measuringX() const;

    void drawOverviewHeadings(int y);
    void drawParameters();
    void drawLegend();
    void drawSymbols();
    void drawLocationBlock();
    void drawGroupTable();
    void drawGroupTableRow(int g, int y);
    void drawTargetMarkers(int g);
    void drawDeviationBands(int g);
    void drawComparisonLine();

    const ChartData &chart_;
    PlanCanvas &canvas_;
    PageView view_;
    const PlanMetrics &m_;
    TickSteps ticks_;
    int overviewTop_ = 0;   // y of line 0 of the overview page
    int overviewStep_ = 0;  // line step of the overview page
    int shift_ = 0;         // a: actual-run columns stand further right
};
