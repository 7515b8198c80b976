// A controller that answers late, twice or in pieces: the print command
// takes as its answer only bytes that came after it was sent, ends once, and
// puts together a frame whatever reads it is spread over. In memory and over
// a pty pair.

#include "link/controllerlink.h"
#include "link/steppedanswertimer.h"
#include "serial/deviceserialport.h"
#include "serial/fakeserialport.h"
#include "serial/ptypair.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

constexpr int kTickMs = 10;

QByteArray answer(uint8_t type, const QByteArray &data = {})
{
    return StuffFrame(BuildFrame(2, 14, type, data, kKvx40Variant, 3));
}

const QByteArray kAck = StuffFrame(BuildAck(2));
const QByteArray kStart = StuffFrame(BuildPrintCommandFrame({2, 0, 0}, kKvx40Variant, 3));
const QByteArray kStop = StuffFrame(BuildPrintCommandFrame({3, 0, 0}, kKvx40Variant, 3));

struct Rig {
    explicit Rig(SerialPort &port) : link(port, timer) {}

    SteppedAnswerTimer timer;
    ControllerLink link;

    int tick()
    {
        timer.advance(kTickMs);
        return link.SendStep();
    }
    // Ticks until the command is answered or has failed.
    int finish()
    {
        int code = ControllerLink::kPrintCommand;
        for (int t = 0; t < 1000 && code == ControllerLink::kPrintCommand; ++t)
            code = tick();
        return code;
    }
};

// An open in-memory port and a link on it.
struct MemoryRig {
    FakeSerialPort fake;
    Rig rig {fake};
    MemoryRig() { fake.open(); }
};

TEST(HostilePeer, LateAnswerIsNotTakenForTheNextCommand)
{
    MemoryRig m;
    Rig &rig = m.rig;
    rig.link.RequestPrint(2, 0, 0);
    ASSERT_EQ(rig.finish(), ControllerLink::kFailed);

    // The answer to the failed command comes after all, before the next one.
    m.fake.inject(answer(101));
    EXPECT_EQ(rig.tick(), ControllerLink::kIdle);
    m.fake.takeWritten();
    rig.link.RequestPrint(3, 0, 0);
    EXPECT_EQ(rig.tick(), ControllerLink::kPrintCommand);
    EXPECT_EQ(m.fake.takeWritten(), kStop);
    for (int t = 0; t < 20; ++t)
        ASSERT_EQ(rig.tick(), ControllerLink::kPrintCommand) << t;
    m.fake.inject(answer(101));
    EXPECT_EQ(rig.tick(), ControllerLink::kIdle);

    // An answered command answered again a while later.
    rig.link.RequestPrint(2, 0, 0);
    rig.tick();
    m.fake.inject(answer(101));
    EXPECT_EQ(rig.tick(), ControllerLink::kIdle);
    m.fake.inject(answer(101));
    EXPECT_EQ(rig.tick(), ControllerLink::kIdle);
    rig.link.RequestPrint(3, 0, 0);
    EXPECT_EQ(rig.tick(), ControllerLink::kPrintCommand);
    EXPECT_EQ(rig.tick(), ControllerLink::kPrintCommand);
}

TEST(HostilePeer, AnswerTwiceInOneReadEndsTheCommandOnce)
{
    MemoryRig m;
    Rig &rig = m.rig;
    rig.link.RequestPrint(2, 0, 0);
    rig.tick();
    m.fake.takeWritten();

    // Each answer that asks for it is acknowledged; a garbled frame behind
    // the answer does not send the answered command again.
    QByteArray garbled = answer(101);
    garbled[garbled.size() - 1] = char(garbled[garbled.size() - 1] ^ 0x55);
    m.fake.inject(answer(102) + answer(106) + garbled);
    EXPECT_EQ(rig.tick(), ControllerLink::kIdle);
    EXPECT_EQ(m.fake.takeWritten(), kAck + kAck);
    for (int t = 0; t < 100; ++t)
        ASSERT_EQ(rig.tick(), ControllerLink::kIdle);
    EXPECT_TRUE(m.fake.takeWritten().isEmpty());

    // The next command waits for an answer of its own.
    rig.link.RequestPrint(3, 0, 0);
    EXPECT_EQ(rig.tick(), ControllerLink::kPrintCommand);
    EXPECT_EQ(m.fake.takeWritten(), kStop);
    EXPECT_EQ(rig.tick(), ControllerLink::kPrintCommand);
}

TEST(HostilePeer, FrameSplitAcrossReadsIsPutTogether)
{
    // Data bytes 0x02 make doubled bytes on the line; every split point,
    // including the middle of a doubled byte and of the frame start.
    const QByteArray line = answer(103, QByteArray::fromHex("0210"));
    for (int split = 1; split < line.size(); ++split) {
        SCOPED_TRACE(split);
        MemoryRig m;
        Rig &rig = m.rig;
        rig.link.RequestPrint(2, 0, 0);
        rig.tick();
        m.fake.takeWritten();
        m.fake.inject(line.left(split));
        ASSERT_EQ(rig.tick(), ControllerLink::kPrintCommand);
        m.fake.inject(line.mid(split));
        ASSERT_EQ(rig.tick(), ControllerLink::kIdle);
        EXPECT_EQ(m.fake.takeWritten(), kAck);
    }

    // One byte per tick.
    MemoryRig m;
    Rig &rig = m.rig;
    rig.link.RequestPrint(2, 0, 0);
    rig.tick();
    m.fake.takeWritten();
    for (int i = 0; i + 1 < line.size(); ++i) {
        m.fake.inject(line.mid(i, 1));
        ASSERT_EQ(rig.tick(), ControllerLink::kPrintCommand) << i;
    }
    m.fake.inject(line.right(1));
    EXPECT_EQ(rig.tick(), ControllerLink::kIdle);
    EXPECT_EQ(m.fake.takeWritten(), kAck);
}

// Polls a port until it holds at least n received bytes.
bool waitForBytes(SerialPort &port, int n)
{
    QElapsedTimer clock;
    clock.start();
    while (port.bytesWaiting() < n) {
        if (clock.elapsed() > 5000)
            return false;
        QThread::msleep(1);
    }
    return true;
}

QByteArray readExactly(SerialPort &port, int n)
{
    return waitForBytes(port, n) ? port.read(n) : QByteArray();
}

TEST(HostilePeerOverPty, SplitAndLateAnswersOverARealLine)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
    DeviceSerialPort ours, controller;
    ours.selectDevice(pty.first());
    controller.selectDevice(pty.second());
    ASSERT_TRUE(ours.open()) << ours.errorText().toStdString();
    ASSERT_TRUE(controller.open()) << controller.errorText().toStdString();
    Rig rig {ours};

    // The answer comes in two writes; the link polls in between.
    rig.link.RequestPrint(2, 0, 0);
    EXPECT_EQ(rig.tick(), ControllerLink::kPrintCommand);
    EXPECT_EQ(readExactly(controller, kStart.size()), kStart);
    const QByteArray line = answer(102, QByteArray::fromHex("02"));
    controller.write(line.left(4));
    ASSERT_TRUE(waitForBytes(ours, 4));
    EXPECT_EQ(rig.tick(), ControllerLink::kPrintCommand);
    controller.write(line.mid(4));
    ASSERT_TRUE(waitForBytes(ours, line.size() - 4));
    EXPECT_EQ(rig.tick(), ControllerLink::kIdle);
    EXPECT_EQ(readExactly(controller, kAck.size()), kAck);

    // The same answer once more, already received when the next command goes out.
    controller.write(line);
    ASSERT_TRUE(waitForBytes(ours, line.size()));
    rig.link.RequestPrint(3, 0, 0);
    EXPECT_EQ(rig.tick(), ControllerLink::kPrintCommand);
    EXPECT_EQ(readExactly(controller, kStop.size()), kStop);
    EXPECT_EQ(rig.tick(), ControllerLink::kPrintCommand);
    controller.write(answer(101));
    ASSERT_TRUE(waitForBytes(ours, answer(101).size()));
    EXPECT_EQ(rig.tick(), ControllerLink::kIdle);
}

}  // namespace
