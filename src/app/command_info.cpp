// signovat info --data DIR: loads a data set as "Daten laden" does and prints
// the load report and what the main window would show.

#include "app/commands.h"
#include "app/maincontroller.h"
#include "data/datasetloader.h"
#include "data/defaults.h"
#include "data/textfield.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

namespace {
void printLine(const QString &line)
{
    std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout);
}
}  // namespace

int runInfoCommand(const QStringList &args, const CommandEnvironment &)
{
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("data"), QStringLiteral("Datenverzeichnis"), QStringLiteral("DIR")});
    if (!parser.parse(QStringList{QStringLiteral("signovat info")} + args)) {
        std::fprintf(stderr, "signovat info: %s\n", parser.errorText().toUtf8().constData());
        return 1;
    }
    const QString dir = parser.value(QStringLiteral("data"));
    if (dir.isEmpty()) {
        std::fprintf(stderr, "signovat info: --data DIR fehlt\n");
        return 1;
    }
    if (!QFileInfo(dir).isDir()) {
        std::fprintf(stderr, "signovat info: Verzeichnis \"%s\" nicht gefunden\n", dir.toUtf8().constData());
        return 1;
    }

    // As after start-up: a new program of type 0 with 24 groups, then the files.
    InstallationData data;
    const ResetRules rules{true, 0};
    resetToDefaults(data, rules, nullptr, false);
    data.Konf.InstallationType = TypeKvx;
    data.Header.GroupCount = kGroupCount;
    for (const QString &line : loadDataSet(data, dir, rules))
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
