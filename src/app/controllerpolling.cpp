#include "app/controllerpolling.h"

#include "link/controllerlink.h"
#include "serial/serialport.h"

const QString kNoControllerConnection = QStringLiteral(
    "Keine Verbindung zur Steuerung !\nDruckbefehl nicht ausgeführt.\nBitte Anlagentyp, Verbindung,\n"
    "ggf. die Versionseinstellung und\ndie Baudrateneinstellung prüfen !");

ControllerPolling::ControllerPolling(AppContext &ctx, Prompt &prompt, ControllerLink &link,
                                     SerialPort &controllerPort, SerialPort &printerPort)
    : ctx_(ctx), prompt_(prompt), link_(link), controllerPort_(controllerPort), printerPort_(printerPort)
{
}

void ControllerPolling::IOTimer()
{
    // The settings may change between two ticks (interface panel, settings
    // dialog, a new data set); the link always works with the current ones.
    link_.setControllerFamily(ctx_.ControllerFamily);
    link_.setProtocolVariant(ctx_.settings.ProtocolVariant);
    link_.setChecksumSeed(uint8_t(ctx_.settings.ChecksumSeed));
    link_.setPort(ctx_.ports.ControllerPortFailed ? printerPort_ : controllerPort_);

    if (link_.SendStep() != ControllerLink::Step::Failed)
        return;
    if (ctx_.StartRequest.linkFailed()) {
        prompt_.tell(kNoControllerConnection, QStringLiteral("Fehler"), PromptIcon::Error);
    }
}
