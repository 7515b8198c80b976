// End-to-end runs of "signovat states", "render" and "compare".

#include "datasetwriter.h"
#include "render/chartexport.h"
#include "render/datasetchart.h"
#include "render/plancanvas.h"
#include "tempdir.h"

#include <QImage>
#include <QPageLayout>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {
struct ProcessResult {
    int exitCode = -1;
    QString out, err;
};

ProcessResult run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

ProcessResult signovat(const QStringList &args)
{
    return run(QStringLiteral(SIGNOVAT_BINARY), args);
}

const QString kExample = QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/Hauptstrasse-Schulweg");

// Three groups. Program 1: cycle 12; group 1 green 2-6 with red+yellow 1 and
// yellow 2, group 2 green 8-2 over the cycle end, group 3 without green. Its
// switch-on program: 2 s (group 1 red, group 2 yellow), 1 s all green.
// Program 2 is released but 2000 s long; program 3 is not released.
void writeThreeGroups(const QString &dir, bool fixedTime = true)
{
    InstallationData d;
    d.Header.GroupCount = 3;
    d.Header.FixedTimeMode = fixedTime ? 1 : 0;
    d.Header.ProgramReleased = {1, 1};
    SignalProgram &p = d.Programs[0];
    p.CycleTime = 12;
    p.GreenFrom1 = {2, 8};
    p.GreenTo1 = {6, 2};
    p.RedYellowTime[0] = 1;
    p.YellowTime[0] = 2;
    d.Programs[1].CycleTime = 2000;
    d.SwitchOnSteps[0] = {2, {1}, {0, 1}, {}};
    d.SwitchOnSteps[1] = {1, {}, {}, {1, 1, 1}};
    QString error;
    ASSERT_TRUE(writeDataSet(d, dir, error)) << qPrintable(error);
}

// Lines the command wrote itself (the platform may add its own warnings).
int ownLines(const QString &err)
{
    return int(err.split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^signovat "))).size());
}

// The printer's metric set of an A4 landscape PDF page.
PlanMetrics pdfMetrics()
{
    return PlanMetrics::ForPrinter(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()).paintRectPixels(kPdfResolution).width(),
        kPdfResolution);
}

// The first page of a PDF, rasterised by pdftoppm at 150 dpi.
QImage pdfAt150(const QString &pdf)
{
    EXPECT_EQ(run(QStringLiteral("pdftoppm"), {"-r", "150", "-png", "-singlefile", pdf, pdf + "-raster"}).exitCode, 0);
    return QImage(pdf + QStringLiteral("-raster.png"));
}

bool hasRed(const QImage &image)
{
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            if (image.pixelColor(x, y) == QColor(255, 0, 0))
                return true;
    return false;
}

TEST(StatesCommand, PrintsEverySecondOfTheChart)
{
    QTemporaryDir dir;
    writeThreeGroups(dir.path());
    ProcessResult r = signovat({"states", "--data", dir.path(), "--program", "1"});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QStringLiteral("second,1,2,3\n"
                                    "0,1,2,0\n1,3,2,0\n2,2,1,0\n3,2,1,0\n4,2,1,0\n5,2,1,0\n"
                                    "6,4,1,0\n7,4,1,0\n8,1,2,0\n9,1,2,0\n10,1,2,0\n11,1,2,0\n"));
    r = signovat({"states", "--data", dir.path(), "--program", "1", "--chart", "ein"});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QStringLiteral("second,1,2,3\n0,1,4,0\n1,1,4,0\n2,2,2,2\n"));
}

TEST(ChartCommands, RefuseWithOneLineAndWriteNothing)
{
    QTemporaryDir dir, variable, empty;
    writeThreeGroups(dir.path());
    writeThreeGroups(variable.path(), false);
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    const QString noData = "Im Verzeichnis " + empty.path() + " wurden keine Anlagendaten gefunden.";
    const struct {
        QStringList args;
        QString reason;
    } cases[] = {
        {{"states", "--data", dir.filePath("missing"), "--program", "1"}, "nicht gefunden"},
        {{"states", "--data", empty.path(), "--program", "1"}, "signovat states: " + noData},
        {{"info", "--data", empty.path()}, "signovat info: " + noData},
        {{"states", "--data", dir.path(), "--program", "7"}, "Programm 7"},
        {{"states", "--data", dir.path(), "--program", "3"}, "nicht freigegeben"},
        {{"states", "--data", dir.path(), "--program", "2"}, "1200 Sekunden"},
        {{"states", "--data", variable.path(), "--program", "1"}, "Es kann nur ein Sollausdruck"},
        {{"render", "--data", dir.path(), "--program", "1", "--out", pdf, "--pages", "3"}, "Seite 3"},
        {{"render", "--data", dir.path(), "--program", "1", "--out", dir.filePath("no/such/plan.pdf")},
         "Datei " + dir.filePath("no/such/plan.pdf") + " kann nicht geschrieben werden: "},
    };
    for (const auto &c : cases) {
        const ProcessResult r = signovat(c.args);
        EXPECT_EQ(r.exitCode, 1) << qPrintable(c.args.join(' '));
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(ownLines(r.err), 1) << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(c.reason)) << qPrintable(r.err);
    }
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_FALSE(QFile::exists(dir.filePath("no/such/plan.pdf")));
}

TEST(RenderCommand, PdfOfTheExampleIsThePrintedPlan)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("plan.pdf"));
    const ProcessResult r = signovat({"render", "--data", kExample, "--program", "1", "--out", pdf});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);

    const ProcessResult info = run(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.out.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n")))) << qPrintable(info.out);
    EXPECT_TRUE(info.out.contains(QStringLiteral("landscape")) || info.out.contains(QStringLiteral("842 x 595")));
    EXPECT_TRUE(info.out.contains(QStringLiteral("Title:           (Sollplan), Hauptstrasse-Schulweg\n")));
    EXPECT_TRUE(info.out.contains(QRegularExpression(QStringLiteral("Creator: +Signovat \\d+\\.\\d+\\.\\d+\n"))));
    const QString text = run(QStringLiteral("pdftotext"), {"-layout", pdf, "-"}).out;
    for (const char *line : {"Torvemark Signaltechnik GmbH", "Standort:",
                             "Seite 1 von 2 Seiten (Sollplan), Hauptstrasse-Schulweg",
                             "Seite 2 von 2 Seiten (Sollplan), Hauptstrasse-Schulweg (P1)"})
        EXPECT_TRUE(text.contains(QLatin1String(line))) << line;
}

TEST(RenderCommand, PngPagesAtThePreviewWidth)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("plan"));
    ProcessResult r = signovat({"render", "--data", kExample, "--program", "1", "--out", base + ".png"});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(QImage(base + "-1.png").size(), QSize(771, 1000));
    EXPECT_TRUE(hasRed(QImage(base + "-2.png")));
    EXPECT_FALSE(QFile::exists(base + "-3.png"));

    r = signovat({"render", "--data", kExample, "--program", "1", "--out", base + "w.png", "--pages", "2",
                  "--width", "1200", "--bw"});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    const QImage wide(base + "w-2.png");
    EXPECT_EQ(wide.size(), QSize(1200, 1200 * 1000 / 771));
    EXPECT_FALSE(hasRed(wide));
    EXPECT_FALSE(QFile::exists(base + "w-1.png"));
}

// The printed pages as SVG: one well-formed image per page, --width wide.
TEST(RenderCommand, SvgPagesAtTheGivenWidth)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("plan"));
    const ProcessResult r =
        signovat({"render", "--data", kExample, "--program", "1", "--out", base + ".svg", "--width", "1200"});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    for (int page : {1, 2}) {
        QFile file(QStringLiteral("%1-%2.svg").arg(base).arg(page));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page;
        QXmlStreamReader xml(&file);
        ASSERT_TRUE(xml.readNextStartElement());
        EXPECT_EQ(xml.name(), QStringLiteral("svg"));
        EXPECT_EQ(xml.attributes().value(QStringLiteral("viewBox")), QStringLiteral("0 0 1200 848"));
        while (!xml.atEnd())
            xml.readNext();
        EXPECT_FALSE(xml.hasError()) << qPrintable(xml.errorString());
    }
}

TEST(RenderCommand, PaperColourFollowsTheSettingUnlessTold)
{
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("settings.ini"));
    ASSERT_TRUE(writeBytes(settings, "[SecInt]\nVERSION=210\nIST_FARBE=0\n"));
    const auto renderPage2 = [&](const QStringList &extra) {
        const QString pdf = dir.filePath(QStringLiteral("p.pdf"));
        QFile::remove(pdf);
        const ProcessResult r = signovat(QStringList{"--settings", settings, "render", "--data", kExample, "--program",
                                                     "1", "--out", pdf, "--pages", "2"} + extra);
        EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
        run(QStringLiteral("pdftoppm"), {"-r", "40", "-png", "-singlefile", pdf, dir.filePath(QStringLiteral("p"))});
        return QImage(dir.filePath(QStringLiteral("p.png")));
    };
    EXPECT_FALSE(hasRed(renderPage2({})));
    EXPECT_TRUE(hasRed(renderPage2({QStringLiteral("--colour")})));
}

// A one-dot line, 1/600 inch, is a faint grey at 150 dpi if it shows at all.
TEST(RenderCommand, BlackAndWhiteBarsHaveSolidOutlines)
{
    ChartData chart;
    QString error;
    ASSERT_TRUE(OpenDataSetChart(kExample, QString(), 1, DisplayMode::TargetPlan, chart, &error)) << qPrintable(error);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("bw.pdf"));
    ASSERT_EQ(signovat({"render", "--data", kExample, "--program", "1", "--bw", "--pages", "2", "--out", pdf}).exitCode, 0);
    const QImage page = pdfAt150(pdf);
    const PlanMetrics m = pdfMetrics();
    const int scale = kPdfResolution / 150, h = m.BarHeight;
    const int x = (m.SecondX(50) + m.SpanWidth / 200) / scale;  // the middle of second 50
    ASSERT_GT(chart.ActiveGroupCount, 0);
    for (int row = 0; row < chart.ActiveGroupCount; ++row) {
        const int top = m.LeftMargin + m.AxisLineStep() + 2 * h + row * m.RowPitch();
        int dark = 0, thickest = 0;
        for (int y = (top - h / 2) / scale; y <= (top + h / 2) / scale; ++y) {
            dark = qGray(page.pixel(x, y)) < 128 ? dark + 1 : 0;
            thickest = std::max(thickest, dark);
        }
        EXPECT_GE(thickest, 1) << "row " << row + 1;
    }
}

// Type -1 (0xFFFFFFFF in KONF.DAT) is a KVX: its charts have all 24 group
// rows, and info says so.
TEST(ChartCommands, TypeMinusOneShowsTwentyFourGroupRows)
{
    InstallationData d;
    d.Konf.InstallationType = 0xFFFFFFFF;
    d.Header.GroupCount = kGroupCount;
    d.Header.FixedTimeMode = 1;
    d.Header.ProgramReleased[0] = 1;
    d.Programs[0].CycleTime = 10;
    QTemporaryDir data;
    QString error;
    ASSERT_TRUE(writeDataSet(d, data.path(), error)) << qPrintable(error);
    EXPECT_TRUE(signovat({"info", "--data", data.path()}).out.contains("Gruppenzeilen im Plan: 24\n"));
    const ProcessResult r = signovat({"states", "--data", data.path(), "--program", "1"});
    EXPECT_TRUE(r.out.startsWith("second,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24\n"))
        << qPrintable(r.out);
}

// Exits as diff does: 0 as planned, 1 deviations, 2 bad input.
TEST(CompareCommand, TheExampleRunsAgainstTheirPlan)
{
    const QString runs = QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/transcripts/Hauptstrasse-Schulweg-KVX900");
    const ProcessResult same = signovat({"compare", "--data", kExample, "--run", runs + ".DRI"});
    EXPECT_EQ(same.exitCode, 0) << same.err.toStdString();
    EXPECT_TRUE(same.out.contains(QStringLiteral("Programm 2, Sekunden 140–249 (110 s)\n  Versatz (Tx bei Beginn): 0 s\n"
                                                 "  Übereinstimmung: 100,0 % (880 von 880 Zellen)")));
    const ProcessResult arrow = signovat({"compare", "--data", kExample, "--run", runs + "-Pfeil.DRI"});
    EXPECT_EQ(arrow.exitCode, 1);
    EXPECT_TRUE(arrow.out.contains(QStringLiteral("  Gruppe 3 K3 Pfeil: 3 s abweichend, 110–112 Soll Gelb, Ist Grün\n")));
    const ProcessResult csv = signovat({"compare", "--csv", "--data", kExample, "--run", runs + "-Pfeil.DRI"});
    EXPECT_EQ(std::pair(csv.exitCode, csv.out),
              std::pair(1, QStringLiteral("program,offset,group,from,to,target,actual\n1,0,3,110,112,4,2\n")));

    QTemporaryDir empty, header;  // header: a new program's KOPF.DAT only, so no program has a plan
    ASSERT_TRUE(writeBytes(header.filePath("KOPF.DAT"), packDataFile(InstallationData{}, DataFile::Kopf)));
    // The printed band, at the place the printer's metric set gives it: group 3, second 111 of page 3.
    const QString pdf = empty.filePath("band.pdf");
    const ProcessResult drawn = signovat({"render", "--run", runs + "-Pfeil.DRI", "--compare", kExample, "--colour",
                                          "--pages", "3", "--out", pdf});
    ASSERT_EQ(drawn.exitCode, 0) << drawn.err.toStdString();
    const QImage page = pdfAt150(pdf);
    const PlanMetrics m = pdfMetrics();
    const int h = m.BarHeight, y = m.LeftMargin + m.AxisLineStep() + 2 * h + 2 * m.RowPitch() + 8 * h / 5 + 3 * h / 20;
    const int scale = kPdfResolution / 150;
    EXPECT_EQ(page.pixelColor((m.SecondX(11) + m.SpanWidth / 200) / scale, y / scale),
              PlanColour::Deviation);
    const QString damaged = empty.filePath(QStringLiteral("x.DRI"));
    ASSERT_TRUE(writeBytes(damaged, QByteArray(10, 'x')));
    for (const QStringList &args : {QStringList{"--data", empty.filePath("fehlt"), "--run", runs + ".DRI"},
                                    QStringList{"--data", kExample, "--run", damaged},
                                    QStringList{"--data", header.path(), "--run", runs + ".DRI"},
                                    QStringList{"--data", empty.path(), "--run", runs + ".DRI"}, QStringList{}}) {
        const ProcessResult bad = signovat(QStringList{"compare"} + args);
        EXPECT_EQ(std::tuple(bad.exitCode, ownLines(bad.err), bad.out), std::tuple(2, 1, QString()))
            << bad.err.toStdString();
        EXPECT_EQ(bad.err.contains(" wurden keine Anlagendaten gefunden.\n"), args.contains(empty.path()));
    }
}

}  // namespace
