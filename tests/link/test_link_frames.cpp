// Frame building, byte stuffing, checksums and the receiving side's
// unstuffing of the controller link.

#include "link/framereceiver.h"
#include "link/linkframe.h"

#include <QList>
#include <gtest/gtest.h>

namespace {

constexpr ProtocolVariant kKvx40 = ProtocolVariant::Kvx40;
constexpr ProtocolVariant kPlain = ProtocolVariant::Plain;

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

}  // namespace

TEST(LinkFrame, PrintCommandInBothVariants)
{
    // KVX 40 / 10, version 6.30: class 14, two zero bytes, checksums from 3.
    const QByteArray kvx40 = BuildPrintCommandFrame({2, 0, 0}, kKvx40, 3);
    EXPECT_EQ(kvx40, hex("02100c020e6902000000007a16"));
    EXPECT_EQ(StuffFrame(kvx40), hex("02100c02020e690202000000007a16"));

    // Plain variant: class 127, checksums from 0; the seed does not count.
    const QByteArray plain = BuildPrintCommandFrame({2, 0, 0}, kPlain, 3);
    EXPECT_EQ(plain, hex("02100a027f690200000e16"));
    EXPECT_EQ(StuffFrame(plain), hex("02100a02027f69020200000e16"));

    EXPECT_EQ(uint8_t(BuildPrintCommandFrame({3, 0, 0}, kKvx40, 0)[2]), 12);
}

TEST(LinkFrame, AckAndStuffing)
{
    EXPECT_EQ(BuildAck(ControllerFamily(2)), hex("0210040206"));
    EXPECT_EQ(StuffFrame(BuildAck(ControllerFamily(2))), hex("021004020206"));
    EXPECT_EQ(StuffFrame(BuildAck(ControllerFamily(1))), hex("0210040106"));

    // Only from the length byte on is 0x02 doubled; 0x10 is never touched.
    EXPECT_EQ(StuffFrame(hex("0210020210")), hex("02100202020210"));
    EXPECT_EQ(StuffFrame(hex("02100b")), hex("02100b"));
}

TEST(LinkFrame, StoredFrameChecks)
{
    // A frame survives stuffing and unstuffing and passes the checks with the
    // seed it was built with, and only with that.
    FrameReceiver rx;
    const QByteArray frame = BuildFrame(2, 14, 102, hex("0210"), kKvx40, 2);
    const QList<QByteArray> got = receive(rx, StuffFrame(frame));
    ASSERT_EQ(got.size(), 1);
    QByteArray expected = frame;
    expected.remove(1, 1);  // stored without the 0x10 of the start
    EXPECT_EQ(got[0], expected);
    EXPECT_TRUE(StoredFrameValid(got[0], kKvx40, 2));
    EXPECT_FALSE(StoredFrameValid(got[0], kKvx40, 3));
    EXPECT_FALSE(StoredFrameValid(got[0], kPlain, 2));

    QByteArray spoilt = got[0];
    spoilt[kStoredType] = char(103);
    EXPECT_FALSE(StoredFrameValid(spoilt, kKvx40, 2));
    spoilt = got[0];
    spoilt[spoilt.size() - 2] = char(spoilt[spoilt.size() - 2] ^ 1);
    EXPECT_FALSE(StoredFrameValid(spoilt, kKvx40, 2));

    // Too short to carry an address and both checksums, or length byte disagreeing.
    EXPECT_FALSE(StoredFrameValid(hex("0201"), kPlain, 0));
    EXPECT_FALSE(StoredFrameValid(hex("02040216"), kPlain, 0));
    EXPECT_FALSE(StoredFrameValid(hex("0204020600"), kPlain, 0));
    // The shortest frames: an address and the checksums, with or without one byte between.
    EXPECT_TRUE(StoredFrameValid(hex("020502152e"), kPlain, 0));
    EXPECT_TRUE(StoredFrameValid(hex("020601071232"), kPlain, 0));
    EXPECT_TRUE(StoredFrameValid(hex("020601071134"), kKvx40, 3));
    QByteArray longer = got[0] + hex("00");
    EXPECT_FALSE(StoredFrameValid(longer, kKvx40, 2));
    EXPECT_FALSE(StoredFrameValid(QByteArray(), kPlain, 0));
}

TEST(FrameReceiver, UnstuffingAndFrameStarts)
{
    FrameReceiver rx;
    const QByteArray answer = BuildFrame(2, 127, 101, {}, kPlain, 0);
    QByteArray stored = answer;
    stored.remove(1, 1);

    // 0x02 0x10 drops a partial frame and starts over.
    QList<QByteArray> got = receive(rx, hex("02100c02020e") + StuffFrame(answer));
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0], stored);

    // 0x02 0x02 is one 0x02; a lone 0x02 before another byte is dropped.
    rx.Reset();
    got = receive(rx, hex("0210" "07" "0202" "01" "0205" "77" "aa"));
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0], hex("02" "07" "02" "01" "05" "77" "aa"));

    // Trailing bytes after a frame do not complete it again.
    rx.Reset();
    got = receive(rx, StuffFrame(answer) + hex("5555"));
    EXPECT_EQ(got.size(), 1);
}

TEST(FrameReceiver, LineFaultStaysInsideTheBufferAndNextFrameIsFound)
{
    // Far more bytes than the buffer holds, with and without a frame start:
    // whatever "frames" they make are rejected, nothing is written outside
    // the buffer, and the next frame start is recognised.
    const QByteArray answer = BuildFrame(1, 14, 106, hex("01"), kKvx40, 1);
    for (const QByteArray &noise : {hex("0210ff") + QByteArray(600, char(0x55)), QByteArray(1000, char(0x11)),
                                    QByteArray(300, char(0xff))}) {
        FrameReceiver rx;
        for (const QByteArray &f : receive(rx, noise))
            EXPECT_FALSE(StoredFrameValid(f, kKvx40, 1));
        EXPECT_LE(rx.frame().size(), 256);
        const QList<QByteArray> got = receive(rx, StuffFrame(answer));
        ASSERT_EQ(got.size(), 1);
        EXPECT_TRUE(StoredFrameValid(got[0], kKvx40, 1));
    }

    // A length byte of 1 or 0 never ends a frame early or reads before it.
    FrameReceiver tiny;
    EXPECT_TRUE(receive(tiny, hex("021001") + hex("021000")).isEmpty());
    EXPECT_EQ(receive(tiny, StuffFrame(answer)).size(), 1);
}
