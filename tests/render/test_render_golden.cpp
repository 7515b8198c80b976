// Every page kind, for the preview and for paper, is compared with its dump in
// golden/; SIGNOVAT_UPDATE_GOLDEN=1 rewrites the dumps (scripts/update-golden.sh).

#include "guiapp.h"
#include "recordingdevice.h"
#include "tempdir.h"

#include "data/textfield.h"
#include "render/chartexport.h"
#include "render/pagecomposer.h"
#include "render/signalstate.h"

#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <gtest/gtest.h>

namespace {
// Blank-padded texts, as the data files hold them.
void setTexts(InstallationHeader &header, std::array<GroupName, kGroupCount> &names, const QString &street)
{
    for (auto &name : names)
        name.fill(' ');
    TextToField10(QStringLiteral("K1 Süd"), names[0]);
    textToField(street, header.LocationLine1);
    textToField(QStringLiteral("Musterstadt"), header.LocationLine2);
    textToField(QStringLiteral("Stadt Musterstadt"), header.Customer);
}

// Four groups over 120 s with transitions and shared markers; the switch-on
// program steps through yellow, red and green.
ChartData targetChart(DisplayMode kind)
{
    InstallationData d;
    d.Header.GroupCount = 4;
    d.Header.FixedTimeMode = 1;
    setTexts(d.Header, d.GroupNames, QStringLiteral("Hauptstraße / Schulweg"));
    SignalProgram &p = d.Programs[0];
    p.CycleTime = 120;
    p.GreenFrom1 = {10, 50, 0, 80};
    p.GreenTo1 = {40, 75, 0, 110};
    p.RedYellowTime = {2, 2, 2, 2};
    p.YellowTime = {3, 3, 3, 3};
    p.ExtensionPoint1 = {25, 60};
    p.ExtensionPoint2[0] = 100;  // on the page's right edge
    p.ExtensionTime1[0] = p.GapTime1[1] = 6;
    p.WaitPoint = {0, 70, 70};
    p.FaultFlash[2] = p.RedMonitoring[0] = 1;
    d.SwitchOnSteps[0] = {5, {}, {1, 1, 1, 1}, {}};
    d.SwitchOnSteps[1] = {3, {1, 1, 1}, {}, {}};
    d.SwitchOnSteps[2] = {4, {}, {}, {1, 1}};
    ChartData chart;
    EXPECT_TRUE(OpenTargetChart(chart, d, 1, kind, QStringLiteral("Beispiel"), nullptr));
    return chart;
}

// A 150 s run, group 4 beyond the header's count, programs 2/3/4, detector ticks; group 3
// has flashing, extra yellow and unknown codes (10, -1), which draw nothing.
ChartData actualRun(bool headerMode)
{
    ChartData run;
    run.DisplayMode = DisplayMode::RunKvx;
    run.TargetChartActive = false;
    run.ChartTitle = QStringLiteral("(Istablauf)");
    run.StartProgram = 2;
    run.ShownGroups = run.ActiveGroupCount = 4;
    run.HeaderGroupCount = 3;
    run.HeaderSnapshot.FixedTimeMode = headerMode ? 1 : 0;
    setTexts(run.HeaderSnapshot, run.GroupNames, QStringLiteral("Ringstraße"));
    SignalProgram &p = run.ProgramSnapshot;
    p.CycleTime = 90;  // shown in header mode only
    p.PermanentDemand[0] = p.Extend[1] = p.ExtendBeyondMax[2] = p.FaultFlash[0] = 1;
    run.ControllerTypeText = QStringLiteral("KVX 300   ");
    run.BannerText = QStringLiteral("KVX300  V2.14");
    run.PrintDateText = QStringLiteral("14.03.24 09:15");
    for (int s = 0; s < 150; ++s) {
        const int t = s % 45;
        ChartRow row;
        const int32_t third = s < 30 ? Flashing : s < 45 ? RedFlashing : s < 60 ? GreenFlashing
                              : s < 75 ? RedExtraYellow : s < 85 ? 10 : s >= 100 && s < 110 ? -1 : Dark;
        row.State = {t < 20 ? Red : t < 22 ? RedYellow : t < 40 ? Green : Yellow, t < 25 ? Green : GreenYellow,
                     third, Dark};
        row.ProgramNumber = s < 60 ? 2 : s < 130 ? 3 : 4;
        row.DetectorActive = {s >= 5 && s < 8, s == 45 || s == 120};
        run.Rows.push_back(row);
    }
    return run;
}

struct GoldenPage {
    const char *name;
    ChartData (*chart)();
    int page;
    int measuringPoint = 40;  // the preview shows it when it falls on the page
    bool colour = true;       // false: paper printed in black and white
};
void PrintTo(const GoldenPage &page, std::ostream *out) { *out << page.name; }

const GoldenPage kPages[] = {
    {"target-overview", [] { return targetChart(DisplayMode::TargetPlan); }, 1},
    {"target-chart", [] { return targetChart(DisplayMode::TargetPlan); }, 2},
    {"target-chart-page-3", [] { return targetChart(DisplayMode::TargetPlan); }, 3},  // point before the page
    {"switch-program", [] { return targetChart(DisplayMode::SwitchOn); }, 2},
    {"run-overview-header-mode-set", [] { return actualRun(true); }, 1},
    {"run-overview-header-mode-clear", [] { return actualRun(false); }, 1},
    {"run-chart", [] { return actualRun(false); }, 2, 140},  // point after the page
    {"run-chart-page-3", [] { return actualRun(false); }, 3, 140},
    {"run-chart-black-and-white", [] { return actualRun(false); }, 2, 140, false},
};

// The preview bitmap with the measuring point shown, or the print run's page:
// A4 landscape at the PDF resolution.
QStringList drawPage(const GoldenPage &page, bool paper)
{
    const PageView view{page.page, page.page >= 2 ? ChartPageStart(page.page) : 0, !paper, page.measuringPoint,
                        QDateTime(QDate(2026, 12, 24), QTime(8, 5))};
    const QRect sheet = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF())
                            .paintRectPixels(kPdfResolution);
    RecordingDevice device(paper ? sheet.width() : kPreviewImageWidth,
                           paper ? sheet.height() : kPreviewImageHeight, paper ? kPdfResolution : 96);
    const ChartData chart = page.chart();
    QPainter painter(&device);
    {
        PlanCanvas canvas(painter, paper ? PlanMetrics::ForPrinter(device.width(), kPdfResolution)
                                         : PlanMetrics::ForPreview(device.width()), page.colour);
        DrawChartPage(chart, canvas, view);
    }
    painter.end();
    return device.lines();
}

class GoldenDump : public ::testing::TestWithParam<std::tuple<GoldenPage, bool>> {};

TEST_P(GoldenDump, PageDrawsAsStored)
{
    const auto [page, paper] = GetParam();
    if (!page.colour && !paper)
        GTEST_SKIP() << "black and white is dumped for paper only";
    const QString name = QStringLiteral("%1.%2.txt").arg(QLatin1String(page.name), paper ? "printer" : "preview");
    const QString golden = QStringLiteral(SIGNOVAT_SOURCE_DIR "/tests/render/golden/") + name;
    const QByteArray got = (drawPage(page, paper).join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    if (qgetenv("SIGNOVAT_UPDATE_GOLDEN") == "1") {
        EXPECT_TRUE(writeBytes(golden, got)) << qPrintable(golden);
    } else if (readBytes(golden) != got) {
        const QString fresh = QDir::current().absoluteFilePath(name);
        writeBytes(fresh, got);
        ADD_FAILURE() << qPrintable(name) << " differs from its golden dump, new dump: " << qPrintable(fresh);
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, GoldenDump, ::testing::Combine(::testing::ValuesIn(kPages), ::testing::Bool()));
}  // namespace
