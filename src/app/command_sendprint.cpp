// signovat send-print start|stop --port COMn|DEVICE [--kvx | --kvx40 --version V]
// [--family 1|2]: sends the print command over the controller link, as the
// actual-run capture does, and reports whether the controller answered.

#include "app/commands.h"
#include "link/controllerlink.h"
#include "link/qtanswertimer.h"
#include "serial/comportmap.h"
#include "serial/deviceserialport.h"

#include <QCoreApplication>
#include <QCommandLineParser>
#include <QEventLoop>
#include <QRegularExpression>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

const QString kNoConnection = QStringLiteral(
    "Keine Verbindung zur Steuerung !\nDruckbefehl nicht ausgeführt.\nBitte Anlagentyp, "
    "Verbindung,\nggf. die Versionseinstellung und\ndie Baudrateneinstellung prüfen !");

// The controller software versions, in the order of their checksum seeds.
const QStringList kVersions = {QStringLiteral("6.00"), QStringLiteral("6.10"), QStringLiteral("6.20"),
                               QStringLiteral("6.30")};

constexpr int kStepIntervalMs = 10;

int fail(const QString &text)
{
    std::fprintf(stderr, "signovat send-print: %s\n", text.toUtf8().constData());
    return 1;
}

}  // namespace

int runSendPrintCommand(const QStringList &args, const CommandEnvironment &env)
{
    QCommandLineParser parser;
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("COMn oder Gerätepfad"),
                                        QStringLiteral("PORT"));
    const QCommandLineOption kvxOption(QStringLiteral("kvx"), QStringLiteral("KVX 300 / KVX 900 / KVX 5000S"));
    const QCommandLineOption kvx40Option(QStringLiteral("kvx40"), QStringLiteral("KVX 40 / 10 (Vorgabe)"));
    const QCommandLineOption versionOption(QStringLiteral("version"), QStringLiteral("Version der Steuerung"),
                                           QStringLiteral("V"));
    const QCommandLineOption familyOption(QStringLiteral("family"), QStringLiteral("Adresse der Antwort"),
                                          QStringLiteral("1|2"));
    parser.addOptions({portOption, kvxOption, kvx40Option, versionOption, familyOption});
    if (!parser.parse(QStringList{QStringLiteral("signovat send-print")} + args))
        return fail(parser.errorText());

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1
        || (positional[0] != QLatin1String("start") && positional[0] != QLatin1String("stop")))
        return fail(QStringLiteral("start oder stop angeben"));
    const uint8_t printCode = positional[0] == QLatin1String("start") ? 2 : 3;

    if (parser.isSet(kvxOption) && parser.isSet(kvx40Option))
        return fail(QStringLiteral("--kvx und --kvx40 schließen sich aus"));
    const bool kvx = parser.isSet(kvxOption);
    if (kvx && parser.isSet(versionOption))
        return fail(QStringLiteral("--version gilt nur für --kvx40"));
    int seed = 3;
    if (parser.isSet(versionOption)) {
        seed = int(kVersions.indexOf(parser.value(versionOption)));
        if (seed < 0)
            return fail(QStringLiteral("--version muss 6.00, 6.10, 6.20 oder 6.30 sein"));
    }
    int family = 2;
    if (parser.isSet(familyOption)) {
        const QString value = parser.value(familyOption);
        if (value != QLatin1String("1") && value != QLatin1String("2"))
            return fail(QStringLiteral("--family muss 1 oder 2 sein"));
        family = value.toInt();
    }

    const QString portText = parser.value(portOption);
    if (portText.isEmpty())
        return fail(QStringLiteral("--port COMn oder --port GERÄT fehlt"));
    DeviceSerialPort port(ComPortMap::fromSettings(env.settingsFile));
    static const QRegularExpression comPattern(QStringLiteral("^COM\\s*(\\d+)$"),
                                               QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch com = comPattern.match(portText);
    if (com.hasMatch())
        port.selectCom(com.captured(1).toInt());
    else
        port.selectDevice(portText);
    port.setBaudRate(9600);
    port.setParity(SerialPort::Parity::Even);
    port.setDataBits(8);
    port.setStopBits(2);
    if (!port.open())
        return fail(port.errorText());

    QtAnswerTimer answerTimer;
    ControllerLink link(port, answerTimer);
    link.setControllerFamily(ControllerFamily(family));
    link.setProtocolVariant(kvx ? ProtocolVariant::Plain : ProtocolVariant::Kvx40);
    link.setChecksumSeed(uint8_t(seed));
    link.RequestPrint(printCode, 0, 0);

    QEventLoop loop;
    QTimer step;
    step.setInterval(kStepIntervalMs);
    QObject::connect(&step, &QTimer::timeout, [&] {
        const ControllerLink::Step code = link.SendStep();
        if (code == ControllerLink::Step::Idle)
            loop.exit(0);
        else if (code == ControllerLink::Step::Failed)
            loop.exit(1);
    });
    step.start();
    const int rc = loop.exec();
    step.stop();
    port.close();
    if (rc != 0)
        std::fprintf(stderr, "%s\n", kNoConnection.toUtf8().constData());
    return rc;
}
