#include "app/commands.h"

#include <cstdio>

namespace {
// Add a line here when a new command file lands.
const CommandEntry kCommands[] = {
    {"info", "info --data DIR     Datensatz laden, Ladebericht und Anlagendaten ausgeben", runInfoCommand},
    {"send-print", "send-print start|stop --port COMn|GERÄT [--kvx | --kvx40 --version 6.00…6.30] [--family 1|2]     Druckbefehl an die Steuerung senden", runSendPrintCommand},
    {"states", "states --data DIR --program N [--chart soll|ein|aus-gezielt|aus-stoerung] | states --run FILE.DRI     Signalzustände je Sekunde als CSV ausgeben", runStatesCommand},
    {"render", "render --data DIR --program N [--chart …] | --run FILE.DRI [--compare DIR] --out FILE.pdf|FILE.png|FILE.svg [--pages 1,3-4] [--bw|--colour] [--width PX]     Diagramm als PDF, als Druckseiten in SVG (Breite 2000) oder als Vorschaubilder schreiben", runRenderCommand},
    {"capture", "capture --mode kvx|kvx40-1200|kvx40-9600|kvx40-19200|qsw --out FILE.DRI [--port COMn|GERÄT] [--controller-port COMn|GERÄT] [--minutes N] [--names NAMEN.DAT] | capture --sim [--sim-dir DIR] --out FILE.DRI [--minutes N] [--names NAMEN.DAT]     Ist-Druck aufzeichnen und als .DRI speichern", runCaptureCommand},
    {"compare", "compare --data DIR --run FILE.DRI [--csv]     Ist-Ablauf mit dem Sollplan vergleichen; Ende 0: wie geplant, 1: Abweichungen, 2: Eingabe fehlerhaft", runCompareCommand},
    {"print", "print [--printer NAME] [--copies N] [--pages 1,3-4] [--bw|--colour] (--data DIR --program N [--chart …] | --run FILE.DRI)     Diagramm drucken wie \"Alle\" / \"Auswahl\" der Vorschau, ein Auftrag je Kopie (ohne --printer: Standarddrucker)", runPrintCommand},
    {"printers", "printers     Druckerwarteschlangen auflisten, der Standarddrucker mit *", runPrintersCommand},
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
    // An entry's usage is the call, five blanks, then what it does.
    for (const CommandEntry &c : kCommands) {
        const QString usage = QString::fromUtf8(c.usage);
        const int gap = usage.indexOf(QStringLiteral("     "));
        out += QStringLiteral("  signovat %1\n").arg(usage.left(gap).trimmed());
        if (gap >= 0)
            out += QStringLiteral("      %1\n").arg(usage.mid(gap).trimmed());
    }
    return out;
}

int refuseCommand(const char *command, const QString &reason)
{
    std::fprintf(stderr, "signovat %s: %s\n", command, reason.toUtf8().constData());
    return 1;
}
