// The print command machine: sending, answers, acknowledgements, repeats and
// failure, with an in-memory port and a timer stepped by the test.

#include "link/controllerlink.h"
#include "link/steppedanswertimer.h"
#include "serial/fakeserialport.h"

#include <QList>
#include <gtest/gtest.h>

namespace {

constexpr ProtocolVariant kKvx40 = ProtocolVariant::Kvx40;
constexpr ProtocolVariant kPlain = ProtocolVariant::Plain;

constexpr int kTickMs = 10;

struct LinkRig {
    FakeSerialPort port;
    SteppedAnswerTimer timer;
    ControllerLink link {port, timer};

    LinkRig() { port.open(); }

    // 10 ms pass, then the IO timer's tick.
    ControllerLink::Step tick()
    {
        timer.advance(kTickMs);
        return link.SendStep();
    }
};

QByteArray answer(uint8_t address, uint8_t type, const QByteArray &data = {})
{
    return StuffFrame(BuildFrame(address, 14, type, data, kKvx40, 3));
}

const QByteArray kStartFrame = QByteArray::fromHex("02100c02020e690202000000007a16");

}  // namespace

TEST(ControllerLink, SendsOnceRequestedAndEndsWithAnyAnswer)
{
    LinkRig rig;
    EXPECT_EQ(rig.link.SendStep(), ControllerLink::Step::Idle);
    EXPECT_TRUE(rig.port.written.isEmpty());

    // Bytes from before the command are no answer to it.
    rig.port.inject(answer(2, 101));
    rig.link.RequestPrint(2, 0, 0);
    EXPECT_EQ(rig.tick(), ControllerLink::Step::PrintCommand);
    EXPECT_EQ(rig.port.takeWritten(), kStartFrame);
    EXPECT_EQ(rig.tick(), ControllerLink::Step::PrintCommand);
    EXPECT_TRUE(rig.port.written.isEmpty());

    rig.port.inject(answer(2, 101));
    EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);
    EXPECT_TRUE(rig.port.written.isEmpty());  // type 101 is not acknowledged
    EXPECT_FALSE(rig.timer.isRunning());
    EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);

    // Plain frames for the other variant, stop command.
    rig.link.setProtocolVariant(ProtocolVariant::Plain);
    rig.link.RequestPrint(3, 0, 0);
    EXPECT_EQ(rig.tick(), ControllerLink::Step::PrintCommand);
    EXPECT_EQ(rig.port.takeWritten(), StuffFrame(BuildPrintCommandFrame({3, 0, 0}, kPlain, 0)));
    rig.port.inject(StuffFrame(BuildFrame(2, 127, 7, {}, kPlain, 0)));
    EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);
}

TEST(ControllerLink, AcknowledgesTypes102_103And106)
{
    for (int type : {102, 103, 106, 101, 104, 0, 255}) {
        LinkRig rig;
        rig.link.RequestPrint(2, 0, 0);
        rig.tick();
        rig.port.takeWritten();
        rig.port.inject(answer(2, uint8_t(type)));
        EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle) << type;
        const bool acked = type == 102 || type == 103 || type == 106;
        EXPECT_EQ(rig.port.takeWritten(), acked ? QByteArray::fromHex("021004020206") : QByteArray()) << type;
    }

    LinkRig family1;
    family1.link.setControllerFamily(ControllerFamily::Other);
    family1.link.RequestPrint(2, 0, 0);
    family1.tick();
    EXPECT_EQ(family1.port.takeWritten(), kStartFrame);  // the command still goes to address 2
    family1.port.inject(answer(1, 103));
    EXPECT_EQ(family1.tick(), ControllerLink::Step::Idle);
    EXPECT_EQ(family1.port.takeWritten(), QByteArray::fromHex("0210040106"));
}

TEST(ControllerLink, RepeatsEvery500MsAndFailsAfterTheThirdRepeat)
{
    LinkRig rig;
    rig.link.RequestPrint(2, 0, 0);
    int elapsed = 0;
    int failedAt = -1;
    QList<int> sendTimes;
    for (; elapsed <= 3000 && failedAt < 0; elapsed += kTickMs) {
        const ControllerLink::Step code = rig.tick();
        if (!rig.port.written.isEmpty()) {
            EXPECT_EQ(rig.port.takeWritten(), kStartFrame);
            sendTimes << elapsed;
        }
        if (code == ControllerLink::Step::Failed)
            failedAt = elapsed;
        else
            EXPECT_EQ(code, ControllerLink::Step::PrintCommand) << elapsed;
    }
    ASSERT_EQ(sendTimes.size(), 4);
    EXPECT_EQ(sendTimes[1] - sendTimes[0], 500);
    EXPECT_EQ(sendTimes[2] - sendTimes[1], 500);
    EXPECT_EQ(sendTimes[3] - sendTimes[2], 500);
    EXPECT_EQ(failedAt, sendTimes[3]);
    EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);
    EXPECT_TRUE(rig.port.written.isEmpty());

    // The next command starts with a fresh count: answered after two repeats.
    rig.link.RequestPrint(2, 0, 0);
    int sends = 0;
    ControllerLink::Step code = ControllerLink::Step::PrintCommand;
    for (int t = 0; t < 3000 && code == ControllerLink::Step::PrintCommand; t += kTickMs) {
        code = rig.tick();
        if (!rig.port.takeWritten().isEmpty() && ++sends == 3)
            rig.port.inject(answer(2, 101));
    }
    EXPECT_EQ(code, ControllerLink::Step::Idle);
    EXPECT_EQ(sends, 3);
}

TEST(ControllerLink, CorruptOrForeignAnswerIsResentAtOnceWithoutCounting)
{
    LinkRig rig;
    rig.link.RequestPrint(2, 0, 0);
    rig.tick();
    rig.port.takeWritten();
    int ticksSinceSend = 0;
    for (; ticksSinceSend < 10; ++ticksSinceSend)
        rig.tick();

    // An answer for the other family (address 1) and one with a bad SUM.
    QByteArray bad = BuildFrame(2, 14, 101, {}, kKvx40, 3);
    bad[bad.size() - 1] = char(bad[bad.size() - 1] + 1);
    rig.port.inject(answer(1, 101) + StuffFrame(bad));
    EXPECT_EQ(rig.tick(), ControllerLink::Step::PrintCommand);
    ++ticksSinceSend;
    EXPECT_EQ(rig.port.takeWritten(), kStartFrame + kStartFrame);

    // The answer time was not restarted and no repeat was counted: the
    // failure comes 1500 ms after the first send, as without the answers.
    ControllerLink::Step code = ControllerLink::Step::PrintCommand;
    while (code == ControllerLink::Step::PrintCommand && ticksSinceSend < 300) {
        code = rig.tick();
        ++ticksSinceSend;
    }
    EXPECT_EQ(code, ControllerLink::Step::Failed);
    EXPECT_EQ(ticksSinceSend * kTickMs, 1500);
}

TEST(ControllerLink, FindsTheAnswerBehindBrokenFramesAndLineNoise)
{
    LinkRig rig;
    rig.link.RequestPrint(2, 0, 0);
    rig.tick();
    rig.port.takeWritten();

    // A frame cut off by a new frame start is dropped without a resend; the
    // answer carries doubled 0x02 bytes (address, data).
    rig.port.inject(QByteArray::fromHex("02100c02020e") + answer(2, 101, QByteArray::fromHex("0202")));
    EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);
    EXPECT_TRUE(rig.port.written.isEmpty());

    // Far more than a frame's worth of noise, then an answer.
    rig.link.RequestPrint(2, 0, 0);
    rig.tick();
    rig.port.takeWritten();
    rig.port.inject(QByteArray(700, char(0x55)));
    EXPECT_EQ(rig.tick(), ControllerLink::Step::PrintCommand);
    rig.port.inject(answer(2, 102));
    EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);
    EXPECT_TRUE(rig.port.takeWritten().endsWith(QByteArray::fromHex("021004020206")));
}

TEST(ControllerLink, ACommandAskedForDuringAnotherFollowsItsAnswer)
{
    // A stop asked for while the start still awaits its answer goes out
    // right after that answer, or after the start has failed.
    const QByteArray stopFrame = StuffFrame(BuildPrintCommandFrame({3, 0, 0}, kKvx40, 3));
    for (const bool answered : {true, false}) {
        LinkRig rig;
        rig.link.RequestPrint(2, 0, 0);
        rig.tick();
        EXPECT_EQ(rig.port.takeWritten(), kStartFrame);
        rig.link.RequestPrint(3, 0, 0);
        ControllerLink::Step code = ControllerLink::Step::PrintCommand;
        if (answered) {
            rig.port.inject(answer(2, 101));
            code = rig.tick();
        } else {
            for (int t = 0; t < 300 && code == ControllerLink::Step::PrintCommand; ++t)
                code = rig.tick();
            EXPECT_EQ(code, ControllerLink::Step::Failed);
            rig.port.takeWritten();
            code = ControllerLink::Step::PrintCommand;
        }
        EXPECT_EQ(code, ControllerLink::Step::PrintCommand) << answered;
        EXPECT_EQ(rig.tick(), ControllerLink::Step::PrintCommand);
        EXPECT_EQ(rig.port.takeWritten(), stopFrame) << answered;
        rig.port.inject(answer(2, 101));
        EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);
        EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);
        EXPECT_TRUE(rig.port.written.isEmpty());
    }

    // The last request wins: start, stop, start again leaves only the start.
    LinkRig rig;
    rig.link.RequestPrint(2, 0, 0);
    rig.tick();
    rig.port.takeWritten();
    rig.link.RequestPrint(3, 0, 0);
    rig.link.RequestPrint(2, 0, 0);
    rig.port.inject(answer(2, 101));
    EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);
    EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle);
    EXPECT_TRUE(rig.port.written.isEmpty());
}

TEST(ControllerLink, AnAnswerWithoutTypeEndsTheCommandUnacknowledged)
{
    // Address and checksums only (length 5), and with one byte more (6).
    for (const char *stored : {"0205021632", "0206026673f6"}) {
        LinkRig rig;
        rig.link.RequestPrint(2, 0, 0);
        rig.tick();
        rig.port.takeWritten();
        QByteArray frame = QByteArray::fromHex(stored);
        frame.insert(1, char(0x10));
        rig.port.inject(StuffFrame(frame));
        EXPECT_EQ(rig.tick(), ControllerLink::Step::Idle) << stored;
        EXPECT_TRUE(rig.port.written.isEmpty()) << stored;
    }
}
