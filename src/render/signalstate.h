#pragma once
// The state of one signal group in one second, as drawn in every chart.

#include <QString>
#include <cstdint>

enum SignalState : int32_t {
    Dark = 0,
    Red = 1,
    Green = 2,
    RedYellow = 3,
    Yellow = 4,
    Flashing = 5,
    RedExtraYellow = 6,  // drawn like RedYellow, no legend entry of its own
    RedFlashing = 7,
    GreenYellow = 8,
    GreenFlashing = 9,
};

// Codes above this draw nothing.
constexpr int32_t kHighestSignalState = GreenFlashing;

// The legend text of a state; code 6 is named as the code it is drawn as, a
// code no state has by its number.
QString SignalStateName(int32_t state);
