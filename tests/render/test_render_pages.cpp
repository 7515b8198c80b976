#include "guiapp.h"

#include "data/textfield.h"
#include "preview/chartpdf.h"
#include "render/chartexport.h"
#include "render/pagecomposer.h"
#include "render/signalstate.h"

#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const PlanMetrics kM = PlanMetrics::ForPreview(kPreviewImageWidth);
// First bar of a chart page: below the top axis (m + L + h/2 + h/2 + h).
const int kRowsTop = kM.LeftMargin + kM.LineStep() + 2 * kM.BarHeight;
const QColor kRed(255, 0, 0), kBlue(0, 0, 255), kBlack(Qt::black), kWhite(Qt::white);

int rowTop(int row)
{
    return kRowsTop + row * kM.RowPitch();
}

// A target plan of `groups` groups, all red but green 10..40, cycle `cycle`.
ChartData targetPlan(int cycle, int groups)
{
    InstallationData d;
    d.Header.GroupCount = uint32_t(groups);
    d.Header.FixedTimeMode = 1;
    textToField(QStringLiteral("Hauptstraße / Schulweg"), d.Header.LocationLine1);
    textToField(QStringLiteral("Musterstadt"), d.Header.LocationLine2);
    textToField(QStringLiteral("Stadt Musterstadt"), d.Header.Customer);
    for (auto &name : d.GroupNames)
        name.fill(' ');
    TextToField10(QStringLiteral("K1 Süd"), d.GroupNames[0]);
    SignalProgram &p = d.Programs[0];
    p.CycleTime = uint32_t(cycle);
    p.DemandTime1 = 44;
    for (int g = 0; g < groups; ++g) {
        p.GreenFrom1[g] = 10;
        p.GreenTo1[g] = 40;
        p.RedMonitoring[g] = 1;
    }
    p.FaultFlash[1] = 1;
    ChartData chart;
    QString error;
    EXPECT_TRUE(OpenTargetChart(chart, d, 1, DisplayMode::TargetPlan, QStringLiteral("Beispiel"), &error));
    return chart;
}

QImage preview(const ChartData &chart, int page, int startSecond)
{
    QImage image(kPreviewImageWidth, kPreviewImageHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    PlanCanvas canvas(painter, kM, true);
    PageView view;
    view.PageNumber = page;
    view.StartSecond = startSecond;
    DrawChartPage(chart, canvas, view);
    return image;
}

QString pdfText(const QString &path, int page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                          QString::number(page), QStringLiteral("-layout"), path,
                                          QStringLiteral("-")});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}
}  // namespace

TEST(ChartPage, BarsFollowTheTargetStatesAndEndWithTheChart)
{
    const ChartData chart = targetPlan(101, 3);
    const QImage page2 = preview(chart, 2, 0);
    const int mid = rowTop(0) + 3;
    EXPECT_EQ(page2.pixelColor(kM.SecondX(5) + 1, mid), kRed);
    EXPECT_EQ(page2.pixelColor(kM.SecondX(20), mid), QColor(0, 255, 0));
    EXPECT_EQ(page2.pixelColor(kM.SecondX(100) - 2, mid), kRed);

    // 101 seconds: the third page shows one second of bar.
    const QImage page3 = preview(chart, 3, 100);
    EXPECT_EQ(page3.pixelColor(kM.SecondX(0) + 2, mid), kRed);
    EXPECT_EQ(page3.pixelColor(kM.SecondX(1), mid), kBlack);  // right edge of the last run
    EXPECT_EQ(page3.pixelColor(kM.SecondX(1) + 3, mid), kWhite);
}

TEST(ChartPage, MissingGroupsLeaveNoGap)
{
    // 12 rows shown, 7 groups exist: 7 bars at the row pitch, the bottom axis right below.
    const QImage page = preview(targetPlan(60, 7), 2, 0);
    for (int row = 0; row < 7; ++row)
        EXPECT_EQ(page.pixelColor(kM.ChartLeft() + 3, rowTop(row) + 3), kRed) << row;
    EXPECT_NE(page.pixelColor(kM.ChartLeft() + 3, rowTop(7) + 3), kRed);
    const int bottomAxis = rowTop(7) + kM.Width / 200 + kM.BarHeight - kM.RowPitch() + kM.BarHeight;
    for (int x = kM.ChartLeft(); x <= kM.ChartLeft() + kM.SpanWidth; x += 7)
        EXPECT_EQ(page.pixelColor(x, bottomAxis), kBlack) << x;
}

TEST(ChartPage, TopAxisTicksStandAtTheirSeconds)
{
    const QImage page = preview(targetPlan(60, 1), 2, 0);
    const int m = kM.LeftMargin, L = kM.LineStep(), h = kM.BarHeight;
    const int axisY = m + L + h;  // after the labels (L + h/2) and the minor ticks (h/2)
    for (int s : {0, 10, 50, 100}) {
        EXPECT_EQ(page.pixelColor(kM.SecondX(s), m + L + 1), kBlack) << s;  // labelled tick
    }
    EXPECT_EQ(page.pixelColor(kM.SecondX(5), m + L + h / 2 + 1), kBlack);           // long minor tick
    EXPECT_EQ(page.pixelColor(kM.SecondX(3), m + L + h / 2 + 1), kWhite);           // short one starts lower
    EXPECT_EQ(page.pixelColor(kM.SecondX(3), m + L + h / 2 + h / 4 + 1), kBlack);
    EXPECT_EQ(page.pixelColor(kM.ChartLeft() + 100, axisY), kBlack);
}

TEST(ChartPage, MarkerOnThePageEdgeShowsOnBothPages)
{
    ChartData chart = targetPlan(250, 10);
    chart.ProgramSnapshot.ExtensionPoint1[4] = 37;  // groups 5 and 9 share point 37
    chart.ProgramSnapshot.ExtensionPoint1[8] = 37;
    chart.ProgramSnapshot.ExtensionPoint2[2] = 100;  // exactly on the edge of page 2
    const QImage page2 = preview(chart, 2, 0);
    const QImage page3 = preview(chart, 3, 100);
    const int gap = rowTop(0) + kM.BarHeight + 5;  // between the first two bars
    EXPECT_EQ(page2.pixelColor(kM.SecondX(100), gap), kBlue);
    EXPECT_EQ(page3.pixelColor(kM.SecondX(0), gap), kBlue);
    EXPECT_EQ(page2.pixelColor(kM.SecondX(37), gap), kBlue);
    EXPECT_NE(page3.pixelColor(kM.SecondX(37), gap), kBlue);

    // Arrow heads on the bars of groups 5 and 9 only.
    const int x = kM.SecondX(37), h = kM.BarHeight;
    for (int row = 0; row < 10; ++row) {
        const bool owner = row == 4 || row == 8;
        EXPECT_EQ(page2.pixelColor(x - h / 4, rowTop(row) - h / 2) == kBlue, owner) << row;
    }
}

TEST(ChartPage, SwitchProgramsHaveNoMarkers)
{
    InstallationData d;
    d.Header.GroupCount = 3;
    d.Programs[0].ExtensionPoint1[0] = 2;
    d.SwitchOnSteps[0].Duration = 5;
    d.SwitchOnSteps[0].SetB = {1, 1, 1};
    ChartData chart;
    QString error;
    ASSERT_TRUE(OpenTargetChart(chart, d, 1, DisplayMode::SwitchOn, QString(), &error));
    const QImage page = preview(chart, 2, 0);
    EXPECT_EQ(page.pixelColor(kM.SecondX(4), rowTop(0) + 3), QColor(255, 255, 0));
    EXPECT_EQ(page.pixelColor(kM.SecondX(5) + 3, rowTop(0) + 3), kWhite);
    EXPECT_NE(page.pixelColor(kM.SecondX(2), rowTop(0) + kM.BarHeight + 5), kBlue);
}

TEST(ChartPage, ActualRunShowsProgramChangesDetectorsAndInactiveGroups)
{
    ChartData run;
    run.DisplayMode = DisplayMode::RunKvx;
    run.TargetChartActive = false;
    run.ShownGroups = 3;
    run.ActiveGroupCount = 3;
    run.HeaderGroupCount = 2;
    run.Rows.resize(300);
    for (int s = 0; s < 300; ++s) {
        run.Rows[s].State = {Red, Green, Dark};
        run.Rows[s].ProgramNumber = s < 230 ? 1 : 2;
    }
    run.Rows[205].DetectorActive[0] = 1;
    const QImage page = preview(run, 4, 200);

    const int h = kM.BarHeight;
    const int bottomRowTop = rowTop(3) + kM.Width / 200 + h;
    EXPECT_EQ(page.pixelColor(kM.SecondX(30), bottomRowTop + h + 2), kBlack);
    EXPECT_EQ(page.pixelColor(kM.SecondX(0), bottomRowTop + h + 2), kWhite);
    EXPECT_EQ(page.pixelColor(kM.SecondX(5), rowTop(0) + h + 2), kBlue);  // detector tick
    EXPECT_EQ(page.pixelColor(kM.SecondX(50), rowTop(2)), kWhite);        // group 3: not active, no box
    EXPECT_EQ(page.pixelColor(kM.SecondX(50), rowTop(2) + h * 4 / 10), kBlack);
}

TEST(ChartPage, MeasuringPointWhenShownAndOnThePage)
{
    const ChartData chart = targetPlan(250, 3);
    QImage image(kPreviewImageWidth, kPreviewImageHeight, QImage::Format_RGB32);
    const auto draw = [&](bool shown, int point) {
        QPainter painter(&image);
        PlanCanvas canvas(painter, kM, true);
        PageView view{2, 0, shown, point, {}};
        DrawChartPage(chart, canvas, view);
    };
    const int x = kM.SecondX(40);
    draw(true, 40);
    EXPECT_EQ(image.pixelColor(x, rowTop(1) - 3), kRed);  // the line through all rows
    draw(false, 40);
    EXPECT_NE(image.pixelColor(x, rowTop(1) - 3), kRed);
    draw(true, 140);
    EXPECT_NE(image.pixelColor(kM.SecondX(40), rowTop(1) - 3), kRed);
}

TEST(PrintedPages, OverviewPageTextHeaderAndFooter)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.pdf"));
    const ChartData chart = targetPlan(250, 3);
    QString error;
    const QDateTime when(QDate(2026, 12, 24), QTime(8, 5));
    ASSERT_TRUE(WriteChartPdf(chart, {1, 2, 3, 4}, false, when, path, &error)) << qPrintable(error);

    const QString overview = pdfText(path, 1);
    for (const char *expected :
         {"Torvemark Signaltechnik GmbH", "KVX", "Version Steuerung: ----", "Druckdatum: 24.12.26 08:05",
          "Legende:", "Rot+Blinken", "Grün+Gelb", "Dunkel", "Umlaufzeit", ": 250 s", "SYN 1", ": 44 s",
          "Grün von bis", "Wartepunkt", "010-040", "000/000", "K1 Süd", "= Dehnpunkt", "= Störungsblinken",
          "Standort:", "Hauptstraße / Schulweg", "Auftraggeber:", "Stadt Musterstadt",
          "Seite 1 von 4 Seiten (Sollplan), Beispiel"})
        EXPECT_TRUE(overview.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_FALSE(overview.contains(QStringLiteral("= Messpunkt")));  // not on paper
    EXPECT_FALSE(overview.contains(QStringLiteral("(P1)")));
    EXPECT_TRUE(overview.contains(QStringLiteral("24")));  // all 24 group numbers listed

    const QString page3 = pdfText(path, 3);
    EXPECT_TRUE(page3.contains(QStringLiteral("Seite 3 von 4 Seiten (Sollplan), Beispiel (P1)")));
    EXPECT_TRUE(page3.contains(QStringLiteral("Gruppe     1,   K1 Süd")) || page3.contains(QStringLiteral("K1 Süd")));
    EXPECT_TRUE(page3.contains(QStringLiteral("200")));
    EXPECT_FALSE(page3.contains(QStringLiteral("Torvemark")));  // header on page 1 only
}

TEST(PrintedPages, ARunFromTheSimulationIsDatedTodayOthersByTheirPrintout)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.pdf"));
    const QDateTime when(QDate(2026, 12, 24), QTime(8, 5));
    for (const DisplayMode mode : {DisplayMode::RunSimulation, DisplayMode::RunKvx, DisplayMode::RunQsw,
                                   DisplayMode::RunKvx40At9600, DisplayMode::RunFromFile}) {
        ChartData run;
        run.DisplayMode = mode;
        run.TargetChartActive = false;
        run.PrintDateText = QStringLiteral("14.03.24 09:15");
        run.Rows.resize(10);
        QString error;
        ASSERT_TRUE(WriteChartPdf(run, {1}, false, when, path, &error)) << qPrintable(error);
        const bool today = mode == DisplayMode::RunSimulation;
        EXPECT_TRUE(pdfText(path, 1).contains(today ? QStringLiteral("Druckdatum: 24.12.26 08:05")
                                                    : QStringLiteral("Druckdatum: 14.03.24 09:15")))
            << int(mode);
    }
}

TEST(PrintedPages, FilesAreWrittenWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const ChartData chart = targetPlan(150, 2);
    QString error;
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/plan.pdf"));
    EXPECT_FALSE(WriteChartPdf(chart, {1}, true, QDateTime::currentDateTime(), missing, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(missing));

    ASSERT_TRUE(WriteChartPngs(chart, {1, 3}, true, 400, dir.filePath(QStringLiteral("plan")), &error));
    const QImage first(dir.filePath(QStringLiteral("plan-1.png")));
    EXPECT_EQ(first.width(), 400);
    EXPECT_EQ(first.height(), 400 * 1000 / 771);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("plan-3.png"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("plan-2.png"))));
}
