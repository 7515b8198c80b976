#include "app/commands.h"

namespace {
// Add a line here when a new command file lands.
const CommandEntry kCommands[] = {
    {"info", "info --data DIR     Datensatz laden, Ladebericht und Anlagendaten ausgeben", runInfoCommand},
    {"send-print", "send-print start|stop --port COMn|GERÄT [--kvx | --kvx40 --version 6.00…6.30] [--family 1|2]     Druckbefehl an die Steuerung senden", runSendPrintCommand},
    {"states", "states --data DIR --program N [--chart soll|ein|aus-gezielt|aus-stoerung]     Signalzustände je Sekunde als CSV ausgeben", runStatesCommand},
    {"render", "render --data DIR --program N [--chart …] --out FILE.pdf|FILE.png [--pages 1,3-4] [--bw|--colour] [--width PX]     Diagramm als PDF oder Vorschaubilder schreiben", runRenderCommand},
};
}  // namespace

const CommandEntry *findCommand(const QString &name)
{
    for (const CommandEntry &c : kCommands)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

QString commandUsage()
{
    QString out;
    for (const CommandEntry &c : kCommands)
        out += QStringLiteral("  signovat %1\n").arg(QString::fromUtf8(c.usage));
    return out;
}
