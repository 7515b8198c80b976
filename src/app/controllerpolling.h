#pragma once
// The main window's 10 ms IO tick: one step of the controller link, and the
// report of a print command that got no answer.

#include "base/message.h"
#include "context/appcontext.h"

#include <optional>

class ControllerLink;
class SerialPort;

class ControllerPolling {
public:
    ControllerPolling(AppContext &ctx, ControllerLink &link, SerialPort &controllerPort, SerialPort &printerPort);

    // The IO timer: brings the link's settings up to date and runs SendStep.
    // Returns the message to show once the tick is over: a start request the
    // controller did not answer.
    std::optional<Message> IOTimer();

private:
    AppContext &ctx_;
    ControllerLink &link_;
    SerialPort &controllerPort_;
    SerialPort &printerPort_;
};

extern const QString kNoControllerConnection;
