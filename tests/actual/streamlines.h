#pragma once
// Building printout lines column by column, and the bundled transcripts.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

// line with text placed at the 1-based column (blanks in between).
inline QByteArray placeAt(QByteArray line, int column, const QByteArray &text)
{
    if (line.size() < column - 1 + text.size())
        line = line.leftJustified(column - 1 + text.size(), ' ');
    line.replace(column - 1, text.size(), text);
    return line;
}

// A data line: program digit, then per group the detector column and the
// two state characters, e.g. dataLine('1', {" R ", "*Gr"}).
inline QByteArray dataLine(char program, const QList<QByteArray> &groups)
{
    QByteArray line = " P";
    line += program;
    line += " 000";
    for (const QByteArray &g : groups)
        line += g;
    return line;
}

inline QString transcriptPath(const char *name)
{
    return QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/transcripts/") + QLatin1String(name);
}

inline const char *const kKvxTranscript = "kvx900-hauptstrasse-schulweg.txt";
inline const char *const kQswTranscript = "qsw2000-bahnhofstrasse.txt";

// The transcript's bytes as a controller sends them.
inline QByteArray transcriptBytes(const char *name)
{
    QFile f(transcriptPath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QList<QByteArray> transcriptLines(const char *name)
{
    QList<QByteArray> lines = transcriptBytes(name).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines)
        line.replace("\r", "");
    return lines;
}
