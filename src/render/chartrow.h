#pragma once
// One second of a chart held as a record: switch-program charts, captured
// actual runs and actual-run files all use it. The byte form (124 bytes,
// little-endian) is the record layout of the actual-run file.

#include "data/installationdata.h"

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <cstdint>

constexpr int kChartRowBytes = 124;

struct ChartRow {
    PerGroup<int32_t> State{};           // SignalState of groups 1..24
    PerGroup<uint8_t> DetectorActive{};  // 1 when the group's detector was active
    int32_t ProgramNumber = 0;           // signal program running in this second
};

// The 124-byte record of a row.
QByteArray EncodeChartRow(const ChartRow &row);
// Reads a row from the first 124 bytes; false (row untouched) when fewer are given.
bool DecodeChartRow(QByteArrayView bytes, ChartRow &row);
