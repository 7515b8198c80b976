#pragma once
// Undoes the byte stuffing of the controller link and collects one frame.
//
// 0x02 0x02 stands for one 0x02; 0x02 0x10 starts a frame and drops whatever
// was collected; a 0x02 before any other byte is dropped. A frame is stored
// without the 0x10 of its start, so its stored length equals its length
// byte. Bytes beyond the 256 the buffer holds (a line fault: no frame start
// for that long) are dropped until the next frame start.

#include <QByteArray>
#include <array>
#include <cstdint>

class FrameReceiver {
public:
    // Takes one byte from the line; true when it completed a frame, which
    // frame() then returns.
    bool Feed(uint8_t b);
    QByteArray frame() const;
    // Forgets the collected bytes and a pending 0x02.
    void Reset();

private:
    void Store(uint8_t b);

    std::array<uint8_t, 256> rxFrame_ {};
    int rxPos_ = 0;
    int rxExpected_ = 0;
    bool rxEscape_ = false;
};
