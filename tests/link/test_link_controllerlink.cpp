// Frames, stuffing and checksums of the controller link, and the print command
// machine with a controller that answers late, twice or in pieces; on an
// in-memory port with a timer stepped by the test.

#include "link/controllerlink.h"
#include "link/steppedanswertimer.h"
#include "serial/fakeserialport.h"

#include <QList>
#include <gtest/gtest.h>

namespace {

using Step = ControllerLink::Step;
constexpr ProtocolVariant kKvx40 = ProtocolVariant::Kvx40;
constexpr ProtocolVariant kPlain = ProtocolVariant::Plain;
constexpr int kTickMs = 10;

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// Feeds a line and returns every frame completed on the way.
QList<QByteArray> receive(FrameReceiver &rx, const QByteArray &line)
{
    QList<QByteArray> frames;
    for (char c : line)
        if (rx.Feed(uint8_t(c)))
            frames << rx.frame();
    return frames;
}

const QByteArray kStart = StuffFrame(BuildPrintCommandFrame({2, 0, 0}, kKvx40, 3));
const QByteArray kStop = StuffFrame(BuildPrintCommandFrame({3, 0, 0}, kKvx40, 3));
const QByteArray kAck = StuffFrame(BuildAck(ControllerFamily::Kvx));

QByteArray answer(uint8_t type, const QByteArray &data = {}, uint8_t address = 2)
{
    return StuffFrame(BuildFrame(address, 14, type, data, kKvx40, 3));
}

struct LinkRig {
    FakeSerialPort port;
    SteppedAnswerTimer timer;
    ControllerLink link {port, timer};

    LinkRig() { port.open(); }
    // 10 ms pass, then the IO timer's tick.
    Step tick()
    {
        timer.advance(kTickMs);
        return link.SendStep();
    }
    // Asks for a print command, sends it and returns what went out.
    QByteArray send(uint8_t code = 2)
    {
        link.RequestPrint(code, 0, 0);
        EXPECT_EQ(tick(), Step::PrintCommand);
        return port.takeWritten();
    }
    // Ticks until the command is answered or has failed; the ticks it took.
    int finish(Step &end)
    {
        int ticks = 0;
        for (end = Step::PrintCommand; end == Step::PrintCommand && ticks < 1000; ++ticks)
            end = tick();
        return ticks;
    }
};

}  // namespace

TEST(LinkFrame, FramesAsBuiltAndStuffed)
{
    // KVX 40 / 10, version 6.30: class 14, two zero bytes, checksums from 3.
    // Plain variant: class 127, checksums from 0; the seed does not count.
    const QByteArray kvx40 = BuildPrintCommandFrame({2, 0, 0}, kKvx40, 3);
    const QByteArray plain = BuildPrintCommandFrame({2, 0, 0}, kPlain, 3);
    const std::pair<QByteArray, const char *> frames[] = {
        {kvx40, "02100c020e6902000000007a16"}, {StuffFrame(kvx40), "02100c02020e690202000000007a16"},
        {plain, "02100a027f690200000e16"}, {StuffFrame(plain), "02100a02027f69020200000e16"},
        {BuildAck(ControllerFamily(2)), "0210040206"}, {StuffFrame(BuildAck(ControllerFamily(2))), "021004020206"},
        {StuffFrame(BuildAck(ControllerFamily(1))), "0210040106"},
        // Only from the length byte on is 0x02 doubled; 0x10 is never touched.
        {StuffFrame(hex("0210020210")), "02100202020210"}, {StuffFrame(hex("02100b")), "02100b"}};
    for (const auto &[frame, bytes] : frames)
        EXPECT_EQ(frame.toHex(), bytes);
}

TEST(LinkFrame, StoredFrameChecks)
{
    // A frame survives stuffing and unstuffing and passes the checks with the
    // seed it was built with, and only with that.
    FrameReceiver rx;
    const QByteArray frame = BuildFrame(2, 14, 102, hex("0210"), kKvx40, 2);
    const QList<QByteArray> got = receive(rx, StuffFrame(frame));
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0], frame.left(1) + frame.mid(2));  // stored without the 0x10 of the start
    EXPECT_TRUE(StoredFrameValid(got[0], kKvx40, 2));
    EXPECT_FALSE(StoredFrameValid(got[0], kKvx40, 3));
    EXPECT_FALSE(StoredFrameValid(got[0], kPlain, 2));
    QByteArray spoilt[] = {got[0], got[0], got[0] + hex("00")};
    spoilt[0][kStoredType] = char(103);
    spoilt[1][spoilt[1].size() - 2] = char(spoilt[1][spoilt[1].size() - 2] ^ 1);
    for (const QByteArray &s : spoilt)
        EXPECT_FALSE(StoredFrameValid(s, kKvx40, 2)) << s.toHex().constData();

    // Too short to carry an address and both checksums, or a length byte
    // disagreeing; the shortest frames: an address and the checksums, with
    // or without one byte between.
    const std::tuple<const char *, ProtocolVariant, uint8_t, bool> stored[] = {
        {"", kPlain, 0, false},          {"0201", kPlain, 0, false},       {"02040216", kPlain, 0, false},
        {"0204020600", kPlain, 0, false}, {"020502152e", kPlain, 0, true}, {"020601071232", kPlain, 0, true},
        {"020601071134", kKvx40, 3, true}};
    for (const auto &[bytes, variant, seed, valid] : stored)
        EXPECT_EQ(StoredFrameValid(hex(bytes), variant, seed), valid) << bytes;
}

TEST(FrameReceiver, UnstuffingAndFrameStarts)
{
    FrameReceiver rx;
    const QByteArray reply = BuildFrame(2, 127, 101, {}, kPlain, 0);
    QByteArray stored = reply;
    stored.remove(1, 1);

    // 0x02 0x10 drops a partial frame and starts over.
    QList<QByteArray> got = receive(rx, hex("02100c02020e") + StuffFrame(reply));
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0], stored);

    // 0x02 0x02 is one 0x02; a lone 0x02 before another byte is dropped.
    rx.Reset();
    got = receive(rx, hex("0210" "07" "0202" "01" "0205" "77" "aa"));
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0], hex("02" "07" "02" "01" "05" "77" "aa"));

    // Trailing bytes after a frame do not complete it again.
    rx.Reset();
    got = receive(rx, StuffFrame(reply) + hex("5555"));
    EXPECT_EQ(got.size(), 1);
}

TEST(FrameReceiver, LineFaultStaysInsideTheBufferAndNextFrameIsFound)
{
    // Far more bytes than the buffer holds, with and without a frame start:
    // whatever "frames" they make are rejected, nothing is written outside
    // the buffer, and the next frame start is recognised.
    const QByteArray reply = BuildFrame(1, 14, 106, hex("01"), kKvx40, 1);
    for (const QByteArray &noise : {hex("0210ff") + QByteArray(600, char(0x55)), QByteArray(1000, char(0x11)),
                                    QByteArray(300, char(0xff))}) {
        FrameReceiver rx;
        for (const QByteArray &f : receive(rx, noise))
            EXPECT_FALSE(StoredFrameValid(f, kKvx40, 1));
        EXPECT_LE(rx.frame().size(), 256);
        const QList<QByteArray> got = receive(rx, StuffFrame(reply));
        ASSERT_EQ(got.size(), 1);
        EXPECT_TRUE(StoredFrameValid(got[0], kKvx40, 1));
    }

    // A length byte of 1 or 0 never ends a frame early or reads before it.
    FrameReceiver tiny;
    EXPECT_TRUE(receive(tiny, hex("021001") + hex("021000")).isEmpty());
    EXPECT_EQ(receive(tiny, StuffFrame(reply)).size(), 1);
}

TEST(ControllerLink, OnlyBytesAfterTheCommandAnswerIt)
{
    LinkRig rig;
    EXPECT_EQ(rig.link.SendStep(), Step::Idle);
    EXPECT_TRUE(rig.port.written.isEmpty());

    // An answer from before the command (late for an earlier one) is dropped.
    rig.port.inject(answer(101));
    EXPECT_EQ(rig.send(), kStart);
    EXPECT_EQ(rig.tick(), Step::PrintCommand);
    EXPECT_TRUE(rig.port.written.isEmpty());
    rig.port.inject(answer(101));
    EXPECT_EQ(rig.tick(), Step::Idle);
    EXPECT_TRUE(rig.port.written.isEmpty());  // type 101 is not acknowledged
    EXPECT_FALSE(rig.timer.isRunning());
    EXPECT_EQ(rig.tick(), Step::Idle);
}

TEST(ControllerLink, AcknowledgesTypes102_103And106ToItsFamily)
{
    for (int type : {102, 103, 106, 101, 104, 0, 255}) {
        LinkRig rig;
        rig.send();
        rig.port.inject(answer(uint8_t(type)));
        EXPECT_EQ(rig.tick(), Step::Idle) << type;
        const bool acked = type == 102 || type == 103 || type == 106;
        EXPECT_EQ(rig.port.takeWritten(), acked ? kAck : QByteArray()) << type;
    }
    // Address and checksums only, and with one byte more: no type, no ack.
    for (const char *stored : {"0205021632", "0206026673f6"}) {
        LinkRig rig;
        rig.send();
        QByteArray frame = hex(stored);
        frame.insert(1, char(0x10));
        rig.port.inject(StuffFrame(frame));
        EXPECT_EQ(rig.tick(), Step::Idle) << stored;
        EXPECT_TRUE(rig.port.written.isEmpty()) << stored;
    }

    LinkRig family1;
    family1.link.setControllerFamily(ControllerFamily::Other);
    EXPECT_EQ(family1.send(), kStart);  // the command still goes to address 2
    family1.port.inject(answer(103, {}, 1));
    EXPECT_EQ(family1.tick(), Step::Idle);
    EXPECT_EQ(family1.port.takeWritten(), hex("0210040106"));
}

TEST(ControllerLink, RepeatsEvery500MsAndFailsAfterTheThirdRepeat)
{
    LinkRig rig;
    rig.link.RequestPrint(2, 0, 0);
    int failedAt = -1;
    QList<int> sendTimes;
    for (int elapsed = 0; elapsed <= 3000 && failedAt < 0; elapsed += kTickMs) {
        const Step step = rig.tick();
        if (!rig.port.written.isEmpty()) {
            EXPECT_EQ(rig.port.takeWritten(), kStart);
            sendTimes << elapsed;
        }
        if (step == Step::Failed)
            failedAt = elapsed;
        else
            EXPECT_EQ(step, Step::PrintCommand) << elapsed;
    }
    EXPECT_EQ(sendTimes, QList<int>({0, 500, 1000, 1500}));
    EXPECT_EQ(failedAt, 1500);
    EXPECT_EQ(rig.tick(), Step::Idle);
    EXPECT_TRUE(rig.port.written.isEmpty());

    // The next command starts with a fresh count.
    rig.link.RequestPrint(2, 0, 0);
    Step end;
    EXPECT_EQ(rig.finish(end), 151);
    EXPECT_EQ(end, Step::Failed);
}

TEST(ControllerLink, CorruptOrForeignAnswerIsResentAtOnceWithoutCounting)
{
    LinkRig rig;
    rig.send();
    for (int t = 0; t < 10; ++t)
        rig.tick();
    // An answer for the other family (address 1) and one with a bad SUM.
    QByteArray bad = answer(101);
    bad[bad.size() - 1] = char(bad[bad.size() - 1] + 1);
    rig.port.inject(answer(101, {}, 1) + bad);
    EXPECT_EQ(rig.tick(), Step::PrintCommand);
    EXPECT_EQ(rig.port.takeWritten(), kStart + kStart);
    // The answer time was not restarted and no repeat was counted: the
    // failure comes 1500 ms after the first send, as without the answers.
    Step end;
    EXPECT_EQ((11 + rig.finish(end)) * kTickMs, 1500);
    EXPECT_EQ(end, Step::Failed);
}

TEST(ControllerLink, AnswersTwiceInOneReadEndTheCommandOnce)
{
    LinkRig rig;
    rig.send();
    // Each answer that asks for it is acknowledged; a garbled frame behind
    // the answer does not send the answered command again.
    QByteArray garbled = answer(101);
    garbled[garbled.size() - 1] = char(garbled[garbled.size() - 1] ^ 0x55);
    rig.port.inject(answer(102) + answer(106) + garbled);
    EXPECT_EQ(rig.tick(), Step::Idle);
    EXPECT_EQ(rig.port.takeWritten(), kAck + kAck);
    for (int t = 0; t < 100; ++t)
        ASSERT_EQ(rig.tick(), Step::Idle);
    EXPECT_TRUE(rig.port.takeWritten().isEmpty());
    // The next command waits for an answer of its own.
    EXPECT_EQ(rig.send(3), kStop);
    EXPECT_EQ(rig.tick(), Step::PrintCommand);
}

TEST(ControllerLink, AFrameSplitAcrossReadsIsPutTogether)
{
    // Data bytes 0x02 make doubled bytes on the line; every split point,
    // including the middle of a doubled byte and of the frame start.
    const QByteArray line = answer(103, hex("0210"));
    for (int split = 1; split < line.size(); ++split) {
        LinkRig rig;
        rig.send();
        rig.port.inject(line.left(split));
        ASSERT_EQ(rig.tick(), Step::PrintCommand) << split;
        rig.port.inject(line.mid(split));
        ASSERT_EQ(rig.tick(), Step::Idle) << split;
        EXPECT_EQ(rig.port.takeWritten(), kAck) << split;
    }
}

TEST(ControllerLink, ACommandAskedForDuringAnotherFollowsItsAnswer)
{
    // A stop asked for while the start still awaits its answer goes out
    // right after that answer, or after the start has failed.
    for (const bool answered : {true, false}) {
        LinkRig rig;
        rig.send();
        rig.link.RequestPrint(3, 0, 0);
        Step step = Step::PrintCommand;
        if (answered) {
            rig.port.inject(answer(101));
            EXPECT_EQ(rig.tick(), Step::PrintCommand);
        } else {
            rig.finish(step);
            EXPECT_EQ(step, Step::Failed);
            rig.port.takeWritten();
        }
        EXPECT_EQ(rig.tick(), Step::PrintCommand);
        EXPECT_EQ(rig.port.takeWritten(), kStop) << answered;
        rig.port.inject(answer(101));
        EXPECT_EQ(rig.tick(), Step::Idle);
        EXPECT_EQ(rig.tick(), Step::Idle);
        EXPECT_TRUE(rig.port.written.isEmpty());
    }
    // The last request wins: start, stop, start again leaves only the start.
    LinkRig rig;
    rig.send();
    rig.link.RequestPrint(3, 0, 0);
    rig.link.RequestPrint(2, 0, 0);
    rig.port.inject(answer(101));
    EXPECT_EQ(rig.tick(), Step::Idle);
    EXPECT_EQ(rig.tick(), Step::Idle);
    EXPECT_TRUE(rig.port.written.isEmpty());
}

TEST(ControllerLink, BusyFromTheRequestUntilTheLastCommandEnds)
{
    // The ticking may stop while the link is not busy; each request calls the work handler to start it again.
    LinkRig rig;
    int calls = 0;
    rig.link.setWorkHandler([&] { ++calls; });
    rig.link.RequestPrint(2, 0, 0);
    EXPECT_TRUE(rig.link.busy());  // queued, not yet sent
    rig.tick();
    rig.link.RequestPrint(3, 0, 0);  // follows the start
    Step end;
    rig.finish(end);
    EXPECT_TRUE(calls == 2 && end == Step::Failed && rig.link.busy());  // the stop is still to go
    rig.tick();
    rig.port.inject(answer(101));
    EXPECT_TRUE(rig.tick() == Step::Idle && !rig.link.busy());
}
