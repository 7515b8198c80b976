#include "render/signalstate.h"

QString SignalStateName(int32_t state)
{
    switch (state) {
    case Dark:
        return QStringLiteral("Dunkel");
    case Red:
        return QStringLiteral("Rot");
    case Green:
        return QStringLiteral("Grün");
    case RedYellow:
    case RedExtraYellow:
        return QStringLiteral("Rot+Gelb");
    case Yellow:
        return QStringLiteral("Gelb");
    case Flashing:
        return QStringLiteral("Blinken");
    case RedFlashing:
        return QStringLiteral("Rot+Blinken");
    case GreenYellow:
        return QStringLiteral("Grün+Gelb");
    case GreenFlashing:
        return QStringLiteral("Grün+Blinken");
    }
    return QStringLiteral("Code %1").arg(state);
}
