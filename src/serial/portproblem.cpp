#include "serial/portproblem.h"

#include <QStringList>

QStringList portCauseLines(const PortProblem &p)
{
    QStringList lines;
    switch (p.fault) {
    case PortFault::Missing:
        lines << QStringLiteral("Das Gerät ist nicht vorhanden. Ist der Adapter eingesteckt?");
        break;
    case PortFault::NoPermission: {
        // Without a known owner the usual one is named.
        const QString group = p.group.isEmpty() ? QStringLiteral("dialout") : p.group;
        lines << QStringLiteral("Keine Berechtigung: das Gerät gehört der Gruppe %1.").arg(group)
              << QStringLiteral("Benutzer zur Gruppe %1 hinzufügen und neu anmelden.").arg(group);
        break;
    }
    case PortFault::InUse:
        lines << QStringLiteral("Das Gerät ist von einem anderen Programm belegt.");
        break;
    case PortFault::NotSerial:
        lines << QStringLiteral("%1 ist keine serielle Schnittstelle.").arg(p.device);
        break;
    case PortFault::Other:
        if (!p.detail.isEmpty())
            lines << p.detail;
        break;
    case PortFault::None:
    case PortFault::Unassigned:
        break;
    }
    return lines;
}

QString portProblemHelp(const PortProblem &p)
{
    QStringList lines;
    if (p.comNumber <= 0)
        lines << QStringLiteral("Keine Schnittstelle eingestellt.");
    else if (p.device.isEmpty())
        lines << QStringLiteral("COM %1 ist keinem Gerät zugeordnet.").arg(p.comNumber);
    else
        lines << QStringLiteral("COM %1 = %2").arg(p.comNumber).arg(p.device);
    lines << portCauseLines(p);
    lines << (p.comNumber <= 0 ? QStringLiteral("Ändern: Programmeinstellungen")
                               : QStringLiteral("Ändern: Programmeinstellungen → Schnittstellen zuordnen"));
    return lines.join(QLatin1Char('\n'));
}

QString withPortHelp(const QString &text, const PortProblem &problem)
{
    return text + QStringLiteral("\n\n") + portProblemHelp(problem);
}
