#pragma once
// Number texts of the charts. The proportional font makes a digit about as
// wide as two spaces, so leading spaces stand in for missing digits and the
// numbers of one column end flush right.

#include <QString>
#include <cstdint>

// 7 -> " 7. ", 12 -> "12. "
QString FormatGroupNumber(int64_t n);
// 120 -> " 120", 45 -> "   45", 7 -> "     7"
QString FormatSeconds(int64_t n);
// 7 -> "007", 45 -> "045", 1234 -> "1234"
QString FormatTime3(int64_t n);
