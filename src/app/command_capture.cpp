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
#include "serial/serialline.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>

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

// Where the ports come from: the command line, else the settings.
PortSelection portOf(const std::optional<PortSelection> &given, int settingsIndex)
{
    if (given)
        return *given;
    PortSelection fromSettings;
    if (settingsIndex >= 0)
        fromSettings.comNumber = settingsIndex + 1;
    return fromSettings;
}

// The capture's settings: the stored ones with what the command line says.
// False, after saying why, when the names file cannot be read.
bool setUpContext(const CaptureOptions &options, const CommandEnvironment &env, AppContext &ctx)
{
    SettingsStore store(env.settingsFile);
    ctx.settings = LoadSettings(store, nullptr, QDir::currentPath());
    resetGroupNames(ctx.data);
    if (options.namesFile && !readNamesFile(ctx.data, *options.namesFile)) {
        say(QStringLiteral("%1 ist keine Datei mit Gruppenbezeichnungen").arg(*options.namesFile));
        return false;
    }
    if (options.minutes > 0) {
        ctx.settings.AutoEndCapture = 1;
        ctx.settings.CaptureMinutes = options.minutes;
    }
    if (options.link.checksumSeed)
        ctx.settings.ChecksumSeed = *options.link.checksumSeed;
    ctx.settings.ProtocolVariant = options.mode == DisplayMode::RunKvx ? ProtocolVariant::Plain : ProtocolVariant::Kvx40;
    ctx.ControllerFamily = options.link.family.value_or(ControllerFamily::Kvx);
    if (options.mode == DisplayMode::RunSimulation)
        ctx.settings.SimulatorWorkDir = options.simDir.value_or(ctx.settings.SimulatorWorkDir);
    return true;
}

// Opens the printer-stream port and, for a KVX that is asked to print, the
// controller port; the simulation needs its folder instead. False after
// saying why not.
bool openCapturePorts(const CaptureOptions &options, AppContext &ctx, DeviceSerialPort &printerPort,
                      DeviceSerialPort &controllerPort)
{
    if (options.mode == DisplayMode::RunSimulation) {
        const QString dir = ctx.settings.SimulatorWorkDir;
        if (dir.isEmpty() || !QFileInfo(dir).isDir()) {
            say(QStringLiteral("das Arbeitsverzeichnis des Simulationsprogramms \"%1\" gibt es nicht").arg(dir));
            return false;
        }
        return true;
    }
    const PortSelection printer = portOf(options.printerPort, ctx.settings.PrinterPortIndex);
    if (printer.isEmpty()) {
        say(QStringLiteral("--port COMn oder --port GERÄT fehlt"));
        return false;
    }
    selectPort(printerPort, printer);
    const StreamPortSettings line = StreamPortSettingsFor(options.mode);
    configureLine(printerPort, line.baudRate, line.stopBits);
    if (!printerPort.open()) {
        say(QStringLiteral("Druckerschnittstelle: ") + portOpenFailure(printerPort));
        return false;
    }

    const PortSelection controller = portOf(options.controllerPort, ctx.settings.ControllerPortIndex);
    // Without a controller port the printout has to be started at the controller.
    ctx.settings.ControllerPortIndex =
        IsKvxMode(options.mode) && !controller.isEmpty() ? std::max(ctx.settings.ControllerPortIndex, 0) : -1;
    if (ctx.settings.ControllerPortIndex >= 0) {
        selectPort(controllerPort, controller);
        configureControllerLine(controllerPort, ControllerLinkBaudFor(options.mode));
        if (!controllerPort.open()) {
            say(QStringLiteral("Steuerungsschnittstelle: ") + portOpenFailure(controllerPort));
            return false;
        }
    }
    return true;
}

struct CaptureResult {
    ActualRun run;
    int rows = 0;
    bool gaveUp = false;  // the capture ended after saying why
};

// Ticks the capture and the link polling until the printout ends, the time is
// up or the user interrupts; then closes the ports.
CaptureResult captureRun(AppContext &ctx, DisplayMode mode, DeviceSerialPort &printerPort,
                         DeviceSerialPort &controllerPort)
{
    const bool sim = mode == DisplayMode::RunSimulation;
    QtAnswerTimer answerTimer;
    ControllerLink link(controllerPort, answerTimer);
    ControllerPolling polling(ctx, link, controllerPort, printerPort);
    const bool linkUsed = ctx.settings.ControllerPortIndex >= 0;
    ActualRunCapture capture(ctx.captureContext(), {&printerPort, &controllerPort, linkUsed ? &link : nullptr});
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
            // The messages of the polling and the capture, one line each on stderr.
            if (const std::optional<Message> message = linkUsed ? polling.IOTimer() : std::nullopt)
                say(message->text);
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
            if (u.message)
                say(u.message->text);
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
    return {capture.run(), capture.RowCount(), gaveUp};
}

}  // namespace

int runCaptureCommand(const QStringList &args, const CommandEnvironment &env)
{
    return parseThenRun("capture", args, parseCaptureOptions,
                        [&](const CaptureOptions &o) { return runCapture(o, env); });
}

int runCapture(const CaptureOptions &options, const CommandEnvironment &env)
{
    // Checked now, not after a run has been recorded.
    const QFileInfo outFolder(QFileInfo(options.out).absolutePath());
    if (!outFolder.isDir() || !outFolder.isWritable())
        return fail(QStringLiteral("in den Ordner %1 kann nicht geschrieben werden").arg(outFolder.filePath()));

    AppContext ctx;
    if (!setUpContext(options, env, ctx))
        return 1;
    const ComPortMap map = ComPortMap::fromSettings(env.settingsFile);
    DeviceSerialPort printerPort(map);
    DeviceSerialPort controllerPort(map);
    if (!openCapturePorts(options, ctx, printerPort, controllerPort))
        return 1;

    const CaptureResult result = captureRun(ctx, options.mode, printerPort, controllerPort);
    if (result.rows == 0)
        return result.gaveUp ? 1 : fail(kNoDataMessage);  // a capture that gave up has said why
    ActualRun run = result.run;
    run.GroupNames = ctx.data.GroupNames;
    QString error;
    if (!WriteActualRunFile(options.out, run, &error))
        return fail(error);
    say(QStringLiteral("%1 s in %2 gespeichert").arg(result.rows).arg(options.out));
    return 0;
}
