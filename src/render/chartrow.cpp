#include "render/chartrow.h"

namespace {
constexpr int kDetectorOffset = 96;
constexpr int kProgramOffset = 120;

void putLe32(char *out, int32_t value)
{
    const auto v = uint32_t(value);
    for (int i = 0; i < 4; ++i)
        out[i] = char((v >> (8 * i)) & 0xff);
}

int32_t getLe32(const char *in)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t(uint8_t(in[i])) << (8 * i);
    return int32_t(v);
}
}  // namespace

QByteArray EncodeChartRow(const ChartRow &row)
{
    QByteArray bytes(kChartRowBytes, '\0');
    char *out = bytes.data();
    for (int g = 0; g < kGroupCount; ++g) {
        putLe32(out + 4 * g, row.State[g]);
        out[kDetectorOffset + g] = char(row.DetectorActive[g]);
    }
    putLe32(out + kProgramOffset, row.ProgramNumber);
    return bytes;
}

bool DecodeChartRow(QByteArrayView bytes, ChartRow &row)
{
    if (bytes.size() < kChartRowBytes)
        return false;
    const char *in = bytes.data();
    for (int g = 0; g < kGroupCount; ++g) {
        row.State[g] = getLe32(in + 4 * g);
        row.DetectorActive[g] = uint8_t(in[kDetectorOffset + g]);
    }
    row.ProgramNumber = getLe32(in + kProgramOffset);
    return true;
}
