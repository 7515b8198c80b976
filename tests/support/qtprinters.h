#pragma once
// Readable failure messages for Qt strings in GoogleTest expectations.

#include <QString>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
