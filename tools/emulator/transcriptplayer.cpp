#include "transcriptplayer.h"

#include <QFile>

bool ParseStreamFault(const QString &text, StreamFault &fault)
{
    if (text == QLatin1String("none"))
        fault = StreamFault::None;
    else if (text == QLatin1String("cut-line"))
        fault = StreamFault::CutLine;
    else if (text == QLatin1String("garbage"))
        fault = StreamFault::Garbage;
    else if (text == QLatin1String("vanish"))
        fault = StreamFault::Vanish;
    else if (text == QLatin1String("missed-header"))
        fault = StreamFault::MissedHeader;
    else
        return false;
    return true;
}

TranscriptPlayer::TranscriptPlayer(QList<QByteArray> lines, const PlayerConfig &config)
    : lines_(std::move(lines)), config_(config)
{
}

QList<QByteArray> TranscriptPlayer::ReadTranscript(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    QList<QByteArray> lines = file.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

int TranscriptPlayer::firstDataLine() const
{
    for (int i = 0; i < lines_.size(); ++i)
        if (lines_[i].startsWith(" P"))
            return i;
    return 0;
}

void TranscriptPlayer::Start()
{
    if (playing_)
        return;
    playing_ = true;
    position_ = config_.fault == StreamFault::MissedHeader ? firstDataLine() : 0;
    dataLinesSent_ = 0;
}

void TranscriptPlayer::Stop()
{
    playing_ = false;
}

QByteArray TranscriptPlayer::Next(bool *vanish)
{
    *vanish = false;
    if (!playing_)
        return {};
    if (position_ >= lines_.size()) {
        if (!config_.repeat) {
            playing_ = false;
            return {};
        }
        position_ = 0;
    }
    QByteArray line = lines_[position_++];
    if (!line.startsWith(" P"))
        return line + "\r\n";

    const bool hit = ++dataLinesSent_ == config_.faultAt;
    if (hit && config_.fault == StreamFault::Vanish) {
        *vanish = true;
        playing_ = false;
        return {};
    }
    if (hit && config_.fault == StreamFault::CutLine)
        line.truncate(line.size() / 2);
    if (hit && config_.fault == StreamFault::Garbage) {
        QByteArray noise;
        for (int i = 0; i < config_.garbageBytes; ++i) {
            // xorshift: the same noise every run
            noise_ ^= noise_ << 13;
            noise_ ^= noise_ >> 17;
            noise_ ^= noise_ << 5;
            // No line end and no text end: the noise runs into the line.
            const char c = char(noise_ & 0xff);
            noise.append(c == '\n' || c == '\r' || c == '\0' ? '~' : c);
        }
        line.prepend(noise);
    }
    return line + "\r\n";
}
