#include "data/textfield.h"

#include <QList>

#include <array>

namespace {

// Code points of the bytes 0x80 … 0x9F; 0 where the code page has no character.
constexpr char16_t kHighBytes[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// Every byte's code point: a stream line is decoded for every second shown.
constexpr std::array<char16_t, 256> decodeTable()
{
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[b] = b >= 0x80 && b <= 0x9F && kHighBytes[b - 0x80] != 0 ? kHighBytes[b - 0x80] : char16_t(b);
    return table;
}
constexpr std::array<char16_t, 256> kDecoded = decodeTable();

char encodeCodePoint(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    if (c <= 0x9F && kHighBytes[c - 0x80] == 0)
        return char(c);  // an undefined byte, decoded as its C1 control
    for (int i = 0; i < 32; ++i)
        if (kHighBytes[i] != 0 && kHighBytes[i] == c)
            return char(0x80 + i);
    return '?';
}

}  // namespace

QString fromCp1252(const char *data, qsizetype length)
{
    QString text(length, Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < length; ++i)
        out[i] = QChar(kDecoded[uint8_t(data[i])]);
    return text;
}

QByteArray toCp1252(const QString &text)
{
    QByteArray bytes;
    for (uint c : text.toUcs4())
        bytes.append(encodeCodePoint(c));
    return bytes;
}

QString GroupNameText(const InstallationData &d, int group)
{
    if (group < 0 || group >= kGroupCount)
        return QString();
    return fieldText(d.GroupNames[group]);
}

void TextToField10(const QString &text, GroupName &field)
{
    textToField(text, field);
}
