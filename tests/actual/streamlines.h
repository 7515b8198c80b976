#pragma once
// Printout lines column by column, the bundled transcripts, simulation files.

#include <QByteArray>
#include <QDateTime>
#include <QDir>
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

// A data line: program digit, then per group detector and two state characters: dataLine('1', {" R ", "*Gr"}).
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

// A file of the simulation program, D<number>.ist in dir, last written at stamp.
inline bool writeSimFile(const QString &dir, int number, const QByteArray &text, const QDateTime &stamp)
{
    QFile f(QDir(dir).filePath(QStringLiteral("D%1.ist").arg(number)));
    // Flushed before stamping: a later flush would stamp the file again.
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size() && f.flush()
           && f.setFileTime(stamp, QFileDevice::FileModificationTime);
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
