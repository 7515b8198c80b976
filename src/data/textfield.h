#pragma once
// Text in the data files: fixed-width Windows-1252 fields padded with blanks,
// without terminator.

#include "data/installationdata.h"

#include <QByteArray>
#include <QString>
#include <array>

// Decodes Windows-1252, including its printable characters at 0x80-0x9F; the
// five bytes the code page leaves undefined become the C1 controls of the
// same value, so they survive a round trip.
QString fromCp1252(const char *data, qsizetype length);

// Encodes in Windows-1252; a character the code page does not have becomes '?'.
QByteArray toCp1252(const QString &text);

// The field's text without its trailing blanks (an all-blank field gives "").
template <std::size_t N> QString fieldText(const std::array<char, N> &field)
{
    qsizetype length = qsizetype(N);
    while (length > 0 && field[length - 1] == ' ')
        --length;
    return fromCp1252(field.data(), length);
}

// Blanks the field, then copies the encoded text to its start; what does not
// fit is cut off.
template <std::size_t N> void textToField(const QString &text, std::array<char, N> &field)
{
    field.fill(' ');
    const QByteArray bytes = toCp1252(text);
    for (qsizetype i = 0; i < bytes.size() && i < qsizetype(N); ++i)
        field[i] = bytes[i];
}

// The name of group index 0 … 23 without trailing blanks; "" for any other index.
QString GroupNameText(const InstallationData &d, int group);

// Stores an edited group name: blanks, then the first 10 characters.
void TextToField10(const QString &text, GroupName &field);
