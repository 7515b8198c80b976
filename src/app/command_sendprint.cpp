// signovat send-print start|stop --port COMn|DEVICE [--kvx | --kvx40 --version V]
// [--family 1|2]: sends the print command over the controller link, as the
// actual-run capture does, and reports whether the controller answered.

#include "app/commands.h"
#include "link/controllerlink.h"
#include "link/qtanswertimer.h"
#include "serial/comportmap.h"
#include "serial/deviceserialport.h"
#include "serial/serialline.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>

namespace {

const QString kNoConnection = QStringLiteral(
    "Keine Verbindung zur Steuerung !\nDruckbefehl nicht ausgeführt.\nBitte Anlagentyp, "
    "Verbindung,\nggf. die Versionseinstellung und\ndie Baudrateneinstellung prüfen !");

constexpr int kStepIntervalMs = 10;

}  // namespace

int runSendPrintCommand(const QStringList &args, const CommandEnvironment &env)
{
    return parseThenRun("send-print", args, parseSendPrintOptions,
                        [&](const SendPrintOptions &o) { return runSendPrint(o, env); });
}

int runSendPrint(const SendPrintOptions &options, const CommandEnvironment &env)
{
    DeviceSerialPort port(ComPortMap::fromSettings(env.settingsFile));
    selectPort(port, options.port);
    configureControllerLine(port);
    if (!port.open())
        return refuseCommand("send-print", portOpenFailure(port));

    QtAnswerTimer answerTimer;
    ControllerLink link(port, answerTimer);
    // Without --version the newest, 6.30; without --family a KVX 300 / 900 / 5000S.
    link.setControllerFamily(options.link.family.value_or(ControllerFamily::Kvx));
    link.setProtocolVariant(options.variant);
    link.setChecksumSeed(options.link.checksumSeed.value_or(3));
    link.RequestPrint(options.printCode, 0, 0);

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
