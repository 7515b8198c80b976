// The capture tick of a controller printout: start and stop requests, the
// header and data phases, restarts, paging, the run's limits, port loss.

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
        EXPECT_FALSE(rig.capture.chart().TargetChartActive);
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
    for (int tick = 1; tick <= 15; ++tick) {
        rig.tick();
        ASSERT_EQ(rig.printCommandSent(), -1) << "tick " << tick;
    }
    rig.tick();  // the 16th empty tick
    EXPECT_EQ(rig.printCommandSent(), 2);
    EXPECT_TRUE(rig.ctx.StartRequest.startRequestPending());
    for (int tick = 17; tick <= 50; ++tick)
        ASSERT_FALSE(rig.tick().closeWindow) << "tick " << tick;
    EXPECT_TRUE(rig.told.empty());
    EXPECT_EQ(rig.printCommandSent(), -1);  // asked once only

    const CaptureUpdate u = rig.tick();  // the 51st
    EXPECT_TRUE(u.closeWindow);
    ASSERT_EQ(rig.told.size(), 1u);
    EXPECT_EQ(rig.told[0].text,
              "Es werden keine Daten zum Drucken empfangen !\nBitte Verbindung und Baudrateneinstellung prüfen !");
    EXPECT_EQ(rig.told[0].caption, "Fehler");
    EXPECT_EQ(rig.told[0].icon, PromptIcon::Error);
    EXPECT_FALSE(rig.ctx.StartRequest.waitingForData());
    EXPECT_FALSE(rig.capture.running());
    rig.tick();
    EXPECT_EQ(rig.told.size(), 1u);
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
    EXPECT_TRUE(rig.capture.running());
    EXPECT_EQ(qsw.printCommandSent(), -1);
}

TEST(Capture, TranscriptBecomesTheRunLineByLine)
{
    CaptureRig rig;
    rig.capture.Start(DisplayMode::RunKvx);
    // The whole printout is waiting; each tick takes one line.
    rig.printer.inject(transcriptBytes(kKvxTranscript));
    const QList<QByteArray> lines = transcriptLines(kKvxTranscript);

    QStringList captions;
    int rowsAdded = 0, chartStarts = 0;
    QList<int> turns;
    for (const QByteArray &line : lines) {
        const CaptureUpdate u = rig.tick();
        EXPECT_TRUE(u.linesChanged);
        if (!line.isEmpty()) {
            EXPECT_EQ(rig.capture.receivedLines().last().toLatin1(), line);
        }
        EXPECT_LE(rig.capture.receivedLines().size(), 10);
        if (captions.isEmpty() || captions.last() != rig.capture.caption())
            captions << rig.capture.caption();
        rowsAdded += u.rowAdded;
        chartStarts += u.chartStarted;
        if (u.pageTurnTo >= 0)
            turns << u.pageTurnTo;
        EXPECT_FALSE(u.cleared);
    }
    EXPECT_EQ(rig.printer.bytesWaiting(), 0);
    EXPECT_EQ(captions, QStringList({"Drucker Vorschau grafisch Ist-Druck Steuerung - Erwarte Daten",
                                     "Drucker Vorschau grafisch Ist Druck Steuerung - Empfange Kopf-Daten",
                                     "Drucker Vorschau grafisch Ist Druck Steuerung - Empfange Daten - SCHULW01"}));
    EXPECT_EQ(rowsAdded, 250);
    EXPECT_EQ(chartStarts, 1);
    EXPECT_EQ(turns, QList<int>({100, 200}));
    EXPECT_EQ(rig.capture.RowCount(), 250);
    EXPECT_EQ(rig.capture.PageCount(), 4);
    EXPECT_TRUE(rig.capture.printButtonsEnabled());
    EXPECT_EQ(rig.capture.CurrentProgram(), 2);

    const ChartData &chart = rig.capture.chart();
    EXPECT_EQ(chart.Rows.size(), 250u);
    EXPECT_EQ(chart.ShownGroups, 8);
    EXPECT_EQ(chart.ActiveGroupCount, 8);
    EXPECT_EQ(chart.HeaderGroupCount, 8);
    EXPECT_EQ(chart.StartProgram, 1);
    EXPECT_EQ(chart.DataName, "SCHULW01");
    EXPECT_EQ(chart.BannerText.right(4), "6.30");
    EXPECT_EQ(chart.PrintDateText, "14.03.24 09:15");
    EXPECT_EQ(chart.ControllerTypeText, "KVX 900   ");
    EXPECT_TRUE(chart.HeaderModeSet());
    EXPECT_EQ(chart.ProgramSnapshot.CycleTime, 70u);
    EXPECT_EQ(chart.ProgramSnapshot.DemandTime1, 44u);
    EXPECT_EQ(chart.Rows[139].ProgramNumber, 1);
    EXPECT_EQ(chart.Rows[140].ProgramNumber, 2);
    EXPECT_EQ(chart.Rows[5].State[0], 2);   // K1 green from second 5
    EXPECT_EQ(chart.Rows[38].State[2], 8);  // K3 green with extra yellow
    EXPECT_EQ(chart.Rows[46].State[7], 5);  // B1 flashing
    EXPECT_EQ(chart.Rows[7].State[7], 0);   // B1 dark
    EXPECT_EQ(chart.Rows[14].DetectorActive[0], 1);
    EXPECT_TRUE(rig.told.empty());
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

// The bundled .DRI is the KVX transcript as captured, with the example
// installation's group names: a golden file for the capture and the writer.
TEST(Capture, BundledRunIsTheCapturedTranscript)
{
    CaptureRig rig;
    ASSERT_TRUE(readNamesFile(rig.ctx.data, QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/Hauptstrasse-Schulweg/NAMEN.DAT")));
    rig.capture.Start(DisplayMode::RunKvx);
    for (const QByteArray &line : transcriptLines(kKvxTranscript))
        rig.line(line);
    ActualRun run = rig.capture.run();
    EXPECT_EQ(run.GroupNames, rig.ctx.data.GroupNames);
    EXPECT_EQ(EncodeActualRunFile(run),
              readBytes(QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/transcripts/Hauptstrasse-Schulweg-KVX900.DRI")));
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

TEST(Capture, DataPhaseIgnoresBlankLinesAndRestartsOnANewPrintout)
{
    CaptureRig rig;
    rig.capture.Start(DisplayMode::RunKvx);
    receiveHeader(rig);
    for (int i = 0; i < 5; ++i)
        rig.line(kEightGroups);
    ASSERT_EQ(rig.capture.RowCount(), 5);

    for (const QByteArray &blank : {QByteArray(10, ' '), QByteArray(), QByteArray("  Ende  ")}) {
        const CaptureUpdate u = rig.line(blank);
        EXPECT_FALSE(u.cleared);
        EXPECT_FALSE(u.rowAdded);
    }
    EXPECT_EQ(rig.capture.RowCount(), 5);
    EXPECT_TRUE(rig.capture.dataPhase());

    const CaptureUpdate u = rig.line("Neuer Druck ");  // 12 characters
    EXPECT_TRUE(u.cleared);
    EXPECT_EQ(rig.capture.RowCount(), 0);
    EXPECT_TRUE(rig.capture.chart().Rows.empty());
    EXPECT_FALSE(rig.capture.dataPhase());
    EXPECT_FALSE(rig.capture.chartReady());
    EXPECT_FALSE(rig.capture.printButtonsEnabled());
    EXPECT_EQ(rig.capture.PageCount(), 1);
    EXPECT_EQ(rig.capture.caption(), "Drucker Vorschau grafisch Ist Druck Steuerung - Erwarte Daten");
    EXPECT_EQ(rig.capture.chart().StartProgram, 0);

    // The next printout's header brings the data phase back; its first line starts the chart again.
    receiveHeader(rig);
    const CaptureUpdate first = rig.line(dataLine('3', QList<QByteArray>(8, " Gr")));
    EXPECT_TRUE(first.chartStarted);
    EXPECT_EQ(rig.capture.chart().StartProgram, 3);
    EXPECT_EQ(rig.capture.RowCount(), 1);
}

TEST(Capture, HeadlessCaptureEndsAtTheNextPrintoutKeepingItsRows)
{
    CaptureRig rig;
    rig.capture.setEndAtNewPrintout(true);
    rig.capture.Start(DisplayMode::RunKvx);
    receiveHeader(rig);
    rig.line(kEightGroups);
    rig.line(kEightGroups);
    const CaptureUpdate u = rig.line("        ------------------");
    EXPECT_TRUE(u.printoutEnded);
    EXPECT_FALSE(u.cleared);
    EXPECT_FALSE(rig.capture.running());
    EXPECT_EQ(rig.capture.RowCount(), 2);
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
    CaptureRig rig;
    rig.ctx.settings.AutoEndCapture = 1;
    rig.ctx.settings.CaptureMinutes = 1;
    rig.capture.Start(DisplayMode::RunKvx40At19200);
    receiveHeader(rig);
    for (int line = 1; line <= 59; ++line) {
        rig.line(kEightGroups);
        ASSERT_EQ(rig.printCommandSent(), -1) << "line " << line;
    }
    rig.line(kEightGroups);
    EXPECT_EQ(rig.printCommandSent(), 3);  // with the 60th line
    rig.line(kEightGroups);
    EXPECT_EQ(rig.printCommandSent(), 3);  // and with every later one
    rig.line("          ");
    EXPECT_EQ(rig.printCommandSent(), -1);

    CaptureRig off;
    off.ctx.settings.CaptureMinutes = 1;
    off.capture.Start(DisplayMode::RunKvx);
    receiveHeader(off);
    for (int line = 0; line < 70; ++line) {
        off.line(kEightGroups);
        ASSERT_EQ(off.printCommandSent(), -1);
    }
}

TEST(Capture, ViewFollowsTheFilledPageOnly)
{
    EXPECT_EQ(FollowedPageStart(100, 0), 100);
    EXPECT_EQ(FollowedPageStart(150, 50), 150);
    EXPECT_EQ(FollowedPageStart(1100, 1000), 1100);
    // The user paged elsewhere: the view stays.
    EXPECT_EQ(FollowedPageStart(200, 0), 0);
    EXPECT_EQ(FollowedPageStart(150, 0), 0);
    EXPECT_EQ(FollowedPageStart(100, 50), 50);
    EXPECT_EQ(FollowedPageStart(99, 0), 0);
    EXPECT_EQ(FollowedPageStart(0, 0), 0);
    // The last page of a full run is not left.
    EXPECT_EQ(FollowedPageStart(1200, 1100), 1100);
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
    QList<QByteArray> expected = transcriptLines(kQswTranscript);
    expected.removeFirst();  // the empty line that ended the noise is the noise's own
    EXPECT_EQ(lines, expected);

    CaptureRig clean(-1), disturbed(-1);
    clean.capture.Start(DisplayMode::RunQsw);
    disturbed.capture.Start(DisplayMode::RunQsw);
    clean.printer.inject(printout);
    disturbed.printer.inject(noise + printout);
    for (int tick = 0; tick < 2000 && (clean.printer.bytesWaiting() > 0 || disturbed.printer.bytesWaiting() > 0); ++tick) {
        clean.tick();
        disturbed.tick();
    }
    for (int tick = 0; tick < 300; ++tick) {
        clean.tick();
        disturbed.tick();
    }
    ASSERT_EQ(clean.capture.RowCount(), 150);
    EXPECT_EQ(EncodeActualRunFile(disturbed.capture.run()), EncodeActualRunFile(clean.capture.run()));
    EXPECT_TRUE(disturbed.told.empty());
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
    EXPECT_TRUE(rig.capture.dataPhase());
    // A NUL ends the text of a line, like a carriage return.
    rig.line(dataLine('1', {" Gr", " Gr"}) + QByteArray(1, '\0') + " Ge Ge Ge");
    EXPECT_EQ(rig.capture.run().Rows.back().State[1], 2);
    EXPECT_EQ(rig.capture.run().Rows.back().State[2], 0);
    EXPECT_EQ(rig.capture.chart().ShownGroups, 2);
    // A short burst of noise in the middle of a run is not a new printout.
    rig.line("\x13\xfe\x01" "ab\x7f" "cdefghijklmnop");
    EXPECT_EQ(rig.capture.RowCount(), 2);
    // Noise that a carriage return cut short is dropped whole all the same.
    rig.line(QByteArray(20, 'x') + "\r" + QByteArray(300, '\xff'));
    EXPECT_EQ(rig.capture.RowCount(), 2);
    // Lines of only a carriage return are blank lines.
    rig.printer.inject("\r\n\r\n\r");
    rig.tick();
    rig.tick();
    rig.tick();
    EXPECT_EQ(rig.capture.RowCount(), 2);
    EXPECT_TRUE(rig.capture.running());
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
    const CaptureUpdate u = rig.tick();
    EXPECT_TRUE(u.portLost);
    ASSERT_EQ(rig.told.size(), 1u);
    EXPECT_EQ(rig.told[0].text, kPortLostMessage);
    EXPECT_EQ(rig.told[0].caption, "Zugriffsfehler");
    EXPECT_FALSE(rig.capture.running());
    rig.tick();
    EXPECT_EQ(rig.told.size(), 1u);
    EXPECT_EQ(rig.capture.RowCount(), 2);
    EXPECT_TRUE(rig.capture.portLost());
}

}  // namespace
