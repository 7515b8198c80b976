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

std::optional<Message> ControllerPolling::IOTimer()
{
    // The settings may change between two ticks (interface panel, settings
    // dialog, a new data set); the link always works with the current ones.
    link_.setControllerFamily(ctx_.ControllerFamily);
    link_.setProtocolVariant(ctx_.settings.ProtocolVariant);
    link_.setChecksumSeed(uint8_t(ctx_.settings.ChecksumSeed));
    link_.setPort(ctx_.ports.ControllerPortFailed ? printerPort_ : controllerPort_);

    if (link_.SendStep() != ControllerLink::Step::Failed || !ctx_.StartRequest.linkFailed())
        return std::nullopt;
    return Message{kNoControllerConnection, QStringLiteral("Fehler"), PromptIcon::Error};
}
