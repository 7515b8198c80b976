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

constexpr ProtocolVariant kKvx40 = ProtocolVariant::Kvx40;
constexpr ProtocolVariant kPlain = ProtocolVariant::Plain;

constexpr int kTickMs = 10;

QByteArray answer(uint8_t type, const QByteArray &data = {})
{
    return StuffFrame(BuildFrame(2, 14, type, data, kKvx40, 3));
}

const QByteArray kAck = StuffFrame(BuildAck(ControllerFamily(2)));
const QByteArray kStart = StuffFrame(BuildPrintCommandFrame({2, 0, 0}, kKvx40, 3));
const QByteArray kStop = StuffFrame(BuildPrintCommandFrame({3, 0, 0}, kKvx40, 3));

struct Rig {
    explicit Rig(SerialPort &port) : link(port, timer) {}

    SteppedAnswerTimer timer;
    ControllerLink link;

    ControllerLink::Step tick()
    {
        timer.advance(kTickMs);
        return link.SendStep();
    }
    // Ticks until the command is answered or has failed.
    ControllerLink::Step finish()
    {
        ControllerLink::Step code = ControllerLink::Step::PrintCommand;
        for (int t = 0; t < 1000 && code == ControllerLink::Step::PrintCommand; ++t)
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
    ASSERT_EQ(rig.finish(), ControllerLink::Step::Failed);

    // The answer to the failed command comes after all, before the next one.
    m.fake.inject(answer(101));
    EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);
    m.fake.takeWritten();
    rig.link.RequestPrint(3, 0, 0);
    EXPECT_EQ(rig.tick(), ControllerLink::Step::PrintCommand);
    EXPECT_EQ(m.fake.takeWritten(), kStop);
    for (int t = 0; t < 20; ++t)
        ASSERT_EQ(rig.tick(), ControllerLink::Step::PrintCommand) << t;
    m.fake.inject(answer(101));
    EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);

    // An answered command answered again a while later.
    rig.link.RequestPrint(2, 0, 0);
    rig.tick();
    m.fake.inject(answer(101));
    EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);
    m.fake.inject(answer(101));
    EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);
    rig.link.RequestPrint(3, 0, 0);
    EXPECT_EQ(rig.tick(), ControllerLink::Step::PrintCommand);
    EXPECT_EQ(rig.tick(), ControllerLink::Step::PrintCommand);
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
    EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);
    EXPECT_EQ(m.fake.takeWritten(), kAck + kAck);
    for (int t = 0; t < 100; ++t)
        ASSERT_EQ(rig.tick(), ControllerLink::Step::Idle);
    EXPECT_TRUE(m.fake.takeWritten().isEmpty());

    // The next command waits for an answer of its own.
    rig.link.RequestPrint(3, 0, 0);
    EXPECT_EQ(rig.tick(), ControllerLink::Step::PrintCommand);
    EXPECT_EQ(m.fake.takeWritten(), kStop);
    EXPECT_EQ(rig.tick(), ControllerLink::Step::PrintCommand);
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
        ASSERT_EQ(rig.tick(), ControllerLink::Step::PrintCommand);
        m.fake.inject(line.mid(split));
        ASSERT_EQ(rig.tick(), ControllerLink::Step::Idle);
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
        ASSERT_EQ(rig.tick(), ControllerLink::Step::PrintCommand) << i;
    }
    m.fake.inject(line.right(1));
    EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);
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
    EXPECT_EQ(rig.tick(), ControllerLink::Step::PrintCommand);
    EXPECT_EQ(readExactly(controller, kStart.size()), kStart);
    const QByteArray line = answer(102, QByteArray::fromHex("02"));
    controller.write(line.left(4));
    ASSERT_TRUE(waitForBytes(ours, 4));
    EXPECT_EQ(rig.tick(), ControllerLink::Step::PrintCommand);
    controller.write(line.mid(4));
    ASSERT_TRUE(waitForBytes(ours, line.size() - 4));
    EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);
    EXPECT_EQ(readExactly(controller, kAck.size()), kAck);

    // The same answer once more, already received when the next command goes out.
    controller.write(line);
    ASSERT_TRUE(waitForBytes(ours, line.size()));
    rig.link.RequestPrint(3, 0, 0);
    EXPECT_EQ(rig.tick(), ControllerLink::Step::PrintCommand);
    EXPECT_EQ(readExactly(controller, kStop.size()), kStop);
    EXPECT_EQ(rig.tick(), ControllerLink::Step::PrintCommand);
    controller.write(answer(101));
    ASSERT_TRUE(waitForBytes(ours, answer(101).size()));
    EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);
}

}  // namespace
