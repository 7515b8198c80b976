#include "actual/linereceiver.h"

#include <algorithm>
#include <cstring>

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
    startLine();
}

void LineReceiver::startLine()
{
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
    while (!complete) {
        const char *feed = static_cast<const char *>(std::memchr(bytes + used, '\n', size_t(size - used)));
        if (!feed) {
            takePart(bytes + used, size - used);
            used = size;
            break;
        }
        takePart(bytes + used, feed - bytes - used);
        used = feed - bytes + 1;
        // An overlong line is dropped and the next one taken in its place.
        if (!overlong_)
            complete = line_;
        startLine();
    }
    pending_.remove(0, used);
    return complete;
}

void LineReceiver::takePart(const char *bytes, qsizetype size)
{
    // Room for the text and the carriage return that ends it.
    lineBytes_ += size;
    if (lineBytes_ > kLineCapacity + 1)
        overlong_ = true;
    if (textEnded_)
        return;
    qsizetype text = 0;
    while (text < size && bytes[text] != '\r' && bytes[text] != '\0')
        ++text;
    const qsizetype room = kLineCapacity - line_.size();
    if (text > room)
        overlong_ = true;
    line_.append(bytes, std::min(text, room));
    textEnded_ = text < size;
}
