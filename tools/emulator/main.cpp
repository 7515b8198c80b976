// signovat-emulator: plays a traffic-light controller on serial devices (real
// ports or pseudo-terminals) for trying out and testing the program without
// hardware: the controller link, and the printer output of an actual run.
//
//   signovat-emulator [--device PATH] [--kvx | --kvx40 --version 6.00…6.30]
//       [--family 1|2] [--mode answer|wrong-address|bad-checksum|silent]
//       [--answer-type N] [--answer-after N] [--baud N] [--log FILE]
//       [--transcript FILE (--printer-device PATH | --printer-pty)
//        [--line-ms N] [--start request|now] [--repeat]
//        [--fault none|cut-line|garbage|vanish|missed-header] [--fault-at N]
//        [--garbage-bytes N]]
//
// On --device it answers print-command frames as chosen and logs every frame
// it receives and every answer it sends, one line each, to stderr or FILE.
// Once the device is open it logs "listening on PATH".
//
// With a transcript it prints the controller's printout on the printer
// device, one line every --line-ms (1000, like a controller), from the start
// request (2, 0, 0) on the controller link until the stop request (3, 0, 0)
// or the transcript's end; --start now prints at once (a controller without
// link). --printer-pty makes a pseudo-terminal of its own and logs "printer
// stream on PATH"; only such a port can vanish (the fault closes it and the
// emulator ends).

#include "controllerresponder.h"
#include "printerpty.h"
#include "transcriptplayer.h"
#include "serial/deviceserialport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <cstdio>

namespace {

constexpr int kPollIntervalMs = 2;

class EmulatorLog {
public:
    bool openFile(const QString &path)
    {
        file_.setFileName(path);
        return file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
    }
    void write(const QString &line)
    {
        const QByteArray text = QStringLiteral("[%1 ms] %2\n").arg(clock_.elapsed(), 6).arg(line).toUtf8();
        if (file_.isOpen()) {
            file_.write(text);
            file_.flush();
        } else {
            std::fputs(text.constData(), stderr);
            std::fflush(stderr);
        }
    }

private:
    QFile file_;
    QElapsedTimer clock_ = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
};

int usageError(const QString &text)
{
    std::fprintf(stderr, "signovat-emulator: %s\n", text.toUtf8().constData());
    return 2;
}

bool parseMode(const QString &text, AnswerMode &mode)
{
    if (text == QLatin1String("answer"))
        mode = AnswerMode::Answer;
    else if (text == QLatin1String("wrong-address"))
        mode = AnswerMode::WrongAddress;
    else if (text == QLatin1String("bad-checksum"))
        mode = AnswerMode::BadChecksum;
    else if (text == QLatin1String("silent"))
        mode = AnswerMode::Silent;
    else
        return false;
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Plays a controller: the controller link and the printer output."));
    parser.addHelpOption();
    const QCommandLineOption deviceOption(QStringLiteral("device"), QStringLiteral("Serial device."), QStringLiteral("PATH"));
    const QCommandLineOption kvxOption(QStringLiteral("kvx"), QStringLiteral("Plain frames (KVX 300 / 900 / 5000S)."));
    const QCommandLineOption kvx40Option(QStringLiteral("kvx40"), QStringLiteral("KVX 40 / 10 frames (default)."));
    const QCommandLineOption versionOption(QStringLiteral("version"), QStringLiteral("Software version 6.00 … 6.30 (default 6.30)."), QStringLiteral("V"));
    const QCommandLineOption familyOption(QStringLiteral("family"), QStringLiteral("Address of a proper answer (default 2)."), QStringLiteral("1|2"));
    const QCommandLineOption modeOption(QStringLiteral("mode"), QStringLiteral("answer, wrong-address, bad-checksum or silent."), QStringLiteral("MODE"), QStringLiteral("answer"));
    const QCommandLineOption typeOption(QStringLiteral("answer-type"), QStringLiteral("Type byte of the answer (default 102)."), QStringLiteral("N"), QStringLiteral("102"));
    const QCommandLineOption afterOption(QStringLiteral("answer-after"), QStringLiteral("Leave this many print-command frames unanswered first."), QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption baudOption(QStringLiteral("baud"), QStringLiteral("Baud rate (default 9600)."), QStringLiteral("N"), QStringLiteral("9600"));
    const QCommandLineOption logOption(QStringLiteral("log"), QStringLiteral("Log file instead of stderr."), QStringLiteral("FILE"));
    const QCommandLineOption transcriptOption(QStringLiteral("transcript"), QStringLiteral("Printout to play."), QStringLiteral("FILE"));
    const QCommandLineOption printerDeviceOption(QStringLiteral("printer-device"), QStringLiteral("Device for the printout."), QStringLiteral("PATH"));
    const QCommandLineOption printerPtyOption(QStringLiteral("printer-pty"), QStringLiteral("Print on a pseudo-terminal of our own."));
    const QCommandLineOption lineMsOption(QStringLiteral("line-ms"), QStringLiteral("Milliseconds per line (default 1000)."), QStringLiteral("N"), QStringLiteral("1000"));
    const QCommandLineOption startOption(QStringLiteral("start"), QStringLiteral("request (default with --device) or now."), QStringLiteral("WHEN"));
    const QCommandLineOption repeatOption(QStringLiteral("repeat"), QStringLiteral("Print the transcript again and again."));
    const QCommandLineOption faultOption(QStringLiteral("fault"), QStringLiteral("none, cut-line, garbage, vanish or missed-header."), QStringLiteral("FAULT"), QStringLiteral("none"));
    const QCommandLineOption faultAtOption(QStringLiteral("fault-at"), QStringLiteral("Data line the fault hits (default 10)."), QStringLiteral("N"), QStringLiteral("10"));
    const QCommandLineOption garbageOption(QStringLiteral("garbage-bytes"), QStringLiteral("Length of the noise (default 1000)."), QStringLiteral("N"), QStringLiteral("1000"));
    parser.addOptions({deviceOption, kvxOption, kvx40Option, versionOption, familyOption, modeOption, typeOption,
                       afterOption, baudOption, logOption, transcriptOption, printerDeviceOption, printerPtyOption,
                       lineMsOption, startOption, repeatOption, faultOption, faultAtOption, garbageOption});
    parser.process(app);

    const QString device = parser.value(deviceOption);
    const bool printing = parser.isSet(transcriptOption);
    if (device.isEmpty() && !printing)
        return usageError(QStringLiteral("--device PATH or --transcript FILE is required"));
    if (printing && parser.isSet(printerDeviceOption) == parser.isSet(printerPtyOption))
        return usageError(QStringLiteral("--transcript needs --printer-device PATH or --printer-pty"));
    ResponderConfig config;
    config.protocolVariant = parser.isSet(kvxOption) ? ProtocolVariant::Plain : ProtocolVariant::Kvx40;
    if (parser.isSet(versionOption)) {
        const int seed = int(QStringList{QStringLiteral("6.00"), QStringLiteral("6.10"), QStringLiteral("6.20"),
                                         QStringLiteral("6.30")}
                                 .indexOf(parser.value(versionOption)));
        if (seed < 0)
            return usageError(QStringLiteral("--version must be 6.00, 6.10, 6.20 or 6.30"));
        config.checksumSeed = uint8_t(seed);
    }
    if (parser.isSet(familyOption)) {
        const int family = parser.value(familyOption).toInt();
        if (family != 1 && family != 2)
            return usageError(QStringLiteral("--family must be 1 or 2"));
        config.controllerFamily = uint8_t(family);
    }
    if (!parseMode(parser.value(modeOption), config.mode))
        return usageError(QStringLiteral("unknown --mode %1").arg(parser.value(modeOption)));
    bool ok = false;
    const int type = parser.value(typeOption).toInt(&ok);
    if (!ok || type < 0 || type > 255)
        return usageError(QStringLiteral("--answer-type must be 0 … 255"));
    config.answerType = uint8_t(type);
    config.ignoredFrames = parser.value(afterOption).toInt(&ok);
    if (!ok || config.ignoredFrames < 0)
        return usageError(QStringLiteral("--answer-after must be a count"));
    const int baud = parser.value(baudOption).toInt(&ok);
    if (!ok)
        return usageError(QStringLiteral("--baud must be a number"));

    PlayerConfig playerConfig;
    if (!ParseStreamFault(parser.value(faultOption), playerConfig.fault))
        return usageError(QStringLiteral("unknown --fault %1").arg(parser.value(faultOption)));
    playerConfig.faultAt = parser.value(faultAtOption).toInt(&ok);
    if (!ok || playerConfig.faultAt < 1)
        return usageError(QStringLiteral("--fault-at must be 1 or more"));
    playerConfig.garbageBytes = parser.value(garbageOption).toInt(&ok);
    if (!ok || playerConfig.garbageBytes < 1)
        return usageError(QStringLiteral("--garbage-bytes must be 1 or more"));
    playerConfig.repeat = parser.isSet(repeatOption);
    const int lineMs = parser.value(lineMsOption).toInt(&ok);
    if (!ok || lineMs < 1)
        return usageError(QStringLiteral("--line-ms must be 1 or more"));
    const QString start = parser.value(startOption);
    if (!start.isEmpty() && start != QLatin1String("request") && start != QLatin1String("now"))
        return usageError(QStringLiteral("--start must be request or now"));
    const bool startNow = start == QLatin1String("now") || (start.isEmpty() && device.isEmpty());
    if (!startNow && device.isEmpty())
        return usageError(QStringLiteral("--start request needs --device for the controller link"));

    EmulatorLog log;
    if (parser.isSet(logOption) && !log.openFile(parser.value(logOption)))
        return usageError(QStringLiteral("cannot write %1").arg(parser.value(logOption)));

    QList<QByteArray> transcript;
    if (printing) {
        QString error;
        transcript = TranscriptPlayer::ReadTranscript(parser.value(transcriptOption), &error);
        if (transcript.isEmpty())
            return usageError(QStringLiteral("cannot read %1: %2").arg(parser.value(transcriptOption), error));
    }
    TranscriptPlayer player(transcript, playerConfig);

    // The printer output: a device given, or a pty of our own.
    DeviceSerialPort printerPort;
    PrinterPty printerPty;
    if (parser.isSet(printerDeviceOption)) {
        printerPort.selectDevice(parser.value(printerDeviceOption));
        printerPort.setBaudRate(baud);
        printerPort.setParity(SerialPort::Parity::Even);
        printerPort.setDataBits(8);
        printerPort.setStopBits(2);
        if (!printerPort.open()) {
            std::fprintf(stderr, "signovat-emulator: %s\n", printerPort.errorText().toUtf8().constData());
            return 1;
        }
        log.write(QStringLiteral("printer stream on %1").arg(printerPort.devicePath()));
    } else if (printing) {
        QString error;
        if (!printerPty.Create(&error)) {
            std::fprintf(stderr, "signovat-emulator: no pseudo-terminal: %s\n", error.toUtf8().constData());
            return 1;
        }
        log.write(QStringLiteral("printer stream on %1").arg(printerPty.devicePath()));
    }
    const auto printLine = [&](const QByteArray &bytes) {
        return parser.isSet(printerDeviceOption) ? printerPort.write(bytes) : printerPty.Write(bytes);
    };

    DeviceSerialPort port;
    ControllerResponder responder(config, [&log](const QString &line) { log.write(line); });
    responder.onPrintCommand = [&](const PrintCommandBytes &command) {
        if (!printing)
            return;
        if (command[0] == 2 && !player.playing()) {
            log.write(QStringLiteral("printout started"));
            player.Start();
        } else if (command[0] == 3 && player.playing()) {
            log.write(QStringLiteral("printout stopped"));
            player.Stop();
        }
    };
    if (!device.isEmpty()) {
        port.selectDevice(device);
        port.setBaudRate(baud);
        port.setParity(SerialPort::Parity::Even);
        port.setDataBits(8);
        port.setStopBits(2);
        if (!port.open()) {
            std::fprintf(stderr, "signovat-emulator: %s\n", port.errorText().toUtf8().constData());
            return 1;
        }
        log.write(QStringLiteral("listening on %1 (variant %2, seed %3, family %4)")
                      .arg(device)
                      .arg(int(config.protocolVariant))
                      .arg(config.checksumSeed)
                      .arg(config.controllerFamily));
    }

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const int waiting = port.bytesWaiting();
        if (waiting <= 0)
            return;
        const QByteArray answer = responder.Receive(port.read(waiting));
        if (!answer.isEmpty() && !port.write(answer))
            log.write(QStringLiteral("write failed: %1").arg(port.errorText()));
    });
    if (!device.isEmpty())
        poll.start(kPollIntervalMs);

    QTimer lineTimer;
    QObject::connect(&lineTimer, &QTimer::timeout, [&] {
        const bool wasPlaying = player.playing();
        bool vanish = false;
        const QByteArray line = player.Next(&vanish);
        if (vanish) {
            log.write(QStringLiteral("printer port vanishes"));
            printerPort.close();
            printerPty.Close();
            app.quit();
            return;
        }
        if (!line.isEmpty() && !printLine(line))
            log.write(QStringLiteral("printer write failed"));
        if (wasPlaying && !player.playing())
            log.write(QStringLiteral("printout ended"));
    });
    if (printing) {
        lineTimer.start(lineMs);
        if (startNow) {
            log.write(QStringLiteral("printout started"));
            player.Start();
        }
    }
    return app.exec();
}
