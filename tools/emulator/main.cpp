// signovat-emulator: plays a traffic-light controller on a serial device (a
// real port or one end of a pty pair) for trying out and testing the
// controller link without hardware.
//
//   signovat-emulator --device PATH [--kvx | --kvx40 --version 6.00…6.30]
//       [--family 1|2] [--mode answer|wrong-address|bad-checksum|silent]
//       [--answer-type N] [--answer-after N] [--baud N] [--log FILE]
//
// It answers print-command frames as chosen and logs every frame it receives
// and every answer it sends, one line each, to stderr or FILE. Once the
// device is open it logs "listening on PATH".
//
// The controller's printer output (a second port) would be a separate player
// started and stopped from ControllerResponder::onPrintCommand.

#include "controllerresponder.h"
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
    parser.setApplicationDescription(QStringLiteral("Plays a controller on the controller link."));
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
    parser.addOptions({deviceOption, kvxOption, kvx40Option, versionOption, familyOption, modeOption, typeOption,
                       afterOption, baudOption, logOption});
    parser.process(app);

    const QString device = parser.value(deviceOption);
    if (device.isEmpty())
        return usageError(QStringLiteral("--device PATH is required"));
    ResponderConfig config;
    config.protocolVariant = parser.isSet(kvxOption) ? 0 : kKvx40Variant;
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

    EmulatorLog log;
    if (parser.isSet(logOption) && !log.openFile(parser.value(logOption)))
        return usageError(QStringLiteral("cannot write %1").arg(parser.value(logOption)));

    DeviceSerialPort port;
    port.selectDevice(device);
    port.setBaudRate(baud);
    port.setParity(SerialPort::Parity::Even);
    port.setDataBits(8);
    port.setStopBits(2);
    if (!port.open()) {
        std::fprintf(stderr, "signovat-emulator: %s\n", port.errorText().toUtf8().constData());
        return 1;
    }

    ControllerResponder responder(config, [&log](const QString &line) { log.write(line); });
    log.write(QStringLiteral("listening on %1 (variant %2, seed %3, family %4)")
                  .arg(device)
                  .arg(config.protocolVariant)
                  .arg(config.checksumSeed)
                  .arg(config.controllerFamily));

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const int waiting = port.bytesWaiting();
        if (waiting <= 0)
            return;
        const QByteArray answer = responder.Receive(port.read(waiting));
        if (!answer.isEmpty() && !port.write(answer))
            log.write(QStringLiteral("write failed: %1").arg(port.errorText()));
    });
    poll.start(kPollIntervalMs);
    return app.exec();
}
