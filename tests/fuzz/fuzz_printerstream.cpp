// A controller's printer stream as it arrives at the serial port, through the
// line receiver, the header and data line parsers and the capture's tick.
//
// First byte: bits 0-1 choose the mode (QSW, KVX, KVX 40 at 9600 baud with a
// link, QSW again), bit 2 ends the capture at a new printout. The rest is the
// stream: every byte arrives at the port as it is, a tick follows each line
// feed, except for four control bytes that the harness takes itself:
//   0xFB  the port vanishes (the adapter is pulled)
//   0xFC  the tick's clock stands still: nothing arrives for 16 ticks
//   0xFD  the last complete line arrives 64 more times, a tick each
//   0xFE  one tick without input
// so that a short input reaches the no-data requests, a run past 1200 rows
// and a lost port. The transcripts are valid seeds as they are.
//
// What must hold: a tick adds at most one row and only for a line that
// arrived; a run never holds more than 1200 rows; the received-data window
// shows at most ten lines; a run the capture holds writes to and reads back
// from an actual-run file byte for byte.

#include "actual/actualrunfile.h"
#include "actual/capturerig.h"
#include "fuzzsupport.h"

namespace {

constexpr uint8_t kVanish = 0xFB;
constexpr uint8_t kSilence = 0xFC;
constexpr uint8_t kRepeatLine = 0xFD;
constexpr uint8_t kIdleTick = 0xFE;

struct StreamRig : CaptureRig {
    qsizetype linesArrived = 0;  // line feeds the port has been given

    // One tick of the capture and the link, and what must hold after it.
    void step()
    {
        const int rowsBefore = capture.RowCount();
        const CaptureUpdate u = tick();
        timer.advance(100);
        link.SendStep();
        controller.takeWritten();
        FUZZ_CHECK(capture.RowCount() <= kMaxRunRows);
        FUZZ_CHECK(capture.RowCount() <= rowsBefore + 1 || u.cleared);
        FUZZ_CHECK(capture.RowCount() <= linesArrived);
        FUZZ_CHECK(capture.receivedLines().size() <= 10);
        FUZZ_CHECK(pageStart >= 0 && pageStart < kMaxRunRows);
    }

    void arrive(const QByteArray &bytes)
    {
        printer.inject(bytes);
        linesArrived += bytes.count('\n');
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static const DisplayMode kModes[] = {DisplayMode::RunQsw, DisplayMode::RunKvx, DisplayMode::RunKvx40At9600, DisplayMode::RunQsw};
    StreamRig rig;
    rig.capture.setEndAtNewPrintout(data[0] & 4);
    rig.capture.Start(kModes[data[0] & 3]);

    QByteArray pending;    // bytes of the line now arriving
    QByteArray lastLine;   // the last line that arrived whole, with its line feed
    for (size_t i = 1; i < size && rig.capture.running(); ++i) {
        const uint8_t byte = data[i];
        switch (byte) {
        case kVanish:
            rig.printer.vanished = true;
            rig.step();
            break;
        case kSilence:
            for (int t = 0; t < 16; ++t)
                rig.step();
            break;
        case kRepeatLine:
            for (int r = 0; r < 64 && !lastLine.isEmpty() && rig.capture.running(); ++r) {
                rig.arrive(lastLine);
                rig.step();
            }
            break;
        case kIdleTick:
            rig.step();
            break;
        default:
            pending += char(byte);
            if (byte == '\n') {
                rig.arrive(pending);
                lastLine = pending;
                pending.clear();
                rig.step();
            }
        }
    }
    if (!pending.isEmpty()) {
        rig.arrive(pending);
        rig.step();
    }
    rig.capture.Finish();

    // What was captured survives the file.
    ActualRun reread;
    QString error;
    const QByteArray bytes = EncodeActualRunFile(rig.capture.run());
    FUZZ_CHECK(DecodeActualRunFile(bytes, QStringLiteral("FUZZ.DRI"), reread, &error));
    FUZZ_CHECK(EncodeActualRunFile(reread) == bytes);
    FUZZ_CHECK(int(reread.Rows.size()) == rig.capture.RowCount());
    return 0;
}
