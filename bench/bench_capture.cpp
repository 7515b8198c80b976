// Capture speed: the capture tick that takes a data line and redraws the
// shown page (it runs every 100 ms on the user-interface thread and should
// stay under 5 ms), the line parser's throughput, and a full run loaded from
// its file and printed to PDF, in process and as the whole "render" command.

#include "actual/actualruncapture.h"
#include "context/appcontext.h"
#include "actual/actualrunfile.h"
#include "actual/linereceiver.h"
#include "actual/streamparser.h"
#include "preview/chartpdf.h"
#include "render/chartexport.h"
#include "render/pagecomposer.h"
#include "serial/fakeserialport.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <benchmark/benchmark.h>

namespace {

const char *const kStates[] = {"R ", "Gr", "RG", "Ge", "B ", "RB", "GD", "GB"};

// 24 groups whose states change every second, detectors here and there.
QByteArray busyDataLine(int second)
{
    QByteArray line = " P1 000";
    for (int g = 0; g < kGroupCount; ++g) {
        line += (second + g) % 5 == 0 ? '*' : ' ';
        line += kStates[(second + g) % 8];
    }
    return line + "\r\n";
}

QByteArray header()
{
    return "        ------------------\r\n"
           "        I       Torvemark GmbH\r\n"
           "        Gruppenzahl   : 24\r\n"
           " Gruppe  1  2  3\r\n";
}

ActualRun fullRun()
{
    ActualRun run;
    StreamParser parser(run);
    parser.ParseHeaderLine("        I       Torvemark GmbH");
    for (int s = 0; s < kMaxRunRows; ++s) {
        parser.ParseDataLine(busyDataLine(s).chopped(2));
        run.Rows.push_back(parser.CurrentRow());
    }
    return run;
}

void BM_CaptureTickAddingARowAndRedrawing(benchmark::State &state)
{
    AppContext ctx;
    FakeSerialPort printer;
    printer.open();
    ActualRunCapture capture(ctx.captureContext(), {&printer, nullptr, nullptr});
    QImage image(kPreviewImageWidth, kPreviewImageHeight, QImage::Format_RGB32);
    int pageStart = 0;
    int second = 0;
    const auto newRun = [&] {
        capture.Start(DisplayMode::RunQsw);
        printer.inject(header());
        for (int i = 0; i < 4; ++i)
            capture.ScanDataTimer(pageStart);
        pageStart = 0;
    };
    newRun();
    for (auto _ : state) {
        if (capture.RowCount() >= kMaxRunRows - 1) {
            state.PauseTiming();
            newRun();
            state.ResumeTiming();
        }
        printer.inject(busyDataLine(second++));
        const CaptureUpdate u = capture.ScanDataTimer(pageStart);
        if (u.pageTurnTo >= 0)
            pageStart = u.pageTurnTo;
        PageView view;
        view.PageNumber = pageStart / 100 + 2;
        view.StartSecond = pageStart;
        QPainter painter(&image);
        PlanCanvas canvas(painter, PlanMetrics::ForPreview(image.width()), true);
        DrawChartPage(capture.chart(), canvas, view);
    }
}
BENCHMARK(BM_CaptureTickAddingARowAndRedrawing)->Unit(benchmark::kMillisecond);

void BM_LineParserThroughput(benchmark::State &state)
{
    QByteArray stream;
    for (int s = 0; s < 1000; ++s)
        stream += busyDataLine(s);
    ActualRun run;
    StreamParser parser(run);
    LineReceiver receiver;
    int64_t lines = 0;
    for (auto _ : state) {
        receiver.append(stream);
        while (const std::optional<QByteArray> line = receiver.takeLine()) {
            parser.ParseDataLine(*line);
            ++lines;
        }
        benchmark::DoNotOptimize(parser.CurrentRow());
    }
    state.SetItemsProcessed(lines);
}
BENCHMARK(BM_LineParserThroughput)->Unit(benchmark::kMicrosecond);

void BM_LoadAndPrintFullRun(benchmark::State &state)
{
    const QString dri = QDir::temp().filePath(QStringLiteral("bench_capture.DRI"));
    const QString pdf = QDir::temp().filePath(QStringLiteral("bench_capture.pdf"));
    QString error;
    WriteActualRunFile(dri, fullRun(), &error);
    QList<int> pages;
    for (int page = 1; page <= PageCount(kMaxRunRows); ++page)
        pages << page;
    for (auto _ : state) {
        ChartData chart;
        ActualRun run;
        LoadActualRunChart(dri, chart, run, &error);
        WriteChartPdf(chart, pages, true, QDateTime::currentDateTime(), pdf, &error);
    }
    QFile::remove(dri);
    QFile::remove(pdf);
}
BENCHMARK(BM_LoadAndPrintFullRun)->Unit(benchmark::kMillisecond);

// "signovat render --run" on a 1200-second run: start-up, loading and 13 pages.
void BM_RenderCommandFullRun(benchmark::State &state)
{
    const QString dri = QDir::temp().filePath(QStringLiteral("bench_capture_cli.DRI"));
    const QString pdf = QDir::temp().filePath(QStringLiteral("bench_capture_cli.pdf"));
    QString error;
    WriteActualRunFile(dri, fullRun(), &error);
    for (auto _ : state) {
        QProcess p;
        p.start(QStringLiteral(SIGNOVAT_BINARY), {QStringLiteral("render"), QStringLiteral("--run"), dri,
                                                  QStringLiteral("--out"), pdf, QStringLiteral("--colour")});
        p.waitForFinished(60000);
        if (p.exitCode() != 0)
            state.SkipWithError("render failed");
    }
    QFile::remove(dri);
    QFile::remove(pdf);
}
BENCHMARK(BM_RenderCommandFullRun)->Unit(benchmark::kMillisecond)->UseRealTime();

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
