#include "link/framereceiver.h"

#include "link/linkframe.h"

bool FrameReceiver::Feed(uint8_t b)
{
    if (b == kFrameStart) {
        if (!RxEscape) {
            RxEscape = true;
            return false;
        }
        RxEscape = false;
        Store(b);
    } else if (b == kFrameStartSecond && RxEscape) {
        RxEscape = false;
        // A new frame: its length byte has not come yet, so the previous
        // frame's length must not end it early.
        RxPos = 0;
        RxExpected = 0;
        Store(kFrameStart);
    } else {
        Store(b);
    }
    return RxExpected != 0 && RxPos == RxExpected;
}

void FrameReceiver::Store(uint8_t b)
{
    if (RxPos >= int(RxFrame.size()))
        return;
    RxFrame[size_t(RxPos)] = b;
    if (RxPos == 1)
        RxExpected = b;
    ++RxPos;
}

QByteArray FrameReceiver::frame() const
{
    return QByteArray(reinterpret_cast<const char *>(RxFrame.data()), RxPos);
}

void FrameReceiver::Reset()
{
    RxPos = 0;
    RxExpected = 0;
    RxEscape = false;
}
