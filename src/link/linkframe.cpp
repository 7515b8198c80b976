#include "link/linkframe.h"

uint8_t EffectiveSeed(ProtocolVariant variant, uint8_t checksumSeed)
{
    return variant == ProtocolVariant::Kvx40 ? checksumSeed : 0;
}

QByteArray BuildFrame(uint8_t address, uint8_t frameClass, uint8_t type, const QByteArray &data,
                      ProtocolVariant variant, uint8_t checksumSeed)
{
    QByteArray frame;
    frame.append(char(kFrameStart));
    frame.append(char(kFrameStartSecond));
    frame.append(char(0));  // LEN, set below
    frame.append(char(address));
    frame.append(char(frameClass));
    frame.append(char(type));
    frame.append(data);
    if (variant == ProtocolVariant::Kvx40)
        frame.append(2, char(0));
    frame[2] = char(frame.size() + 1);

    const uint8_t seed = EffectiveSeed(variant, checksumSeed);
    uint8_t x = seed;
    for (char c : frame)
        x ^= uint8_t(c);
    frame.append(char(x));
    uint8_t sum = seed;
    for (char c : frame)
        sum = uint8_t(sum + uint8_t(c));
    frame.append(char(sum));
    return frame;
}

QByteArray BuildPrintCommandFrame(const PrintCommandBytes &command, ProtocolVariant variant,
                                  uint8_t checksumSeed)
{
    const uint8_t frameClass = variant == ProtocolVariant::Kvx40 ? kPrintCommandClassKvx40 : kPrintCommandClassPlain;
    const QByteArray data(reinterpret_cast<const char *>(command.data()), int(command.size()));
    return BuildFrame(kPrintCommandAddress, frameClass, kPrintCommandType, data, variant, checksumSeed);
}

QByteArray BuildAck(ControllerFamily family)
{
    QByteArray ack;
    ack.append(char(kFrameStart));
    ack.append(char(kFrameStartSecond));
    ack.append(char(4));
    ack.append(char(family));
    ack.append(char(0x06));
    return ack;
}

QByteArray StuffFrame(const QByteArray &frame)
{
    QByteArray line = frame.left(2);
    for (int i = 2; i < frame.size(); ++i) {
        line.append(frame[i]);
        if (uint8_t(frame[i]) == kFrameStart)
            line.append(frame[i]);
    }
    return line;
}

bool StoredFrameValid(const QByteArray &stored, ProtocolVariant variant, uint8_t checksumSeed)
{
    if (stored.size() < kMinStoredFrame || uint8_t(stored[0]) != kFrameStart
        || uint8_t(stored[1]) != stored.size())
        return false;
    // The 0x10 of the frame start is not stored but counts in both checksums.
    const int n = stored.size() - 1;  // position of SUM
    const uint8_t seed = EffectiveSeed(variant, checksumSeed);
    uint8_t sum = uint8_t(seed + kFrameStartSecond);
    for (int i = 0; i < n; ++i)
        sum = uint8_t(sum + uint8_t(stored[i]));
    uint8_t x = seed ^ kFrameStartSecond;
    for (int i = 0; i < n - 1; ++i)
        x ^= uint8_t(stored[i]);
    return sum == uint8_t(stored[n]) && x == uint8_t(stored[n - 1]);
}
