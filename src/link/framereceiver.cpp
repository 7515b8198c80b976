#include "link/framereceiver.h"

#include "link/linkframe.h"

bool FrameReceiver::Feed(uint8_t b)
{
    if (b == kFrameStart) {
        if (!rxEscape_) {
            rxEscape_ = true;
            return false;
        }
        rxEscape_ = false;
        Store(b);
    } else if (b == kFrameStartSecond && rxEscape_) {
        rxEscape_ = false;
        // A new frame: its length byte has not come yet, so the previous
        // frame's length must not end it early.
        rxPos_ = 0;
        rxExpected_ = 0;
        Store(kFrameStart);
    } else {
        Store(b);
    }
    return rxExpected_ != 0 && rxPos_ == rxExpected_;
}

void FrameReceiver::Store(uint8_t b)
{
    if (rxPos_ >= int(rxFrame_.size()))
        return;
    rxFrame_[size_t(rxPos_)] = b;
    if (rxPos_ == 1)
        rxExpected_ = b;
    ++rxPos_;
}

QByteArray FrameReceiver::frame() const
{
    return QByteArray(reinterpret_cast<const char *>(rxFrame_.data()), rxPos_);
}

void FrameReceiver::Reset()
{
    rxPos_ = 0;
    rxExpected_ = 0;
    rxEscape_ = false;
}
