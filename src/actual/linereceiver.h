#pragma once
// Cuts the printer stream into lines. A line feed ends a line; a carriage
// return or a NUL ends its text (what follows up to the line feed is
// dropped). At most one line is completed per call, so a tick takes one
// second of the printout even when several have piled up.
//
// A line has room for 255 characters. A longer one cannot be a line of the
// printout (the widest is under 100 characters): it is dropped whole when
// its line feed comes, and so is garbage from a disturbed line. What comes
// after a carriage return counts towards that length too, so that noise on a
// loose cable never makes a line of its first few bytes.

#include "serial/serialport.h"

#include <QByteArray>
#include <optional>

class LineReceiver {
public:
    static constexpr int kLineCapacity = 255;
    // Bytes taken from the port per call at most: ample for a line a tick at
    // any baud rate, and a bound on what a flood without line feeds costs.
    static constexpr int kReadChunk = 4096;

    // The next complete line's text, if the port (or what was read from it
    // before) holds one.
    std::optional<QByteArray> nextLine(SerialPort &port);
    // Forgets the partial line and whatever was read ahead.
    void clear();
    // Bytes held between calls: at most kReadChunk read ahead plus one line,
    // however long the port goes without a line feed.
    qsizetype bufferedBytes() const { return pending_.size() + line_.size(); }

    // Feeds bytes directly (what nextLine reads from the port).
    void append(const QByteArray &bytes) { pending_ += bytes; }
    std::optional<QByteArray> takeLine();

private:
    // Takes bytes of the partial line (no line feed among them).
    void takePart(const char *bytes, qsizetype size);
    void startLine();

    QByteArray pending_;  // read from the port, not yet cut into lines
    QByteArray line_;     // the partial line
    bool textEnded_ = false;  // a CR or NUL ended the text of the partial line
    bool overlong_ = false;
    qsizetype lineBytes_ = 0;  // bytes of the partial line, those after its text included
};
