#include "data/installationtexts.h"

QString installationTypeText(uint32_t type, const QString &unchanged)
{
    switch (type) {
    case TypeKvx: return QStringLiteral("KVX ...");
    case TypeQswRadio: return QStringLiteral("QSW 2000 / 2200 Funk");
    case TypeQswCable: return QStringLiteral("QSW 2000 / 2200 Kabel");
    case TypeKvx40: return QStringLiteral("KVX 40");
    case TypeKvx10Master: return QStringLiteral("KVX 10 Masterbetrieb");
    case TypeKvx10MasterSlave: return QStringLiteral("KVX 10 Master + Slavebetrieb");
    default: return unchanged;
    }
}

QString operatingModeText(const InstallationHeader &h)
{
    return h.FixedTimeMode ? QStringLiteral("Festzeit mit VA") : QStringLiteral("VA Betrieb");
}

QString emergencyProgramText(uint32_t program, const QString &unchanged)
{
    if (program >= 1 && program <= 6)
        return QStringLiteral("Programm %1").arg(program);
    if (program == 7)
        return QStringLiteral("Dunkel");
    if (program == 8)
        return QStringLiteral("Blinken");
    return unchanged;
}
