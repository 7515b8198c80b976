#pragma once
// Small helpers for tests that build files byte by byte.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>

inline void putLe32(QByteArray &buf, int offset, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        buf[offset + i] = char((v >> (8 * i)) & 0xff);
}

inline void putLe16(QByteArray &buf, int offset, uint16_t v)
{
    buf[offset] = char(v & 0xff);
    buf[offset + 1] = char(v >> 8);
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}
