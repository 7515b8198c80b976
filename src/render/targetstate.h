#pragma once
// The signal state a program prescribes for one group in one second of its
// cycle. Target plans are not stored as rows; their states follow from the
// program's green, yellow, red+yellow and window times.

#include "data/installationdata.h"
#include "render/signalstate.h"

#include <cstdint>

// One green interval of a group: green gf..gt, red+yellow ry seconds before
// it, yellow ye seconds after it, a flashing window ff..ft and an extra-yellow
// window yf..yt. A window a..b holds t when a <= t < b, or, when a > b, it
// wraps over the end of the cycle; a window with a == b is empty.
int32_t IntervalState(int64_t gf, int64_t gt, int64_t ry, int64_t ye, int64_t ff, int64_t ft,
                      int64_t yf, int64_t yt, int64_t cycle, int64_t t);

// State of group g (0-based) of `program` in second t (0 .. CycleTime - 1):
// both green intervals evaluated and combined.
int32_t TargetState(const SignalProgram &program, int g, int64_t t);
