// signovat info --data DIR: loads a data set as "Daten laden" does and prints
// the load report and what the main window would show.

#include "app/commands.h"
#include "data/installationtexts.h"
#include "data/installationtype.h"
#include "data/textfield.h"
#include "render/datasetchart.h"

#include <cstdio>

namespace {
void printLine(const QString &line)
{
    std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout);
}
}  // namespace

int runInfoCommand(const QStringList &args, const CommandEnvironment &)
{
    return parseThenRun("info", args, parseInfoOptions, runInfo);
}

int runInfo(const InfoOptions &options)
{
    const QString &dir = options.dataDir;
    const QString refusal = DataSetFolderRefusal(dir);
    if (!refusal.isEmpty())
        return refuseCommand("info", refusal);

    InstallationData data;
    for (const QString &line : loadDataSetAsAtStartup(data, dir))
        printLine(line);

    const InstallationHeader &h = data.Header;
    QStringList released;
    for (int n = 0; n < kProgramCount; ++n)
        if (h.ProgramReleased[n])
            released << QStringLiteral("Programm %1").arg(n + 1);
    printLine(QString());
    printLine(QStringLiteral("Anlage: ") + installationTypeText(data.Konf.InstallationType, QString()));
    printLine(QStringLiteral("Betriebsart: ") + operatingModeText(h));
    printLine(QStringLiteral("Gruppen: ") + QString::number(h.GroupCount));
    printLine(QStringLiteral("Gruppenzeilen im Plan: ") + QString::number(ShownGroupsOf(ControllerFamilyOf(data))));
    QStringList location{fieldText(h.LocationLine1), fieldText(h.LocationLine2)};
    location.removeAll(QString());
    printLine(QStringLiteral("Standort: ") + location.join(QStringLiteral(", ")));
    printLine(QStringLiteral("Auftraggeber: ") + fieldText(h.Customer));
    printLine(QStringLiteral("Prog. Freigabe: ") + released.join(QStringLiteral(", ")));
    printLine(QStringLiteral("Notprogramm: ") + emergencyProgramText(h.EmergencyProgram, QString()));
    if (!h.FixedTimeMode)
        std::fputs("Es kann nur ein Sollausdruck von Programmen\nmit der Betriebsart Festzeit und "
                   "Festzeit mit VA\ngemacht werden.\n",
                   stderr);
    return 0;
}
