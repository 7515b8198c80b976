// Speed of the preview window and the print run: a page change from the
// button to the new page in the window's image, and thirteen printed pages
// into a PDF. The worst case is 24 groups whose hatched state changes every
// second of 1200.

#include "context/appcontext.h"
#include "base/prompt.h"
#include "preview/previewpaging.h"
#include "preview/previewwindow.h"
#include "preview/printerdialog.h"
#include "preview/printrun.h"
#include "render/chartexport.h"
#include "render/pagecomposer.h"
#include "render/signalstate.h"

#include <QApplication>
#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include "worstcasechart.h"

namespace {
// The busiest chart an installation can ask for: a 1200-second target plan
// of 24 groups with two green phases, a flashing and an extra-yellow window.
InstallationData busyInstallation()
{
    InstallationData d;
    d.Header.GroupCount = kGroupCount;
    d.Header.FixedTimeMode = 1;
    d.Header.ProgramReleased[0] = 1;
    SignalProgram &p = d.Programs[0];
    p = busyProgram();
    for (int g = 0; g < kGroupCount; ++g) {
        p.ExtensionPoint1[g] = 50 * (g + 1);
        p.WaitPoint[g] = 25 * (g + 1);
    }
    for (auto &name : d.GroupNames)
        name.fill('X');
    return d;
}

struct SilentPrompt : Prompt {
    PromptAnswer ask(const QString &, const QString &, PromptIcon, PromptButtons) override
    {
        return PromptAnswer::Ok;
    }
};

// ">>" through the busiest target plan, "|<<" back from its last page: the
// window's own handlers, drawing into its image and showing it.
void BM_WindowPageChange(benchmark::State &state)
{
    AppContext ctx;
    ctx.data = busyInstallation();
    ctx.ControllerFamily = ControllerFamily::Kvx;
    SilentPrompt prompt;
    TFGrafik window(ctx, prompt, std::make_unique<SystemPrinterDialog>());
    window.OpenTargetChart(1, DisplayMode::TargetPlan);
    auto *forward = window.findChild<QPushButton *>(QStringLiteral("ButtonSeiteVor"));
    auto *first = window.findChild<QPushButton *>(QStringLiteral("ButtonSeite1"));
    for (auto _ : state)
        (forward->isEnabled() ? forward : first)->click();
}
BENCHMARK(BM_WindowPageChange)->Unit(benchmark::kMillisecond);

// The same path for the hatched worst case at the width of the preview's
// image: the paging step, the page drawn into the image and the image put on
// a screen of the same width (16:9), as the window paints it. 771 is the
// initial window, 1920 and 3840 a maximised one on a full-HD and a 4K screen.
void BM_PageChangeWorstCase(benchmark::State &state)
{
    const ChartData chart = hatchedEverySecond();
    PreviewPaging paging(chart);
    paging.OpenChart();
    const int width = int(state.range(0));
    const PlanMetrics metrics = PlanMetrics::ForPreview(width);
    QImage image(width, width * kPreviewImageHeight / kPreviewImageWidth, QImage::Format_RGB32);
    QImage screen(width, width * 9 / 16, QImage::Format_RGB32);
    for (auto _ : state) {
        if (paging.Buttons().PageForward)
            paging.StepPage(true);
        else
            paging.FirstPage();
        {
            QPainter painter(&image);
            PlanCanvas canvas(painter, metrics, true);
            DrawChartPage(chart, canvas, paging.View());
        }
        QPainter(&screen).drawImage(0, 0, image);
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_PageChangeWorstCase)->Arg(kPreviewImageWidth)->Arg(1920)->Arg(3840)->Unit(benchmark::kMillisecond);

// Thirteen pages of the worst case in one print run into a PDF.
void BM_PrintRunThirteenPages(benchmark::State &state)
{
    const ChartData chart = hatchedEverySecond();
    PageFlags all;
    all.fill(1);
    for (auto _ : state) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
        PrintRun(chart, all, writer, true, QDateTime::currentDateTime());
        benchmark::DoNotOptimize(bytes.size());
    }
}
BENCHMARK(BM_PrintRunThirteenPages)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
