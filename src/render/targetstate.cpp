#include "render/targetstate.h"

namespace {
bool inWindow(int64_t a, int64_t b, int64_t t)
{
    if (a <= b)
        return a <= t && t < b;
    return t >= a || t < b;
}
}  // namespace

int32_t IntervalState(int64_t gf, int64_t gt, int64_t ry, int64_t ye, int64_t ff, int64_t ft,
                      int64_t yf, int64_t yt, int64_t cycle, int64_t t)
{
    int64_t yellowEnd = gt + ye;
    if (yellowEnd > cycle)
        yellowEnd -= cycle;
    int64_t redYellowStart = gf - ry;
    if (redYellowStart < 0)
        redYellowStart += cycle;

    const bool flashing = inWindow(ff, ft, t);
    const bool extraYellow = inWindow(yf, yt, t);

    if (inWindow(gf, gt, t))
        return flashing ? GreenFlashing : extraYellow ? GreenYellow : Green;
    if (gf == 0 && gt == 0)  // a group without green
        return flashing ? Flashing : extraYellow ? Yellow : Dark;
    const bool noTransitions = gf == gt || (ry == 0 && ye == 0);
    if (!noTransitions) {
        if (gt != yellowEnd && inWindow(gt, yellowEnd, t))
            return Yellow;
        if (inWindow(redYellowStart, gf, t))
            return RedYellow;
    }
    return flashing ? RedFlashing : extraYellow ? RedExtraYellow : Red;
}

int32_t TargetState(const SignalProgram &p, int g, int64_t t)
{
    const int64_t cycle = p.CycleTime;
    const int32_t s1 = IntervalState(p.GreenFrom1[g], p.GreenTo1[g], p.RedYellowTime[g],
                                     p.YellowTime[g], p.FlashFrom1[g], p.FlashTo1[g],
                                     p.YellowFrom1[g], p.YellowTo1[g], cycle, t);
    switch (s1) {
    case RedYellow:
    case Yellow:
    case Flashing:
    case GreenYellow:
    case GreenFlashing:
        return s1;  // transitions of the first interval take precedence
    default:
        break;
    }

    // Without a second interval the first is evaluated again with the second windows.
    const bool noSecond = p.GreenFrom2[g] == 0 && p.GreenTo2[g] == 0;
    const int64_t gf2 = noSecond ? p.GreenFrom1[g] : p.GreenFrom2[g];
    const int64_t gt2 = noSecond ? p.GreenTo1[g] : p.GreenTo2[g];
    const int32_t s2 = IntervalState(gf2, gt2, p.RedYellowTime[g], p.YellowTime[g],
                                     p.FlashFrom2[g], p.FlashTo2[g], p.YellowFrom2[g],
                                     p.YellowTo2[g], cycle, t);
    switch (s1) {
    case Dark:
        return s2;
    case Red:
        return s2 == Dark ? Red : s2;
    case Green:
        if (s2 == Yellow || s2 == RedExtraYellow)
            return GreenYellow;
        if (s2 == Flashing || s2 == RedFlashing)
            return GreenFlashing;
        return Green;
    case RedExtraYellow:
        return (s2 == Green || s2 == GreenYellow) ? GreenYellow : RedExtraYellow;
    case RedFlashing:
        return (s2 == Green || s2 == GreenFlashing) ? GreenFlashing : RedFlashing;
    default:
        return s1;
    }
}
