#pragma once
// The controller's printer output played from a transcript: the printout's
// lines, one per interval, from its first line once printing is started,
// until the stop request or the transcript's end. Faults of a real line can
// be mixed in. No I/O here; main.cpp moves the bytes and keeps the time.

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

enum class StreamFault {
    None,
    CutLine,       // the chosen data line breaks off halfway (its line end still comes)
    Garbage,       // noise without a line end runs into the chosen data line (a line far
                   // too long to be one of the printout's)
    Vanish,        // the port disappears before the chosen data line
    MissedHeader,  // printing was already under way: the printout starts at its first data line
};

bool ParseStreamFault(const QString &text, StreamFault &fault);

struct PlayerConfig {
    StreamFault fault = StreamFault::None;
    int faultAt = 10;          // the data line (1-based) the fault hits
    int garbageBytes = 1000;
    bool repeat = false;       // print the transcript again and again
};

class TranscriptPlayer {
public:
    // Lines as the controller prints them, without line ends.
    TranscriptPlayer(QList<QByteArray> lines, const PlayerConfig &config);

    // Lines of a transcript file (any line ends).
    static QList<QByteArray> ReadTranscript(const QString &path, QString *error);

    // The start request: printing begins with the first line (unless already printing).
    void Start();
    // The stop request.
    void Stop();
    bool playing() const { return playing_; }

    // What goes out in the next interval: one line with CR LF, possibly
    // disturbed; empty when not printing. *vanish is set when the port must
    // disappear now instead.
    QByteArray Next(bool *vanish);

private:
    int firstDataLine() const;

    QList<QByteArray> lines_;
    PlayerConfig config_;
    bool playing_ = false;
    int position_ = 0;
    int dataLinesSent_ = 0;
    uint32_t noise_ = 0x2545F491u;
};
