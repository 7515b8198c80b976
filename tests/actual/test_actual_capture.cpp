// The capture tick of a controller printout: start and stop requests, the
// header and data phases, restarts, paging, the run's limits, noise and port
// loss. The windows only show what it returns.

#include "actual/actualrunfile.h"
#include "capturerig.h"
#include "data/namesfile.h"
#include "qtprinters.h"
#include "streamlines.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The header of the KVX transcript, ready for data lines.
void receiveHeader(CaptureRig &rig)
{
    for (const QByteArray &line : transcriptLines(kKvxTranscript)) {
        if (line.startsWith(" P"))
            break;
        rig.line(line);
    }
    ASSERT_TRUE(rig.capture.dataPhase());
}

const QByteArray kEightGroups = dataLine('1', QList<QByteArray>(8, " R "));

TEST(Capture, StartSetsUpTheStreamPortAndTheLink)
{
    const struct {
        DisplayMode mode;
        int baud, stopBits, linkBaud;
        const char *source;
    } modes[] = {{DisplayMode::RunKvx, 1200, 2, 9600, "(Ist-Druck, KVX)"},
                 {DisplayMode::RunKvx40At1200, 1200, 2, 57600, "(Ist-Druck, KVX)"},
                 {DisplayMode::RunKvx40At9600, 9600, 2, 57600, "(Ist-Druck, KVX)"},
                 {DisplayMode::RunKvx40At19200, 19200, 2, 57600, "(Ist-Druck, KVX)"},
                 {DisplayMode::RunQsw, 1200, 1, 0, "(Ist-Druck, QSW)"}};
    for (const auto &m : modes) {
        CaptureRig rig;
        rig.printer.inject("stale bytes");
        rig.capture.Start(m.mode);
        EXPECT_EQ(rig.printer.baudRate, m.baud);
        EXPECT_EQ(rig.printer.stopBits, m.stopBits);
        EXPECT_EQ(rig.printer.bytesWaiting(), 0);  // flushed
        EXPECT_EQ(rig.controller.baudRate, m.linkBaud);
        EXPECT_EQ(rig.controller.outputFlushes, m.linkBaud ? 1 : 0);
        EXPECT_EQ(rig.ctx.StartRequest.waitingForData(), m.linkBaud != 0);
        EXPECT_EQ(rig.capture.caption(), "Drucker Vorschau grafisch Ist-Druck Steuerung - Erwarte Daten");
        EXPECT_EQ(rig.capture.chart().ChartTitle, m.source);
        EXPECT_FALSE(rig.capture.printButtonsEnabled());
        EXPECT_EQ(rig.capture.PageCount(), 1);
    }
    // Without a configured controller port a KVX capture just waits.
    CaptureRig unlinked(-1);
    unlinked.capture.Start(DisplayMode::RunKvx);
    EXPECT_FALSE(unlinked.ctx.StartRequest.waitingForData());
    EXPECT_EQ(unlinked.controller.baudRate, 0);
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
    EXPECT_TRUE(rig.told.empty());

    EXPECT_TRUE(rig.tick().closeWindow);  // the 51st
    rig.tick();
    ASSERT_EQ(rig.told.size(), 1u);
    EXPECT_EQ(rig.told[0].text,
              "Es werden keine Daten zum Drucken empfangen !\nBitte Verbindung und Baudrateneinstellung prüfen !");
    EXPECT_EQ(rig.told[0].caption, "Fehler");
    EXPECT_EQ(rig.told[0].icon, PromptIcon::Error);
    EXPECT_FALSE(rig.ctx.StartRequest.waitingForData());
    EXPECT_FALSE(rig.capture.running());
}

TEST(Capture, WaitingEndsWithALineOrAFailedRequest)
{
    CaptureRig rig;
    rig.capture.Start(DisplayMode::RunKvx40At9600);
    for (int tick = 0; tick < 20; ++tick)
        rig.tick();
    rig.line("        ------------");
    // The link timer clears the flag when the start request failed: no message either.
    CaptureRig failed;
    failed.capture.Start(DisplayMode::RunKvx);
    failed.ctx.StartRequest.linkFailed();
    // QSW controllers have no link: the capture waits without limit.
    CaptureRig qsw;
    qsw.capture.Start(DisplayMode::RunQsw);
    for (int tick = 0; tick < 100; ++tick) {
        rig.tick();
        failed.tick();
        qsw.tick();
    }
    EXPECT_FALSE(rig.ctx.StartRequest.waitingForData());
    EXPECT_TRUE(rig.told.empty() && failed.told.empty() && qsw.told.empty());
    EXPECT_TRUE(rig.capture.running() && qsw.capture.running());
    EXPECT_EQ(qsw.printCommandSent(), -1);
}

// The bundled .DRI is the KVX transcript as captured, with the example
// installation's group names: a golden file for the capture and the writer.
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
        EXPECT_LE(rig.capture.receivedLines().size(), 10);
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
    EXPECT_EQ(rowsAdded, 250);
    EXPECT_EQ(chartStarts, 1);
    EXPECT_EQ(turns, QList<int>({100, 200}));
    EXPECT_EQ(rig.capture.PageCount(), 4);
    EXPECT_TRUE(rig.capture.printButtonsEnabled());
    EXPECT_EQ(rig.capture.CurrentProgram(), 2);
    EXPECT_TRUE(rig.told.empty());

    const ActualRun &run = rig.capture.run();
    EXPECT_EQ(run.GroupNames, rig.ctx.data.GroupNames);
    EXPECT_EQ(EncodeActualRunFile(run),
              readBytes(QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/transcripts/Hauptstrasse-Schulweg-KVX900.DRI")));
    // The chart the window draws follows the run.
    const ChartData &chart = rig.capture.chart();
    EXPECT_EQ(QStringList({chart.DataName, chart.BannerText.right(4), chart.PrintDateText, chart.ControllerTypeText}),
              QStringList({"SCHULW01", "6.30", "14.03.24 09:15", "KVX 900   "}));
    EXPECT_EQ(QList<int>({chart.ShownGroups, chart.ActiveGroupCount, chart.HeaderGroupCount, chart.StartProgram,
                          int(chart.ProgramSnapshot.CycleTime), chart.HeaderModeSet()}),
              QList<int>({8, 8, 8, 1, 70, 1}));
    ASSERT_EQ(chart.Rows.size(), 250u);
    EXPECT_EQ(QList<int>({chart.Rows[5].State[0], chart.Rows[14].DetectorActive[0], chart.Rows[140].ProgramNumber}),
              QList<int>({2, 1, 2}));
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
    ASSERT_EQ(rig.capture.RowCount(), 5);

    // The next preview window's capture: this header has neither the banner
    // nor the legend line, and no parameters. It ends at " Gruppe" as the
    // last printout's banner decided, and the cycle time stays.
    ActualRunCapture next(rig.ctx.captureContext(), {&rig.printer, &rig.controller, &rig.link});
    next.Start(DisplayMode::RunKvx);
    EXPECT_EQ(next.RowCount(), 0);
    for (const QByteArray &line : {lines[1], lines[4], QByteArray(lines[10]).replace("SCHULW01", "ZWEITES "),
                                   lines[24], lines[25], lines[26]}) {
        rig.printer.inject(line + "\r\n");
        EXPECT_FALSE(next.ScanDataTimer(0).message);
    }
    EXPECT_EQ(next.RowCount(), 2);
    EXPECT_EQ(next.chart().DataName, "ZWEITES");
    EXPECT_EQ(next.chart().ProgramSnapshot.CycleTime, 70u);
    EXPECT_EQ(next.chart().BannerText.right(4), "6.30");
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

// In the data phase, lines shorter than 12 characters end a printout; a
// longer one that is no data line is the next printout: it clears the run,
// or ends a headless capture keeping its rows.
TEST(Capture, NextPrintoutRestartsOrEndsTheCapture)
{
    for (const bool headless : {false, true}) {
        SCOPED_TRACE(headless ? "headless" : "window");
        CaptureRig rig;
        rig.capture.setEndAtNewPrintout(headless);
        rig.capture.Start(DisplayMode::RunKvx);
        receiveHeader(rig);
        for (int i = 0; i < 5; ++i)
            rig.line(kEightGroups);
        for (const QByteArray &blank : {QByteArray(11, 'x'), QByteArray(), QByteArray("  Ende  ")}) {
            const CaptureUpdate u = rig.line(blank);
            EXPECT_FALSE(u.cleared || u.rowAdded || u.printoutEnded);
        }
        ASSERT_EQ(rig.capture.RowCount(), 5);
        ASSERT_TRUE(rig.capture.dataPhase());

        const CaptureUpdate u = rig.line("Neuer Druck ");
        EXPECT_EQ(u.cleared, !headless);
        EXPECT_EQ(u.printoutEnded, headless);
        EXPECT_EQ(rig.capture.running(), !headless);
        EXPECT_EQ(rig.capture.RowCount(), headless ? 5 : 0);
        if (headless)
            continue;
        EXPECT_TRUE(rig.capture.chart().Rows.empty());
        EXPECT_FALSE(rig.capture.dataPhase() || rig.capture.chartReady() || rig.capture.printButtonsEnabled());
        EXPECT_EQ(rig.capture.PageCount(), 1);
        EXPECT_EQ(rig.capture.caption(), "Drucker Vorschau grafisch Ist Druck Steuerung - Erwarte Daten");
        EXPECT_EQ(rig.capture.chart().StartProgram, 0);
        // The next printout's header brings the data phase back; its first line starts the chart again.
        receiveHeader(rig);
        EXPECT_TRUE(rig.line(dataLine('3', QList<QByteArray>(8, " Gr"))).chartStarted);
        EXPECT_EQ(rig.capture.chart().StartProgram, 3);
        EXPECT_EQ(rig.capture.RowCount(), 1);
    }
}

TEST(Capture, DataLineBeforeAnyHeaderMeansAPrintoutIsStillActive)
{
    CaptureRig rig;
    rig.capture.Start(DisplayMode::RunKvx);
    rig.line("        ------------");
    const CaptureUpdate u = rig.line(kEightGroups);
    EXPECT_TRUE(u.closeWindow);
    EXPECT_FALSE(u.rowAdded);
    ASSERT_EQ(rig.told.size(), 1u);
    EXPECT_EQ(rig.told[0].text, "Es ist noch ein Druckvorgang aktiv!\nDieser muss zuerst beendet werden.\n");
    EXPECT_EQ(rig.told[0].caption, "Fehler");
    EXPECT_EQ(rig.told[0].icon, PromptIcon::Error);
    EXPECT_FALSE(rig.capture.running());
    EXPECT_EQ(rig.capture.RowCount(), 0);
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

TEST(Capture, ViewFollowsTheFilledPageOnly)
{
    // {rows before the new one, shown page start, page start after}
    const int cases[][3] = {{100, 0, 100},  {150, 50, 150}, {1100, 1000, 1100},
                            // the user paged elsewhere: the view stays
                            {200, 0, 0}, {150, 0, 0}, {100, 50, 50}, {99, 0, 0}, {0, 0, 0},
                            // the last page of a full run is not left
                            {1200, 1100, 1100}};
    for (const auto &c : cases)
        EXPECT_EQ(FollowedPageStart(c[0], c[1]), c[2]) << c[0] << " " << c[1];
}

TEST(Capture, RunHoldsTwelveHundredSeconds)
{
    CaptureRig rig;
    rig.capture.Start(DisplayMode::RunKvx);
    receiveHeader(rig);
    for (int line = 0; line < 1200; ++line)
        ASSERT_TRUE(rig.line(kEightGroups).rowAdded);
    for (int line = 0; line < 5; ++line) {
        const CaptureUpdate u = rig.line(kEightGroups);
        EXPECT_FALSE(u.rowAdded);
        EXPECT_EQ(u.pageTurnTo, -1);
    }
    EXPECT_EQ(rig.capture.RowCount(), 1200);
    EXPECT_EQ(rig.capture.DroppedSeconds(), 5);
    EXPECT_EQ(rig.capture.PageCount(), 13);
    EXPECT_EQ(rig.pageStart, 1100);
    EXPECT_TRUE(rig.capture.running());
}

// A loose cable: a megabyte of random bytes without a line feed, then a whole
// printout. The receiver holds no more than a read and a line at any time,
// no line is made of the noise, and the run is the printout's as if the noise
// had not been there.
TEST(Capture, NoiseBeforeAPrintoutIsDroppedWithBoundedMemory)
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
    FakeSerialPort port;
    port.open();
    port.inject(noise + printout);
    LineReceiver receiver;
    QList<QByteArray> lines;
    qsizetype mostHeld = 0;
    for (;;) {
        const std::optional<QByteArray> line = receiver.nextLine(port);
        mostHeld = std::max(mostHeld, receiver.bufferedBytes());
        if (line)
            lines << *line;
        else if (port.bytesWaiting() == 0)
            break;
    }
    EXPECT_LE(mostHeld, LineReceiver::kReadChunk + LineReceiver::kLineCapacity);
    EXPECT_EQ(lines, transcriptLines(kQswTranscript).mid(1));  // the first line end is the noise's own

    CaptureRig clean(-1), disturbed(-1);
    clean.capture.Start(DisplayMode::RunQsw);
    disturbed.capture.Start(DisplayMode::RunQsw);
    clean.printer.inject(printout);
    disturbed.printer.inject(noise + printout);
    for (int tick = 0; tick < 2500; ++tick) {
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

TEST(Capture, DisturbedLinesKeepTheCaptureGoing)
{
    CaptureRig rig;
    rig.capture.Start(DisplayMode::RunKvx);
    receiveHeader(rig);
    // A megabyte of noise without a line end runs into a data line: that line
    // is dropped, the next one counts.
    rig.printer.inject(QByteArray(1 << 20, '#') + kEightGroups + "\r\n" + kEightGroups + "\r\n");
    for (int tick = 0; tick < 300 && rig.printer.bytesWaiting() > 0; ++tick)
        rig.tick();
    rig.tick();
    EXPECT_EQ(rig.capture.RowCount(), 1);
    // A NUL ends the text of a line, like a carriage return.
    rig.line(dataLine('1', {" Gr", " Gr"}) + QByteArray(1, '\0') + " Ge Ge Ge");
    EXPECT_EQ(rig.capture.run().Rows.back().State[1], 2);
    EXPECT_EQ(rig.capture.chart().ShownGroups, 2);
    // A short burst of noise in the middle of a run is not a new printout;
    // noise that a carriage return cut short is dropped whole all the same.
    rig.line("\x13\xfe\x01" "ab\x7f" "cdefghijklmnop");
    rig.line(QByteArray(20, 'x') + "\r" + QByteArray(300, '\xff'));
    // Lines of only a carriage return are blank lines.
    rig.printer.inject("\r\n\r\n\r");
    for (int tick = 0; tick < 3; ++tick)
        rig.tick();
    EXPECT_EQ(rig.capture.RowCount(), 2);
    EXPECT_TRUE(rig.capture.running() && rig.capture.dataPhase());
    EXPECT_TRUE(rig.told.empty());
}

TEST(Capture, LostPortStopsTheCaptureOnceAndKeepsTheRows)
{
    CaptureRig rig;
    rig.capture.Start(DisplayMode::RunKvx);
    receiveHeader(rig);
    rig.line(kEightGroups);
    rig.line(kEightGroups);
    // The adapter is pulled out: the port stays open, its device is gone.
    rig.printer.vanished = true;
    EXPECT_TRUE(rig.tick().portLost);
    rig.tick();
    ASSERT_EQ(rig.told.size(), 1u);
    EXPECT_EQ(rig.told[0].text, "Die Verbindung zur Druckerschnittstelle ist unterbrochen !\n"
                                "Der Empfang ist beendet, die bisher empfangenen Daten bleiben erhalten.");
    EXPECT_EQ(rig.told[0].caption, "Zugriffsfehler");
    EXPECT_FALSE(rig.capture.running());
    EXPECT_EQ(rig.capture.RowCount(), 2);
    EXPECT_TRUE(rig.capture.portLost());
}

}  // namespace
