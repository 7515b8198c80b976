// The print command against a scripted peer. First byte: bit 0 KVX 40 / 10 frames, bits 1-2
// the checksum seed, bit 3 family 1; then operations by a byte's top three bits, n = the rest.
// Must hold: only the three step codes; only whole command frames and acks written; only bytes
// arriving after a command answer it; an idle link neither writes nor leaves idle by itself.

#include "fuzzsupport.h"
#include "link/controllerlink.h"
#include "link/steppedanswertimer.h"
#include "serial/fakeserialport.h"

#include <QList>

namespace {

class Script {
public:
    Script(const uint8_t *data, size_t size) : pos_(data), end_(data + size) {}
    bool atEnd() const { return pos_ == end_; }
    uint8_t next() { return pos_ < end_ ? *pos_++ : 0; }
    QByteArray take(size_t n)
    {
        n = std::min<size_t>(n, size_t(end_ - pos_));
        const QByteArray bytes(reinterpret_cast<const char *>(pos_), qsizetype(n));
        pos_ += n;
        return bytes;
    }

private:
    const uint8_t *pos_;
    const uint8_t *end_;
};

// True when `written` is a sequence of the allowed frames.
bool onlyAllowedFrames(QByteArray written, const QList<QByteArray> &allowed)
{
    for (qsizetype before = -1; before != written.size();) {
        before = written.size();
        for (const QByteArray &frame : allowed)
            if (written.startsWith(frame))
                written.remove(0, frame.size());
    }
    return written.isEmpty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Script script(data, size);
    const uint8_t config = script.next();
    const ProtocolVariant variant = (config & 1) ? ProtocolVariant::Kvx40 : ProtocolVariant::Plain;
    const uint8_t seed = (config >> 1) & 3;
    const ControllerFamily family = (config & 8) ? ControllerFamily::Other : ControllerFamily::Kvx;

    FakeSerialPort port;
    port.open();
    SteppedAnswerTimer timer;
    ControllerLink link(port, timer);
    link.setProtocolVariant(variant);
    link.setChecksumSeed(seed);
    link.setControllerFamily(family);

    QList<QByteArray> allowed{StuffFrame(BuildAck(family))};
    ControllerLink::Step lastCode = ControllerLink::Step::Idle;
    bool requested = false;  // since the last tick that came back idle or failed
    bool queued = false;     // asked for while a command was under way
    qsizetype arrivedSinceSend = 0;

    auto arrive = [&](const QByteArray &bytes) {
        port.inject(bytes);
        arrivedSinceSend += bytes.size();
    };

    while (!script.atEnd()) {
        const uint8_t op = script.next();
        const uint8_t n = op & 0x1f;
        switch (op >> 5) {
        case 0:
        case 1:  // the next n + 1 bytes arrive as they are
            arrive(script.take(size_t(op & 0x3f) + 1));
            break;
        case 2: {  // an answer of type next byte, (n >> 1) & 7 data bytes, other address on odd n
            const uint8_t type = script.next();
            const QByteArray payload = script.take((n >> 1) & 7);
            const uint8_t address = uint8_t(family) ^ ((n & 1) ? 3 : 0);  // the other family's on odd n
            arrive(StuffFrame(BuildFrame(address, 14, type, payload, variant, seed)));
            break;
        }
        case 3:  // n + 1 ticks of 10 ms
            for (int t = 0; t <= n; ++t) {
                timer.advance(10);
                const ControllerLink::Step code = link.SendStep();
                FUZZ_CHECK(code == ControllerLink::Step::Idle || code == ControllerLink::Step::PrintCommand
                           || code == ControllerLink::Step::Failed);
                const QByteArray written = port.takeWritten();
                FUZZ_CHECK(onlyAllowedFrames(written, allowed));
                if (!requested && lastCode != ControllerLink::Step::PrintCommand) {
                    FUZZ_CHECK(code == ControllerLink::Step::Idle);
                    FUZZ_CHECK(written.isEmpty());
                }
                if (code == ControllerLink::Step::PrintCommand && lastCode != ControllerLink::Step::PrintCommand)
                    arrivedSinceSend = 0;  // this tick sent the command: what came before answers nothing
                if (code == ControllerLink::Step::Idle && lastCode == ControllerLink::Step::PrintCommand)
                    FUZZ_CHECK(arrivedSinceSend > 0);
                // A command asked for while another was under way follows even a failed one.
                if (code != ControllerLink::Step::PrintCommand) {
                    requested = code == ControllerLink::Step::Failed && queued;
                    queued = false;
                }
                lastCode = code;
            }
            break;
        case 4:  // n × 50 ms without a tick
            timer.advance(n * 50);
            break;
        case 5: {  // RequestPrint with the next three bytes
            const PrintCommandBytes command{script.next(), script.next(), script.next()};
            allowed << StuffFrame(BuildPrintCommandFrame(command, variant, seed));
            link.RequestPrint(command[0], command[1], command[2]);
            queued = queued || lastCode == ControllerLink::Step::PrintCommand;
            requested = true;
            break;
        }
        case 6:  // line noise: n × 16 copies of the next byte
            arrive(QByteArray(n * 16, char(script.next())));
            break;
        case 7:  // n odd: close or reopen the port; even: flush its input
            if (n & 1) {
                if (port.isOpen())
                    port.close();
                else
                    port.open();
            } else {
                port.flushInput();
            }
            break;
        }
    }
    return 0;
}
