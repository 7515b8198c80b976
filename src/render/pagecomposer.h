#pragma once
// Lays a chart out in pages and draws one whole page onto a PlanCanvas: the
// preview window, the print run and the file export all draw through here.
// Page 1 is the overview page; page k >= 2 shows 100 seconds from
// (k - 2) * 100, or from a half-page start the preview chooses.

#include "render/chartdata.h"
#include "render/chartrenderer.h"
#include "render/plancanvas.h"

// One overview page plus one chart page per started 100 seconds.
int PageCount(int chartLength);
// First second of chart page `page` (>= 2) when not shifted by half a page.
int ChartPageStart(int page);

// The chart's title with the data's name, as the footer of a printed page
// names the chart: "(Sollplan), Hauptstrasse-Schulweg".
QString ChartTitleWithName(const ChartData &chart);

// Height of the preview's cursor line: over the rows of the groups that
// exist (target chart) or over every shown row (actual run), and the axis
// below them.
int CursorLineHeight(const ChartData &chart, const PlanMetrics &m);

// Clears the canvas and draws the page that view names. On a printer canvas
// the page gets its header (page 1) and footer, exactly as it is printed.
void DrawChartPage(const ChartData &chart, PlanCanvas &canvas, const PageView &view);
