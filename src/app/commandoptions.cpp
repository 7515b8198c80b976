#include "app/commandoptions.h"

#include "actual/actualrun.h"
#include "render/chartexport.h"
#include "render/datasetchart.h"
#include "serial/deviceserialport.h"
#include "serial/portproblem.h"

#include <QCommandLineParser>
#include <QDir>
#include <QRegularExpression>
#include <algorithm>

namespace {

// Preview widths from the narrowest that still has a bar height to a large
// screen; wider images would only cost memory.
constexpr int kMinPreviewWidth = 60;
constexpr int kMaxPreviewWidth = 8000;

// The controller software versions, in the order of their checksum seeds.
const QStringList kVersions = {QStringLiteral("6.00"), QStringLiteral("6.10"), QStringLiteral("6.20"),
                               QStringLiteral("6.30")};

struct ModeName {
    const char *name;
    DisplayMode mode;
};
const ModeName kModes[] = {
    {"kvx", DisplayMode::RunKvx},
    {"kvx40-1200", DisplayMode::RunKvx40At1200},
    {"kvx40-9600", DisplayMode::RunKvx40At9600},
    {"kvx40-19200", DisplayMode::RunKvx40At19200},
    {"qsw", DisplayMode::RunQsw},
};

bool refuse(QString *error, const QString &text)
{
    *error = text;
    return false;
}

QString name(const char *text)
{
    return QString::fromLatin1(text);
}

void addValueOption(QCommandLineParser &parser, const char *option, const char *valueName,
                    const QString &defaultValue = QString())
{
    QCommandLineOption o(name(option), QString(), name(valueName));
    if (!defaultValue.isEmpty())
        o.setDefaultValue(defaultValue);
    parser.addOption(o);
}

void addFlag(QCommandLineParser &parser, const char *option)
{
    parser.addOption(QCommandLineOption(name(option)));
}

bool parseArguments(QCommandLineParser &parser, const char *command, const QStringList &args, QString *error)
{
    if (!parser.parse(QStringList{QStringLiteral("signovat ") + name(command)} + args))
        return refuse(error, parser.errorText());
    return true;
}

bool noPositionalArguments(const QCommandLineParser &parser, QString *error)
{
    if (!parser.positionalArguments().isEmpty())
        return refuse(error, QStringLiteral("unerwartetes Argument \"%1\"").arg(parser.positionalArguments().first()));
    return true;
}

// The chart options of render and states.
void addChartOptions(QCommandLineParser &parser)
{
    addValueOption(parser, "data", "DIR");
    addValueOption(parser, "program", "N");
    addValueOption(parser, "chart", "KIND", QStringLiteral("soll"));
    addValueOption(parser, "run", "FILE.DRI");
}

bool takeChartOptions(const QCommandLineParser &parser, ChartOptions &out, QString *error)
{
    const auto isSet = [&](const char *option) { return parser.isSet(name(option)); };
    out.fromRun = isSet("run");
    if (out.fromRun) {
        if (isSet("data") || isSet("program") || isSet("chart"))
            return refuse(error, QStringLiteral("--run schließt --data, --program und --chart aus"));
        out.runFile = parser.value(QStringLiteral("run"));
        return true;
    }
    if (!isSet("data"))
        return refuse(error, QStringLiteral("--data DIR oder --run FILE.DRI fehlt"));
    out.dataDir = QDir::cleanPath(parser.value(QStringLiteral("data")));
    bool numeric = false;
    out.program = parser.value(QStringLiteral("program")).toInt(&numeric);
    if (!numeric)
        return refuse(error, QStringLiteral("--program N fehlt oder ist keine Zahl"));
    const QString chart = parser.value(QStringLiteral("chart"));
    if (!ChartKindFromName(chart, out.kind))
        return refuse(error, QStringLiteral("unbekannte Art \"%1\" (soll, ein, aus-gezielt, aus-stoerung)").arg(chart));
    return true;
}

// The link options of send-print and capture, beside their port options.
void addLinkOptions(QCommandLineParser &parser)
{
    addValueOption(parser, "version", "V");
    addValueOption(parser, "family", "1|2");
}

bool takeLinkOptions(const QCommandLineParser &parser, LinkOptions &out, QString *error)
{
    if (parser.isSet(QStringLiteral("version"))) {
        const int seed = int(kVersions.indexOf(parser.value(QStringLiteral("version"))));
        if (seed < 0)
            return refuse(error, QStringLiteral("--version muss 6.00, 6.10, 6.20 oder 6.30 sein"));
        out.checksumSeed = uint8_t(seed);
    }
    if (parser.isSet(QStringLiteral("family"))) {
        const QString family = parser.value(QStringLiteral("family"));
        if (family != QLatin1String("1") && family != QLatin1String("2"))
            return refuse(error, QStringLiteral("--family muss 1 oder 2 sein"));
        out.family = ControllerFamily(family.toInt());
    }
    return true;
}

std::optional<PortSelection> takePort(const QCommandLineParser &parser, const char *option)
{
    if (!parser.isSet(name(option)))
        return std::nullopt;
    return portSelectionOf(parser.value(name(option)));
}

// --bw and --colour of the commands that put a chart on paper.
void addColourFlags(QCommandLineParser &parser)
{
    addFlag(parser, "bw");
    addFlag(parser, "colour");
}

bool takeColourFlags(const QCommandLineParser &parser, std::optional<bool> &colour, QString *error)
{
    const bool bw = parser.isSet(QStringLiteral("bw"));
    const bool coloured = parser.isSet(QStringLiteral("colour"));
    if (bw && coloured)
        return refuse(error, QStringLiteral("--bw und --colour schließen sich aus"));
    if (bw || coloured)
        colour = coloured;
    return true;
}

}  // namespace

PortSelection portSelectionOf(const QString &text)
{
    static const QRegularExpression comPattern(QStringLiteral("^COM\\s*(\\d+)$"),
                                               QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch com = comPattern.match(text);
    PortSelection selection;
    if (com.hasMatch())
        selection.comNumber = com.captured(1).toInt();
    else
        selection.devicePath = text;
    return selection;
}

void selectPort(DeviceSerialPort &port, const PortSelection &selection)
{
    if (selection.comNumber >= 0)
        port.selectCom(selection.comNumber);
    else
        port.selectDevice(selection.devicePath);
}

QString portOpenFailure(const DeviceSerialPort &port)
{
    const PortProblem problem = port.problem();
    // The port's own text already is the whole story of any other fault.
    const QStringList cause = problem.fault == PortFault::Other ? QStringList() : portCauseLines(problem);
    return cause.isEmpty() ? port.errorText() : port.errorText() + QStringLiteral(" – ") + cause.join(QLatin1Char(' '));
}

bool parseInfoOptions(const QStringList &args, InfoOptions &out, QString *error)
{
    QCommandLineParser parser;
    addValueOption(parser, "data", "DIR");
    if (!parseArguments(parser, "info", args, error))
        return false;
    out.dataDir = parser.value(QStringLiteral("data"));
    if (out.dataDir.isEmpty())
        return refuse(error, QStringLiteral("--data DIR fehlt"));
    return true;
}

bool parseCompareOptions(const QStringList &args, CompareOptions &out, QString *error)
{
    QCommandLineParser parser;
    addValueOption(parser, "data", "DIR");
    addValueOption(parser, "run", "FILE.DRI");
    addFlag(parser, "csv");
    if (!parseArguments(parser, "compare", args, error) || !noPositionalArguments(parser, error))
        return false;
    out.dataDir = parser.value(QStringLiteral("data"));
    out.runFile = parser.value(QStringLiteral("run"));
    out.csv = parser.isSet(QStringLiteral("csv"));
    if (out.dataDir.isEmpty() || out.runFile.isEmpty())
        return refuse(error, QStringLiteral("--data DIR und --run FILE.DRI angeben"));
    return true;
}

bool parseStatesOptions(const QStringList &args, ChartOptions &out, QString *error)
{
    QCommandLineParser parser;
    addChartOptions(parser);
    return parseArguments(parser, "states", args, error) && noPositionalArguments(parser, error)
           && takeChartOptions(parser, out, error);
}

bool parseRenderOptions(const QStringList &args, RenderOptions &out, QString *error)
{
    QCommandLineParser parser;
    addChartOptions(parser);
    addValueOption(parser, "out", "FILE");
    addValueOption(parser, "pages", "LIST");
    addValueOption(parser, "width", "PX");
    addColourFlags(parser);
    addValueOption(parser, "compare", "DIR");
    if (!parseArguments(parser, "render", args, error) || !noPositionalArguments(parser, error)
        || !takeChartOptions(parser, out.chart, error))
        return false;
    out.out = parser.value(QStringLiteral("out"));
    const auto endsWith = [&](const char *suffix) { return out.out.endsWith(QLatin1String(suffix), Qt::CaseInsensitive); };
    if (endsWith(".pdf"))
        out.format = RenderOptions::Format::Pdf;
    else if (endsWith(".png"))
        out.format = RenderOptions::Format::Png;
    else if (endsWith(".svg"))
        out.format = RenderOptions::Format::Svg;
    else
        return refuse(error, QStringLiteral("--out FILE.pdf, FILE.png oder FILE.svg fehlt"));
    if (!takeColourFlags(parser, out.colour, error))
        return false;
    bool numeric = true;
    const bool svg = out.format == RenderOptions::Format::Svg;
    out.width = parser.isSet(QStringLiteral("width")) ? parser.value(QStringLiteral("width")).toInt(&numeric)
                                                       : svg ? kSvgDefaultWidth : kPreviewImageWidth;
    if (!numeric || out.width < kMinPreviewWidth || out.width > kMaxPreviewWidth)
        return refuse(error, QStringLiteral("--width muss zwischen %1 und %2 liegen")
                                 .arg(kMinPreviewWidth)
                                 .arg(kMaxPreviewWidth));
    if (parser.isSet(QStringLiteral("pages")))
        out.pages = parser.value(QStringLiteral("pages"));
    if (parser.isSet(QStringLiteral("compare"))) {
        if (!out.chart.fromRun)
            return refuse(error, QStringLiteral("--compare DIR gilt nur mit --run FILE.DRI"));
        out.compareDir = parser.value(QStringLiteral("compare"));
    }
    return true;
}

bool parsePrintOptions(const QStringList &args, PrintOptions &out, QString *error)
{
    QCommandLineParser parser;
    addChartOptions(parser);
    addValueOption(parser, "printer", "NAME");
    addValueOption(parser, "copies", "N", QStringLiteral("1"));
    addValueOption(parser, "pages", "LIST");
    addColourFlags(parser);
    if (!parseArguments(parser, "print", args, error) || !noPositionalArguments(parser, error)
        || !takeChartOptions(parser, out.chart, error) || !takeColourFlags(parser, out.colour, error))
        return false;
    if (parser.isSet(QStringLiteral("printer")))
        out.printer = parser.value(QStringLiteral("printer"));
    bool numeric = false;
    // As many copies as the preview's copies field allows.
    out.copies = parser.value(QStringLiteral("copies")).toInt(&numeric);
    if (!numeric || out.copies < 1 || out.copies > 9)
        return refuse(error, QStringLiteral("--copies muss zwischen 1 und 9 liegen"));
    if (parser.isSet(QStringLiteral("pages")))
        out.pages = parser.value(QStringLiteral("pages"));
    return true;
}

bool parseSendPrintOptions(const QStringList &args, SendPrintOptions &out, QString *error)
{
    QCommandLineParser parser;
    addValueOption(parser, "port", "PORT");
    addFlag(parser, "kvx");
    addFlag(parser, "kvx40");
    addLinkOptions(parser);
    if (!parseArguments(parser, "send-print", args, error))
        return false;

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1
        || (positional[0] != QLatin1String("start") && positional[0] != QLatin1String("stop")))
        return refuse(error, QStringLiteral("start oder stop angeben"));
    out.printCode = positional[0] == QLatin1String("start") ? 2 : 3;

    const bool kvx = parser.isSet(QStringLiteral("kvx"));
    if (kvx && parser.isSet(QStringLiteral("kvx40")))
        return refuse(error, QStringLiteral("--kvx und --kvx40 schließen sich aus"));
    if (kvx && parser.isSet(QStringLiteral("version")))
        return refuse(error, QStringLiteral("--version gilt nur für --kvx40"));
    out.variant = kvx ? ProtocolVariant::Plain : ProtocolVariant::Kvx40;
    if (!takeLinkOptions(parser, out.link, error))
        return false;
    out.port = takePort(parser, "port").value_or(PortSelection{});
    if (out.port.isEmpty())
        return refuse(error, QStringLiteral("--port COMn oder --port GERÄT fehlt"));
    return true;
}

bool parseCaptureOptions(const QStringList &args, CaptureOptions &out, QString *error)
{
    QCommandLineParser parser;
    addValueOption(parser, "mode", "MODE");
    addFlag(parser, "sim");
    addValueOption(parser, "sim-dir", "DIR");
    addValueOption(parser, "out", "FILE.DRI");
    addValueOption(parser, "port", "PORT");
    addValueOption(parser, "controller-port", "PORT");
    addValueOption(parser, "minutes", "N");
    addValueOption(parser, "names", "NAMEN.DAT");
    addLinkOptions(parser);
    if (!parseArguments(parser, "capture", args, error) || !noPositionalArguments(parser, error))
        return false;
    const auto isSet = [&](const char *option) { return parser.isSet(name(option)); };

    const bool sim = isSet("sim");
    if (sim == isSet("mode"))
        return refuse(error, QStringLiteral("entweder --mode MODE oder --sim angeben"));
    out.mode = DisplayMode::RunSimulation;
    if (!sim) {
        const QString mode = parser.value(QStringLiteral("mode"));
        const auto named = std::find_if(std::begin(kModes), std::end(kModes),
                                        [&](const ModeName &m) { return mode == QLatin1String(m.name); });
        if (named == std::end(kModes))
            return refuse(error, QStringLiteral("unbekannter Modus \"%1\" (kvx, kvx40-1200, kvx40-9600, kvx40-19200, qsw)")
                                     .arg(mode));
        out.mode = named->mode;
    }
    if (sim && (isSet("port") || isSet("controller-port")))
        return refuse(error, QStringLiteral("--port und --controller-port gelten nicht für --sim"));
    if (!sim && isSet("sim-dir"))
        return refuse(error, QStringLiteral("--sim-dir gilt nur für --sim"));
    if (isSet("sim-dir"))
        out.simDir = parser.value(QStringLiteral("sim-dir"));

    out.out = parser.value(QStringLiteral("out"));
    if (out.out.isEmpty())
        return refuse(error, QStringLiteral("--out FILE.DRI fehlt"));
    if (isSet("names"))
        out.namesFile = parser.value(QStringLiteral("names"));

    if (isSet("minutes")) {
        bool numeric = false;
        out.minutes = parser.value(QStringLiteral("minutes")).toInt(&numeric);
        if (!numeric || out.minutes < 1 || out.minutes > kMaxRunRows / 60)
            return refuse(error, QStringLiteral("--minutes muss zwischen 1 und %1 liegen").arg(kMaxRunRows / 60));
    }
    if (!IsKvxMode(out.mode) && (isSet("version") || isSet("family")))
        return refuse(error, QStringLiteral("--version und --family gelten nur für die KVX-Modi"));
    if (isSet("version") && out.mode == DisplayMode::RunKvx)
        return refuse(error, QStringLiteral("--version gilt nur für die KVX 40 / 10"));
    if (!takeLinkOptions(parser, out.link, error))
        return false;
    out.printerPort = takePort(parser, "port");
    out.controllerPort = takePort(parser, "controller-port");
    return true;
}

bool parsePageList(const QString &list, int pageCount, QList<int> &pages, QString *error)
{
    pages.clear();
    for (const QString &item : list.split(QLatin1Char(','))) {
        const QStringList bounds = item.trimmed().split(QLatin1Char('-'));
        bool okFirst = false, okLast = true;
        const int first = bounds.value(0).toInt(&okFirst);
        const int last = bounds.size() == 2 ? bounds[1].toInt(&okLast) : first;
        if (bounds.size() > 2 || !okFirst || !okLast || last < first)
            return refuse(error, QStringLiteral("ungültige Seitenangabe \"%1\"").arg(item));
        if (first < 1 || last > pageCount)
            return refuse(error, QStringLiteral("Seite %1 gibt es nicht (das Diagramm hat %2 Seiten)")
                                     .arg(first < 1 ? first : last)
                                     .arg(pageCount));
        for (int p = first; p <= last; ++p)
            pages << p;
    }
    std::sort(pages.begin(), pages.end());
    pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
    return true;
}

bool isRunFileArgument(const QString &arg)
{
    return arg.endsWith(QLatin1String(".dri"), Qt::CaseInsensitive) && !arg.startsWith(QLatin1Char('-'));
}

bool parsePreviewProgram(const QString &value, bool withDataDir, int *program, QString *error)
{
    bool ok = false;
    *program = value.toInt(&ok);
    if (!ok || *program < 1 || *program > kProgramCount)
        return refuse(error, QStringLiteral("--preview erwartet eine Programmnummer von 1 bis 6"));
    if (!withDataDir)
        return refuse(error, QStringLiteral("--preview N braucht --data VERZ"));
    return true;
}
