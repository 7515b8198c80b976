#include "render/pagecomposer.h"

int PageCount(int chartLength)
{
    return chartLength > 0 ? 2 + (chartLength - 1) / 100 : 1;
}

QString ChartTitleWithName(const ChartData &chart)
{
    return chart.DataName.isEmpty() ? chart.ChartTitle : chart.ChartTitle + QStringLiteral(", ") + chart.DataName;
}

int CursorLineHeight(const ChartData &chart, const PlanMetrics &m)
{
    const int rows = chart.TargetChartActive ? chart.ActiveGroupCount : chart.ShownGroups;
    return rows * m.RowPitch() + m.Width / 10;
}

int ChartPageStart(int page)
{
    return (page - 2) * 100;
}

void DrawChartPage(const ChartData &chart, PlanCanvas &canvas, const PageView &view)
{
    const bool paper = canvas.metrics().isPrinter();
    ChartRenderer renderer(chart, canvas, view);
    canvas.ClearPage();
    canvas.RowTop = canvas.metrics().LeftMargin;
    if (view.PageNumber <= 1) {
        if (paper)
            renderer.PrintPageHeader();
        renderer.DrawOverviewPage();
        if (paper)
            renderer.PrintPageFooter(false);
        canvas.Flush();
        return;
    }
    renderer.DrawTopAxis();
    for (int n = 1; n <= chart.ShownGroups && n <= kGroupCount; ++n) {
        if (chart.TargetChartActive)
            renderer.DrawTargetGroupRow(n);
        else
            renderer.DrawActualGroupRow(n);
    }
    renderer.DrawBottomAxis();
    if (paper)
        renderer.PrintPageFooter(true);
    canvas.Flush();
}
