#include "app/controllerpolling.h"

#include "link/controllerlink.h"
#include "serial/serialport.h"

const QString kNoControllerConnection = QStringLiteral(
    "Keine Verbindung zur Steuerung !\nDruckbefehl nicht ausgeführt.\nBitte Anlagentyp, Verbindung,\n"
    "ggf. die Versionseinstellung und\ndie Baudrateneinstellung prüfen !");

ControllerPolling::ControllerPolling(AppContext &ctx, ControllerLink &link, SerialPort &controllerPort,
                                     SerialPort &printerPort)
    : ctx_(ctx), link_(link), controllerPort_(controllerPort), printerPort_(printerPort)
{
}

ControllerPolling::~ControllerPolling()
{
    // The handler points here; a capture that ends later still asks for its
    // stop, which must not call into a polling that is gone.
    if (runTick_)
        link_.setWorkHandler({});
}

void ControllerPolling::setTickSwitch(std::function<void(bool run)> run)
{
    runTick_ = std::move(run);
    ticking_ = false;
    auto start = [this] {
        if (!ticking_) {
            ticking_ = true;
            runTick_(true);
        }
    };
    link_.setWorkHandler(start);
    if (link_.busy())
        start();
}

std::optional<Message> ControllerPolling::IOTimer()
{
    // The settings may change between two ticks (interface panel, settings
    // dialog, a new data set); the link always works with the current ones.
    link_.setControllerFamily(ctx_.ControllerFamily);
    link_.setProtocolVariant(ctx_.settings.ProtocolVariant);
    link_.setChecksumSeed(uint8_t(ctx_.settings.ChecksumSeed));
    link_.setPort(ctx_.ports.ControllerPortFailed ? printerPort_ : controllerPort_);

    const ControllerLink::Step step = link_.SendStep();
    if (ticking_ && !link_.busy()) {
        ticking_ = false;
        runTick_(false);
    }
    if (step != ControllerLink::Step::Failed || !ctx_.StartRequest.linkFailed())
        return std::nullopt;
    return Message{kNoControllerConnection, QStringLiteral("Fehler"), PromptIcon::Error};
}
