// The capture tick over a controller printout and over the simulation program's files.

#include "actual/actualrunfile.h"
#include "capturerig.h"
#include "data/namesfile.h"
#include "qtprinters.h"
#include "streamlines.h"
#include "tempdir.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <random>

namespace {

const QByteArray kEightGroups = dataLine('1', QList<QByteArray>(8, " R "));

// The header of the KVX transcript, ready for data lines; then `seconds` data lines.
void receiveHeader(CaptureRig &rig, int seconds = 0)
{
    for (const QByteArray &line : transcriptLines(kKvxTranscript)) {
        if (line.startsWith(" P"))
            break;
        rig.line(line);
    }
    ASSERT_TRUE(rig.capture.dataPhase());
    for (int s = 0; s < seconds; ++s)
        rig.line(kEightGroups);
}

// The one message the ticks returned, an error: text and caption.
QStringList toldOnce(const CaptureRig &rig)
{
    EXPECT_EQ(rig.told.size(), 1u);
    EXPECT_TRUE(rig.told.empty() || rig.told[0].icon == PromptIcon::Error);
    return rig.told.empty() ? QStringList() : QStringList({rig.told[0].text, rig.told[0].caption});
}

TEST(Capture, StartSetsUpTheStreamPortAndTheLink)
{
    const struct {
        DisplayMode mode;
        int controllerPort, baud, stopBits, linkBaud;
        const char *source;
    } modes[] = {{DisplayMode::RunKvx, 1, 1200, 2, 9600, "(Ist-Druck, KVX)"},
                 {DisplayMode::RunKvx40At1200, 1, 1200, 2, 57600, "(Ist-Druck, KVX)"},
                 {DisplayMode::RunKvx40At9600, 1, 9600, 2, 57600, "(Ist-Druck, KVX)"},
                 {DisplayMode::RunKvx40At19200, 1, 19200, 2, 57600, "(Ist-Druck, KVX)"},
                 {DisplayMode::RunQsw, 1, 1200, 1, 0, "(Ist-Druck, QSW)"},
                 // without a configured controller port a KVX capture just waits
                 {DisplayMode::RunKvx, -1, 1200, 2, 0, "(Ist-Druck, KVX)"}};
    for (const auto &m : modes) {
        CaptureRig rig(m.controllerPort);
        rig.printer.inject("stale bytes");
        rig.capture.Start(m.mode);
        EXPECT_EQ(QList<int>({rig.printer.baudRate, rig.printer.stopBits, int(rig.printer.bytesWaiting()),
                              rig.controller.baudRate, rig.controller.outputFlushes, rig.ctx.StartRequest.waitingForData(),
                              rig.capture.printButtonsEnabled(), rig.capture.PageCount()}),
                  QList<int>({m.baud, m.stopBits, 0, m.linkBaud, m.linkBaud ? 1 : 0, m.linkBaud != 0, false, 1}));
        EXPECT_EQ(rig.capture.chart().ChartTitle, m.source);  // the caption is the transcript test's first
    }
}

TEST(Capture, SilentKvxControllerIsAskedToPrintThenGivenUp)
{
    CaptureRig rig;
    rig.capture.Start(DisplayMode::RunKvx);
    for (int tick = 1; tick <= 50; ++tick) {
        ASSERT_FALSE(rig.tick().closeWindow) << "tick " << tick;
        EXPECT_EQ(rig.printCommandSent(), tick == 16 ? 2 : -1) << "tick " << tick;  // once, after 15 silent ticks
    }
    EXPECT_TRUE(rig.ctx.StartRequest.startRequestPending());
    EXPECT_TRUE(rig.tick().closeWindow);  // the 51st
    rig.tick();
    EXPECT_EQ(toldOnce(rig), QStringList({"Es werden keine Daten zum Drucken empfangen !\n"
                                          "Bitte Verbindung und Baudrateneinstellung prüfen !",
                                          "Fehler"}));
    EXPECT_FALSE(rig.ctx.StartRequest.waitingForData() || rig.capture.running());
}

// A line ends the waiting; so does a start request that failed on the link.
TEST(Capture, WaitingEndsWithALineOrAFailedRequest)
{
    CaptureRig rig, failed;
    rig.capture.Start(DisplayMode::RunKvx40At9600);
    failed.capture.Start(DisplayMode::RunKvx);
    for (int tick = 0; tick < 20; ++tick)
        rig.tick();
    rig.line("        ------------");
    failed.ctx.StartRequest.linkFailed();
    for (int tick = 0; tick < 100; ++tick) {
        rig.tick();
        failed.tick();
    }
    EXPECT_TRUE(!rig.ctx.StartRequest.waitingForData() && rig.capture.running());
    EXPECT_TRUE(rig.told.empty() && failed.told.empty());
}

// The bundled .DRI, with the example's group names, is the golden file of the KVX transcript.
TEST(Capture, TranscriptBecomesTheBundledRunLineByLine)
{
    CaptureRig rig;
    ASSERT_TRUE(readNamesFile(rig.ctx.data, QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/Hauptstrasse-Schulweg/NAMEN.DAT")));
    rig.capture.Start(DisplayMode::RunKvx);
    rig.printer.inject(transcriptBytes(kKvxTranscript));  // all waiting; each tick takes one line
    QStringList captions;
    int rowsAdded = 0, chartStarts = 0;
    QList<int> turns;
    for (const QByteArray &line : transcriptLines(kKvxTranscript)) {
        const CaptureUpdate u = rig.tick();
        EXPECT_TRUE(u.linesChanged && !u.cleared);
        EXPECT_EQ(rig.capture.receivedLines().last().toLatin1(), line);
        if (captions.isEmpty() || captions.last() != rig.capture.caption())
            captions << rig.capture.caption();
        rowsAdded += u.rowAdded;
        chartStarts += u.chartStarted;
        if (u.pageTurnTo >= 0)
            turns << u.pageTurnTo;
    }
    EXPECT_EQ(captions, QStringList({"Drucker Vorschau grafisch Ist-Druck Steuerung - Erwarte Daten",
                                     "Drucker Vorschau grafisch Ist Druck Steuerung - Empfange Kopf-Daten",
                                     "Drucker Vorschau grafisch Ist Druck Steuerung - Empfange Daten - SCHULW01"}));
    EXPECT_EQ(QList<int>({rowsAdded, chartStarts, rig.capture.PageCount(), rig.capture.CurrentProgram()}),
              QList<int>({250, 1, 4, 2}));
    EXPECT_EQ(turns, QList<int>({100, 200}));
    EXPECT_TRUE(rig.capture.printButtonsEnabled() && rig.told.empty());
    EXPECT_EQ(EncodeActualRunFile(rig.capture.run()),
              readBytes(QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/transcripts/Hauptstrasse-Schulweg-KVX900.DRI")));
    // The chart the window draws follows the run.
    const ChartData &chart = rig.capture.chart();
    EXPECT_EQ(QStringList({chart.DataName, chart.PrintDateText, chart.ControllerTypeText}),
              QStringList({"SCHULW01", "14.03.24 09:15", "KVX 900   "}));
    EXPECT_EQ(QList<int>({int(chart.Rows.size()), chart.ActiveGroupCount, chart.StartProgram}), QList<int>({250, 8, 1}));
}

TEST(Capture, HeaderFieldsAPrintoutLeavesOutKeepWhatTheLastOneSet)
{
    CaptureRig rig;
    rig.capture.Start(DisplayMode::RunKvx);
    const QList<QByteArray> lines = transcriptLines(kKvxTranscript);
    ASSERT_TRUE(lines[24].startsWith(" Gruppe"));
    for (int i = 0; i < 30; ++i)
        rig.line(lines[i]);
    rig.capture.Finish();
    // Without banner and legend the header ends at " Gruppe" as the last banner decided.
    ActualRunCapture next(rig.ctx.captureContext(), {&rig.printer, &rig.controller, &rig.link});
    next.Start(DisplayMode::RunKvx);
    for (const QByteArray &line : {lines[1], lines[4], QByteArray(lines[10]).replace("SCHULW01", "ZWEITES "),
                                   lines[24], lines[25], lines[26]}) {
        rig.printer.inject(line + "\r\n");
        EXPECT_FALSE(next.ScanDataTimer(0).message);
    }
    EXPECT_EQ(QStringList({QString::number(next.RowCount()), next.chart().DataName, next.chart().BannerText.right(4),
                           QString::number(next.chart().ProgramSnapshot.CycleTime)}),
              QStringList({"2", "ZWEITES", "6.30", "70"}));
}

TEST(Capture, ReceivedDataWindowKeepsTenLinesAndStartsAfreshWithAPrintout)
{
    CaptureRig rig(-1);
    rig.capture.Start(DisplayMode::RunQsw);
    for (int i = 0; i < 12; ++i)
        rig.line("Zeile " + QByteArray::number(i));
    EXPECT_EQ(rig.capture.receivedLines().size(), 10);
    EXPECT_EQ(rig.capture.receivedLines().first(), "Zeile 2");
    rig.line("        ------------");
    EXPECT_EQ(rig.capture.receivedLines(), QStringList({"        ------------"}));
}

// Short lines and noise are no printout; a longer non-data line clears the run or ends a headless capture.
TEST(Capture, NextPrintoutRestartsOrEndsTheCapture)
{
    for (const bool headless : {false, true}) {
        SCOPED_TRACE(headless ? "headless" : "window");
        CaptureRig rig;
        rig.capture.setEndAtNewPrintout(headless);
        rig.capture.Start(DisplayMode::RunKvx);
        receiveHeader(rig, 5);
        for (const QByteArray &notNext : {QByteArray(11, 'x'), QByteArray(), QByteArray("  Ende  "),
                                          QByteArray("\x13\xfe\x01" "ab\x7f" "cdefghijklmnop")}) {
            const CaptureUpdate u = rig.line(notNext);
            EXPECT_FALSE(u.cleared || u.rowAdded || u.printoutEnded);
        }
        ASSERT_EQ(rig.capture.RowCount(), 5);
        ASSERT_TRUE(rig.capture.dataPhase());
        const CaptureUpdate u = rig.line("Neuer Druck ");
        EXPECT_EQ(QList<bool>({u.cleared, u.printoutEnded, rig.capture.running()}),
                  QList<bool>({!headless, headless, !headless}));
        EXPECT_EQ(rig.capture.RowCount(), headless ? 5 : 0);
        if (headless)
            continue;
        EXPECT_EQ(QList<int>({int(rig.capture.chart().Rows.size()), rig.capture.chart().StartProgram, rig.capture.PageCount(),
                              rig.capture.dataPhase(), rig.capture.chartReady(), rig.capture.printButtonsEnabled()}),
                  QList<int>({0, 0, 1, false, false, false}));
        EXPECT_EQ(rig.capture.caption(), "Drucker Vorschau grafisch Ist Druck Steuerung - Erwarte Daten");
        // The next printout's header brings the data phase back; its first line starts the chart again.
        receiveHeader(rig);
        EXPECT_TRUE(rig.line(dataLine('3', QList<QByteArray>(8, " Gr"))).chartStarted);
        EXPECT_EQ(QList<int>({rig.capture.chart().StartProgram, rig.capture.RowCount()}), QList<int>({3, 1}));
    }
}

TEST(Capture, DataLineBeforeAnyHeaderMeansAPrintoutIsStillActive)
{
    CaptureRig rig;
    rig.capture.Start(DisplayMode::RunKvx);
    rig.line("        ------------");
    const CaptureUpdate u = rig.line(kEightGroups);
    EXPECT_TRUE(u.closeWindow && !u.rowAdded && !rig.capture.running() && rig.capture.RowCount() == 0);
    EXPECT_EQ(toldOnce(rig),
              QStringList({"Es ist noch ein Druckvorgang aktiv!\nDieser muss zuerst beendet werden.\n", "Fehler"}));
}

TEST(Capture, AutomaticStopFromTheConfiguredMinute)
{
    for (const int autoEnd : {1, 0}) {
        CaptureRig rig;
        rig.ctx.settings.AutoEndCapture = autoEnd;
        rig.ctx.settings.CaptureMinutes = 1;
        rig.capture.Start(DisplayMode::RunKvx40At19200);
        receiveHeader(rig);
        // The stop request goes out with the 60th second and with every later one.
        for (int second = 1; second <= 70; ++second) {
            rig.line(kEightGroups);
            ASSERT_EQ(rig.printCommandSent(), autoEnd && second >= 60 ? 3 : -1) << "second " << second;
        }
        rig.line("          ");
        EXPECT_EQ(rig.printCommandSent(), -1);
    }
}

TEST(Capture, ViewFollowsTheFilledPageOnlyUpToTheRunsLimit)
{
    // {rows before the new one, shown page start, page start after}
    const int cases[][3] = {{100, 0, 100},  {150, 50, 150}, {1100, 1000, 1100},
                            // the user paged elsewhere: the view stays
                            {200, 0, 0}, {150, 0, 0}, {100, 50, 50}, {99, 0, 0}, {0, 0, 0},
                            // the last page of a full run is not left
                            {1200, 1100, 1100}};
    for (const auto &c : cases)
        EXPECT_EQ(FollowedPageStart(c[0], c[1]), c[2]) << c[0] << " " << c[1];

    // The run holds 1200 seconds; later data lines are counted, not kept.
    CaptureRig rig;
    rig.capture.Start(DisplayMode::RunKvx);
    receiveHeader(rig, 1200);
    for (int line = 0; line < 5; ++line) {
        const CaptureUpdate u = rig.line(kEightGroups);
        EXPECT_TRUE(!u.rowAdded && u.pageTurnTo == -1);
    }
    EXPECT_EQ(QList<int>({rig.capture.RowCount(), rig.capture.DroppedSeconds(), rig.capture.PageCount(), rig.pageStart}),
              QList<int>({1200, 5, 13, 1100}));
    EXPECT_TRUE(rig.capture.running());
}

// A loose cable: a megabyte of random bytes without a line feed, then a printout, read as if alone.
TEST(Capture, NoiseBeforeAPrintoutIsDropped)
{
    std::mt19937 random(20261207);
    QByteArray noise(1 << 20, Qt::Uninitialized);
    for (char &c : noise) {
        do
            c = char(random());
        while (c == '\n');
    }
    const QByteArray printout = transcriptBytes(kQswTranscript);
    ASSERT_TRUE(printout.startsWith("\r\n"));  // its first line end closes the noise
    CaptureRig clean(-1), disturbed(-1);
    clean.capture.Start(DisplayMode::RunQsw);
    disturbed.capture.Start(DisplayMode::RunQsw);
    clean.printer.inject(printout);
    disturbed.printer.inject(noise + printout);
    for (int tick = 0; tick < 256 + 180; ++tick) {
        clean.tick();
        disturbed.tick();
    }
    const ActualRun &run = clean.capture.run();
    ASSERT_EQ(run.Rows.size(), 150u);
    EXPECT_EQ(EncodeActualRunFile(disturbed.capture.run()), EncodeActualRunFile(run));
    EXPECT_TRUE(disturbed.told.empty());
    // The flag rows of a header that ends at " V.>Max".
    EXPECT_EQ(QList<int>({run.ProgramRecord.PermanentDemand[3], run.ProgramRecord.Extend[2],
                          run.ProgramRecord.ExtendBeyondMax[0], run.ProgramRecord.ExtendBeyondMax[1]}),
              QList<int>({1, 1, 1, 0}));
}

TEST(Capture, LostPortStopsTheCaptureOnceAndKeepsTheRows)
{
    CaptureRig rig;
    rig.capture.Start(DisplayMode::RunKvx);
    receiveHeader(rig, 2);
    rig.printer.vanished = true;  // the adapter is pulled out: the port stays open, its device is gone
    EXPECT_TRUE(rig.tick().portLost);
    rig.tick();
    EXPECT_EQ(toldOnce(rig), QStringList({"Die Verbindung zur Druckerschnittstelle ist unterbrochen !\n"
                                          "Der Empfang ist beendet, die bisher empfangenen Daten bleiben erhalten.",
                                          "Zugriffsfehler"}));
    EXPECT_TRUE(!rig.capture.running() && rig.capture.portLost());
    EXPECT_EQ(rig.capture.RowCount(), 2);
}

const QDateTime kStart(QDate(2024, 3, 14), QTime(9, 0, 0));

TEST(SimulationFiles, PackedStampsCountTwoSecondSteps)
{
    const uint32_t start = (44u << 25) | (3u << 21) | (14u << 16) | (9u << 11);
    EXPECT_EQ(QList<uint32_t>({PackedStamp(kStart), PackedStamp(kStart.addSecs(1)), PackedStamp(kStart.addSecs(2)),
                               PackedStamp(kStart.addSecs(60))}),
              QList<uint32_t>({start, start, start + 1, start + 32}));
}

TEST(SimulationFiles, HeaderFirstThenTheOldestDataFile)
{
    QTemporaryDir dir;
    const SimulationFiles files(dir.path());
    const uint32_t start = PackedStamp(kStart);
    uint32_t stamp = 0;
    EXPECT_EQ(files.ChooseNext(start, 0, &stamp), -1);

    // Data files only count when newer than the start.
    writeSimFile(dir.path(), 4, "x", kStart.addSecs(1));  // same two seconds as the start
    EXPECT_EQ(files.ChooseNext(start, 0, &stamp), -1);
    writeSimFile(dir.path(), 5, "x", kStart.addSecs(10));
    writeSimFile(dir.path(), 3, "x", kStart.addSecs(7));
    writeSimFile(dir.path(), 2, "x", kStart.addSecs(6));  // one second before D3, the same stamp
    EXPECT_EQ(files.ChooseNext(start, 0, &stamp), 2);
    EXPECT_EQ(stamp, PackedStamp(kStart.addSecs(6)));
    files.Delete(2);
    EXPECT_EQ(files.ChooseNext(start, 0, &stamp), 3);
    files.Delete(3);
    EXPECT_EQ(files.ChooseNext(start, 0, &stamp), 5);

    // A newer header comes first; after it only data files newer than the header count.
    writeSimFile(dir.path(), 0, "header", kStart.addSecs(10));
    EXPECT_EQ(files.ChooseNext(start, 0, &stamp), 0);
    files.Delete(0);
    EXPECT_EQ(files.ChooseNext(start, stamp, &stamp), -1);  // D5 is as old as the header
    writeSimFile(dir.path(), 9, "x", kStart.addSecs(12));
    EXPECT_EQ(files.ChooseNext(start, PackedStamp(kStart.addSecs(10)), &stamp), 9);

    // Files from days later are not taken; neither is a header not newer than the start.
    writeSimFile(dir.path(), 9, "x", kStart.addDays(2));
    EXPECT_EQ(files.ChooseNext(start, PackedStamp(kStart.addSecs(10)), &stamp), -1);
    writeSimFile(dir.path(), 0, "header", kStart);
    EXPECT_EQ(files.ChooseNext(start, PackedStamp(kStart.addSecs(10)), &stamp), -1);
}

struct SimRig : CaptureRig {
    QTemporaryDir dir;
    SimRig()
    {
        ctx.settings.SimulatorWorkDir = dir.path();
        capture.setClock([] { return kStart; });
    }
};

const QByteArray kSimHeader = "        ------------------\r\n"
                              + placeAt(placeAt("    Sim  Velkinor", 17, "Simulation"), 64, "14.03.24 09:00")
                              + "\r\n        Programmname  : C:\\VELKINOR\\KREUZUNG.SIM\r\n"
                              + placeAt("        Gruppenzahl   :", 25, " 3") + "\r\n";

TEST(SimulationCapture, ReadsTheHeaderThenOneSecondPerFile)
{
    SimRig rig;
    for (const int file : {0, 9})
        writeSimFile(rig.dir.path(), file, "alt", kStart.addSecs(-60));
    rig.capture.Start(DisplayMode::RunSimulation);
    EXPECT_TRUE(QDir(rig.dir.path()).entryList(QDir::Files).isEmpty());  // the files of an earlier run are gone
    EXPECT_EQ(QStringList({rig.capture.caption(), rig.capture.chart().ChartTitle}),
              QStringList({"Drucker Vorschau grafisch Ist-Druck Simulation - Erwarte Daten", "(Ist-Druck, Sim. Programm)"}));
    EXPECT_FALSE(rig.tick().cleared);

    writeSimFile(rig.dir.path(), 0, kSimHeader, kStart.addSecs(4));
    writeSimFile(rig.dir.path(), 1, dataLine('1', {" Gr", "*R ", " B "}) + "\r\n", kStart.addSecs(6));
    writeSimFile(rig.dir.path(), 2, dataLine('2', {" Ge", " R ", " B "}) + "\r\n", kStart.addSecs(8));
    writeSimFile(rig.dir.path(), 3, "kein Datensatz\r\n", kStart.addSecs(10));
    writeSimFile(rig.dir.path(), 4, dataLine('2', {" R ", " RG", "   "}) + "\r\n", kStart.addSecs(12));

    EXPECT_TRUE(rig.tick().cleared);
    EXPECT_TRUE(rig.capture.printButtonsEnabled() && rig.capture.dataPhase());
    EXPECT_EQ(QStringList({rig.capture.caption(), rig.capture.chart().ControllerTypeText,
                           QString::number(rig.capture.chart().HeaderGroupCount)}),
              QStringList({"Drucker Vorschau Ist-Druck Simulation - KREUZUNG", "Simulation", "3"}));

    EXPECT_TRUE(rig.tick().chartStarted);
    // One second per file; a file without a data line adds none. Each is removed once read.
    QList<bool> added;
    for (int tick = 0; tick < 4; ++tick)
        added << rig.tick().rowAdded;
    EXPECT_EQ(added, QList<bool>({true, false, true, false}));
    EXPECT_TRUE(QDir(rig.dir.path()).entryList(QDir::Files).isEmpty());

    const ActualRun &run = rig.capture.run();
    ASSERT_EQ(run.Rows.size(), 3u);
    EXPECT_EQ(QList<int>({run.Rows[0].State[0], run.Rows[0].DetectorActive[1], run.Rows[1].ProgramNumber,
                          run.Rows[2].State[1], run.StartProgram}),
              QList<int>({2, 1, 2, 3, 1}));
    EXPECT_TRUE(rig.told.empty() && rig.capture.running());

    // A new header file starts a new run.
    writeSimFile(rig.dir.path(), 0, kSimHeader, kStart.addSecs(20));
    EXPECT_TRUE(rig.tick().cleared);
    EXPECT_TRUE(rig.capture.RowCount() == 0 && !rig.capture.chartReady());
}

TEST(SimulationCapture, DataFileBeforeTheHeaderIsReportedAndCleared)
{
    SimRig rig;
    rig.capture.Start(DisplayMode::RunSimulation);
    writeSimFile(rig.dir.path(), 1, dataLine('1', {" Gr"}) + "\r\n", kStart.addSecs(4));
    writeSimFile(rig.dir.path(), 2, dataLine('1', {" Gr"}) + "\r\n", kStart.addSecs(6));
    const CaptureUpdate u = rig.tick();
    EXPECT_EQ(toldOnce(rig).value(0), kPrintoutActiveMessage);
    EXPECT_TRUE(!u.closeWindow && rig.capture.running());  // the window stays for the next run
    EXPECT_TRUE(QDir(rig.dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(rig.capture.RowCount(), 0);
}

}  // namespace
