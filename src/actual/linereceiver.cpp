#include "actual/linereceiver.h"

std::optional<QByteArray> LineReceiver::nextLine(SerialPort &port)
{
    if (std::optional<QByteArray> line = takeLine())
        return line;
    const int waiting = port.bytesWaiting();
    if (waiting <= 0)
        return std::nullopt;
    append(port.read(std::min(waiting, kReadChunk)));
    return takeLine();
}

void LineReceiver::clear()
{
    pending_.clear();
    line_.clear();
    textEnded_ = false;
    overlong_ = false;
    lineBytes_ = 0;
}

std::optional<QByteArray> LineReceiver::takeLine()
{
    const char *bytes = pending_.constData();
    const qsizetype size = pending_.size();
    qsizetype used = 0;
    std::optional<QByteArray> complete;
    while (used < size && !complete) {
        const char c = bytes[used++];
        if (c == '\n') {
            if (!overlong_)
                complete = line_;
            line_.clear();
            textEnded_ = false;
            overlong_ = false;
            lineBytes_ = 0;
            continue;
        }
        // Room for the text and the carriage return that ends it.
        if (++lineBytes_ > kLineCapacity + 1)
            overlong_ = true;
        if (c == '\r' || c == '\0') {
            textEnded_ = true;
        } else if (!textEnded_) {
            if (line_.size() < kLineCapacity)
                line_.append(c);
            else
                overlong_ = true;
        }
    }
    pending_.remove(0, used);
    return complete;
}
