// Drawing speed of one chart page: the worst case is 24 groups changing
// state every second with every run hatched.

#include "preview/chartpdf.h"
#include "render/chartexport.h"
#include "render/pagecomposer.h"
#include "render/signalstate.h"
#include "render/targetstate.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <benchmark/benchmark.h>

#include "worstcasechart.h"

namespace {
void BM_PreviewPage(benchmark::State &state)
{
    const ChartData chart = hatchedEverySecond();
    QImage image(kPreviewImageWidth, kPreviewImageHeight, QImage::Format_RGB32);
    PageView view;
    view.PageNumber = 5;
    view.StartSecond = ChartPageStart(5);
    for (auto _ : state) {
        QPainter painter(&image);
        PlanCanvas canvas(painter, PlanMetrics::ForPreview(image.width()), true);
        DrawChartPage(chart, canvas, view);
    }
}
BENCHMARK(BM_PreviewPage)->Unit(benchmark::kMillisecond);

void BM_PrinterPage600dpi(benchmark::State &state)
{
    const ChartData chart = hatchedEverySecond();
    PageView view;
    view.PageNumber = 5;
    view.StartSecond = ChartPageStart(5);
    for (auto _ : state) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
        QPainter painter(&writer);
        PlanCanvas canvas(painter, PlanMetrics::ForPrinter(writer.width(), writer.resolution()), true);
        DrawChartPage(chart, canvas, view);
        painter.end();
        benchmark::DoNotOptimize(bytes.size());
    }
}
BENCHMARK(BM_PrinterPage600dpi)->Unit(benchmark::kMillisecond);

void BM_TargetStateWholeCycle(benchmark::State &state)
{
    const SignalProgram p = busyProgram();
    for (auto _ : state) {
        int64_t sum = 0;
        for (int g = 0; g < kGroupCount; ++g)
            for (int t = 0; t < kMaxChartSeconds; ++t)
                sum += TargetState(p, g, t);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_TargetStateWholeCycle)->Unit(benchmark::kMicrosecond);

void BM_ThirteenPagePdf(benchmark::State &state)
{
    const ChartData chart = hatchedEverySecond();
    QList<int> pages;
    for (int page = 1; page <= PageCount(chart.ChartLength()); ++page)
        pages << page;
    const QString path = QStringLiteral("/tmp/bench_render.pdf");
    QString error;
    for (auto _ : state)
        WriteChartPdf(chart, pages, true, QDateTime::currentDateTime(), path, &error);
    QFile::remove(path);
}
BENCHMARK(BM_ThirteenPagePdf)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
