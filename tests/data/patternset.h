#pragma once
// Data files filled with pseudo-random bytes, so that a field read from a
// wrong offset shows as a wrong value, and little-endian look-ups into them.

#include "data/datafiles.h"
#include "tempdir.h"

#include <QByteArray>
#include <QDir>
#include <QMap>
#include <QString>
#include <cstdint>

inline QByteArray patternBytes(int size, uint32_t seed)
{
    QByteArray bytes(size, '\0');
    uint32_t x = seed * 2654435761u + 1;
    for (int i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bytes[i] = char(x & 0xff);
    }
    return bytes;
}

inline uint8_t byteAt(const QByteArray &b, int offset)
{
    return uint8_t(b.at(offset));
}

inline uint16_t le16At(const QByteArray &b, int offset)
{
    return uint16_t(byteAt(b, offset) | byteAt(b, offset + 1) << 8);
}

inline uint32_t le32At(const QByteArray &b, int offset)
{
    return uint32_t(byteAt(b, offset)) | uint32_t(byteAt(b, offset + 1)) << 8
        | uint32_t(byteAt(b, offset + 2)) << 16 | uint32_t(byteAt(b, offset + 3)) << 24;
}

inline int32_t leI32At(const QByteArray &b, int offset)
{
    return int32_t(le32At(b, offset));
}

// Writes all twenty files of the right sizes into dir; returns them by name.
inline QMap<QString, QByteArray> writePatternSet(const QString &dir)
{
    QMap<QString, QByteArray> files;
    uint32_t seed = 1;
    for (const DataFileInfo &info : kDataFiles) {
        const QString name = QString::fromLatin1(info.name);
        files[name] = patternBytes(info.size, seed++);
        writeBytes(QDir(dir).filePath(name), files[name]);
    }
    return files;
}
