#pragma once
// The main window's 10 ms IO tick: one step of the controller link, and the
// report of a print command that got no answer.

#include "context/appcontext.h"
#include "base/prompt.h"

class ControllerLink;
class SerialPort;

class ControllerPolling {
public:
    ControllerPolling(AppContext &ctx, Prompt &prompt, ControllerLink &link, SerialPort &controllerPort,
                      SerialPort &printerPort);

    // The IO timer: brings the link's settings up to date and runs SendStep.
    void IOTimer();

private:
    AppContext &ctx_;
    Prompt &prompt_;
    ControllerLink &link_;
    SerialPort &controllerPort_;
    SerialPort &printerPort_;
};

extern const QString kNoControllerConnection;
