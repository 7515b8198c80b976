// signovat capture --mode kvx|kvx40-1200|kvx40-9600|kvx40-19200|qsw --out FILE.DRI
//     [--port COMn|DEVICE] [--controller-port COMn|DEVICE] [--minutes N]
//     [--version 6.00…6.30] [--family 1|2] [--names NAMEN.DAT]
// signovat capture --sim [--sim-dir DIR] --out FILE.DRI [--minutes N] [--names NAMEN.DAT]
//
// Records an actual run without a window, exactly as the preview receives
// one, and saves it as an actual-run file. It ends when the controller's
// printout ends (the next printout begins, or the port goes away), after the
// minutes asked for, when the run is full, or on Ctrl-C / SIGTERM; in every
// case the seconds received so far are saved.

#include "actual/actualruncapture.h"
#include "actual/actualrunfile.h"
#include "context/appcontext.h"
#include "app/commands.h"
#include "app/controllerpolling.h"
#include "data/defaults.h"
#include "data/namesfile.h"
#include "link/controllerlink.h"
#include "link/qtanswertimer.h"
#include "serial/comportmap.h"
#include "serial/deviceserialport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <memory>

namespace {

constexpr int kLinkStepMs = 10;
constexpr int kCaptureTickMs = 100;
// Lines taken per tick: a window takes one, a batch run catches up with
// whatever has piled up since.
constexpr int kLinesPerTick = 200;
// Time the stop request gets to reach the controller before the program ends.
constexpr int kStopRequestWaitMs = 2500;

volatile std::sig_atomic_t gInterrupted = 0;

void onInterrupt(int)
{
    gInterrupted = 1;
}

// Ctrl-C and SIGTERM end the capture through the event loop, which saves.
class InterruptGuard {
public:
    InterruptGuard()
    {
        gInterrupted = 0;
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &oldInt_);
        sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~InterruptGuard()
    {
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
    }

private:
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

void say(const QString &text)
{
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "signovat capture: %s\n", line.trimmed().toUtf8().constData());
    std::fflush(stderr);
}

int fail(const QString &text)
{
    say(text);
    return 1;
}

// The capture's messages, one line each on stderr.
class StderrPrompt : public Prompt {
public:
    PromptAnswer ask(const QString &text, const QString &, PromptIcon, PromptButtons buttons) override
    {
        say(text);
        return buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Ok;
    }
};

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

const QStringList kVersions = {QStringLiteral("6.00"), QStringLiteral("6.10"), QStringLiteral("6.20"),
                               QStringLiteral("6.30")};

// "COM3" picks through the port map, anything else is a device path.
void selectPort(DeviceSerialPort &port, const QString &text)
{
    static const QRegularExpression comPattern(QStringLiteral("^COM\\s*(\\d+)$"),
                                               QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch com = comPattern.match(text);
    if (com.hasMatch())
        port.selectCom(com.captured(1).toInt());
    else
        port.selectDevice(text);
}

QString comText(int portIndex)
{
    return portIndex >= 0 ? QStringLiteral("COM%1").arg(portIndex + 1) : QString();
}

}  // namespace

int runCaptureCommand(const QStringList &args, const CommandEnvironment &env)
{
    QCommandLineParser parser;
    const QCommandLineOption modeOption(QStringLiteral("mode"), QStringLiteral("kvx, kvx40-1200, kvx40-9600, kvx40-19200 oder qsw"),
                                        QStringLiteral("MODE"));
    const QCommandLineOption simOption(QStringLiteral("sim"), QStringLiteral("aus den Dateien des Simulationsprogramms"));
    const QCommandLineOption simDirOption(QStringLiteral("sim-dir"), QStringLiteral("Arbeitsverzeichnis des Simulationsprogramms"),
                                          QStringLiteral("DIR"));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("Ist-Druck-Datei"), QStringLiteral("FILE.DRI"));
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("Druckerschnittstelle"), QStringLiteral("PORT"));
    const QCommandLineOption controllerOption(QStringLiteral("controller-port"), QStringLiteral("Steuerungsschnittstelle"),
                                              QStringLiteral("PORT"));
    const QCommandLineOption minutesOption(QStringLiteral("minutes"), QStringLiteral("Dauer 1 … 20 Minuten"), QStringLiteral("N"));
    const QCommandLineOption versionOption(QStringLiteral("version"), QStringLiteral("Version der KVX 40 / 10"), QStringLiteral("V"));
    const QCommandLineOption familyOption(QStringLiteral("family"), QStringLiteral("Adresse der Antwort"), QStringLiteral("1|2"));
    const QCommandLineOption namesOption(QStringLiteral("names"), QStringLiteral("Gruppenbezeichnungen für die Datei"),
                                         QStringLiteral("NAMEN.DAT"));
    parser.addOptions({modeOption, simOption, simDirOption, outOption, portOption, controllerOption, minutesOption,
                       versionOption, familyOption, namesOption});
    if (!parser.parse(QStringList{QStringLiteral("signovat capture")} + args))
        return fail(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unerwartetes Argument \"%1\"").arg(parser.positionalArguments().first()));

    const bool sim = parser.isSet(simOption);
    if (sim == parser.isSet(modeOption))
        return fail(QStringLiteral("entweder --mode MODE oder --sim angeben"));
    DisplayMode mode = DisplayMode::RunSimulation;
    if (!sim) {
        const auto named = std::find_if(std::begin(kModes), std::end(kModes), [&](const ModeName &m) {
            return parser.value(modeOption) == QLatin1String(m.name);
        });
        if (named == std::end(kModes))
            return fail(QStringLiteral("unbekannter Modus \"%1\" (kvx, kvx40-1200, kvx40-9600, kvx40-19200, qsw)")
                            .arg(parser.value(modeOption)));
        mode = named->mode;
    }
    if (sim && (parser.isSet(portOption) || parser.isSet(controllerOption)))
        return fail(QStringLiteral("--port und --controller-port gelten nicht für --sim"));
    if (!sim && parser.isSet(simDirOption))
        return fail(QStringLiteral("--sim-dir gilt nur für --sim"));

    const QString out = parser.value(outOption);
    if (out.isEmpty())
        return fail(QStringLiteral("--out FILE.DRI fehlt"));
    // Checked now, not after a run has been recorded.
    const QFileInfo outFolder(QFileInfo(out).absolutePath());
    if (!outFolder.isDir() || !outFolder.isWritable())
        return fail(QStringLiteral("in den Ordner %1 kann nicht geschrieben werden").arg(outFolder.filePath()));

    SettingsStore store(env.settingsFile);
    AppContext ctx;
    ctx.settings = LoadSettings(store, nullptr, QDir::currentPath());
    resetGroupNames(ctx.data);
    if (parser.isSet(namesOption) && !readNamesFile(ctx.data, parser.value(namesOption)))
        return fail(QStringLiteral("%1 ist keine Datei mit Gruppenbezeichnungen").arg(parser.value(namesOption)));

    if (parser.isSet(minutesOption)) {
        bool numeric = false;
        const int minutes = parser.value(minutesOption).toInt(&numeric);
        if (!numeric || minutes < 1 || minutes > kMaxRunRows / 60)
            return fail(QStringLiteral("--minutes muss zwischen 1 und %1 liegen").arg(kMaxRunRows / 60));
        ctx.settings.AutoEndCapture = 1;
        ctx.settings.CaptureMinutes = minutes;
    }
    const bool kvx = IsKvxMode(mode);
    if (!kvx && (parser.isSet(versionOption) || parser.isSet(familyOption)))
        return fail(QStringLiteral("--version und --family gelten nur für die KVX-Modi"));
    if (parser.isSet(versionOption)) {
        if (mode == DisplayMode::RunKvx)
            return fail(QStringLiteral("--version gilt nur für die KVX 40 / 10"));
        const int seed = int(kVersions.indexOf(parser.value(versionOption)));
        if (seed < 0)
            return fail(QStringLiteral("--version muss 6.00, 6.10, 6.20 oder 6.30 sein"));
        ctx.settings.ChecksumSeed = seed;
    }
    ctx.settings.ProtocolVariant = mode == DisplayMode::RunKvx ? ProtocolVariant::Plain : ProtocolVariant::Kvx40;
    ctx.ControllerFamily = ControllerFamily::Kvx;
    if (parser.isSet(familyOption)) {
        const QString family = parser.value(familyOption);
        if (family != QLatin1String("1") && family != QLatin1String("2"))
            return fail(QStringLiteral("--family muss 1 oder 2 sein"));
        ctx.ControllerFamily = ControllerFamily(family.toInt());
    }

    const ComPortMap map = ComPortMap::fromSettings(env.settingsFile);
    DeviceSerialPort printerPort(map);
    DeviceSerialPort controllerPort(map);
    if (sim) {
        const QString dir = parser.isSet(simDirOption) ? parser.value(simDirOption) : ctx.settings.SimulatorWorkDir;
        if (dir.isEmpty() || !QFileInfo(dir).isDir())
            return fail(QStringLiteral("das Arbeitsverzeichnis des Simulationsprogramms \"%1\" gibt es nicht").arg(dir));
        ctx.settings.SimulatorWorkDir = dir;
    } else {
        const QString printer =
            parser.isSet(portOption) ? parser.value(portOption) : comText(ctx.settings.PrinterPortIndex);
        if (printer.isEmpty())
            return fail(QStringLiteral("--port COMn oder --port GERÄT fehlt"));
        selectPort(printerPort, printer);
        const StreamPortSettings settings = StreamPortSettingsFor(mode);
        printerPort.setBaudRate(settings.baudRate);
        printerPort.setParity(SerialPort::Parity::Even);
        printerPort.setDataBits(8);
        printerPort.setStopBits(settings.stopBits);
        if (!printerPort.open())
            return fail(QStringLiteral("Druckerschnittstelle: ") + printerPort.errorText());

        const QString controller = parser.isSet(controllerOption) ? parser.value(controllerOption)
                                                                   : comText(ctx.settings.ControllerPortIndex);
        // Without a controller port the printout has to be started at the controller.
        ctx.settings.ControllerPortIndex = kvx && !controller.isEmpty() ? std::max(ctx.settings.ControllerPortIndex, 0) : -1;
        if (ctx.settings.ControllerPortIndex >= 0) {
            selectPort(controllerPort, controller);
            controllerPort.setBaudRate(ControllerLinkBaudFor(mode));
            controllerPort.setParity(SerialPort::Parity::Even);
            controllerPort.setDataBits(8);
            controllerPort.setStopBits(2);
            if (!controllerPort.open())
                return fail(QStringLiteral("Steuerungsschnittstelle: ") + controllerPort.errorText());
        }
    }

    StderrPrompt prompt;
    QtAnswerTimer answerTimer;
    ControllerLink link(controllerPort, answerTimer);
    ControllerPolling polling(ctx, prompt, link, controllerPort, printerPort);
    const bool linkUsed = ctx.settings.ControllerPortIndex >= 0;
    ActualRunCapture capture(ctx.captureContext(), prompt, {&printerPort, &controllerPort, linkUsed ? &link : nullptr});
    capture.setEndAtNewPrintout(true);
    InterruptGuard interrupts;
    capture.Start(mode);
    const int lastSecond = ctx.settings.AutoEndCapture ? ctx.settings.CaptureMinutes * 60 : kMaxRunRows;
    say(sim ? QStringLiteral("warte auf Dateien in %1").arg(ctx.settings.SimulatorWorkDir)
            : QStringLiteral("warte auf Daten von %1").arg(printerPort.devicePath()));

    QEventLoop loop;
    QElapsedTimer sinceEnd;
    bool gaveUp = false;
    // However the capture ends, a printing KVX controller is asked to stop.
    const auto finish = [&] {
        if (!sinceEnd.isValid()) {
            capture.Finish();
            sinceEnd.start();
        }
    };
    QTimer linkTimer;
    QObject::connect(&linkTimer, &QTimer::timeout, [&] {
        if (gInterrupted && capture.running())
            say(QStringLiteral("abgebrochen"));
        if (capture.running() && !gInterrupted) {
            if (linkUsed)
                polling.IOTimer();
            return;
        }
        finish();
        // The stop request gets its time to reach the controller.
        if (!linkUsed || link.SendStep() != ControllerLink::Step::PrintCommand || sinceEnd.elapsed() > kStopRequestWaitMs)
            loop.quit();
    });
    QTimer captureTimer;
    QObject::connect(&captureTimer, &QTimer::timeout, [&] {
        for (int i = 0; i < kLinesPerTick && capture.running(); ++i) {
            const bool header = !capture.dataPhase();
            const CaptureUpdate u = capture.ScanDataTimer(0);
            gaveUp = gaveUp || u.closeWindow;
            if (header && capture.dataPhase() && !sim)
                say(QStringLiteral("Kopf empfangen, Programm %1").arg(ProgramNameText(capture.run())));
            if (u.rowAdded)
                say(QStringLiteral("%1 s empfangen, Programm %2").arg(capture.RowCount()).arg(capture.CurrentProgram()));
            if (capture.running() && capture.RowCount() >= lastSecond) {
                say(QStringLiteral("%1 Minute(n) aufgezeichnet").arg(lastSecond / 60));
                finish();
            }
            if (!(u.linesChanged || u.rowAdded || u.cleared))
                break;
        }
    });
    linkTimer.start(kLinkStepMs);
    captureTimer.start(kCaptureTickMs);
    loop.exec();
    captureTimer.stop();
    linkTimer.stop();
    printerPort.close();
    controllerPort.close();

    if (capture.RowCount() == 0)
        return gaveUp ? 1 : fail(kNoDataMessage);  // a capture that gave up has said why
    ActualRun run = capture.run();
    run.GroupNames = ctx.data.GroupNames;
    QString error;
    if (!WriteActualRunFile(out, run, &error))
        return fail(error);
    say(QStringLiteral("%1 s in %2 gespeichert").arg(capture.RowCount()).arg(out));
    return 0;
}
