#pragma once
// The main window's 10 ms IO tick: one step of the controller link, and the
// report of a print command that got no answer. The tick runs only while the
// link has work, so an idle window does not wake the processor 100 times a
// second.

#include "base/message.h"
#include "context/appcontext.h"

#include <functional>
#include <optional>

class ControllerLink;
class SerialPort;

class ControllerPolling {
public:
    ControllerPolling(AppContext &ctx, ControllerLink &link, SerialPort &controllerPort, SerialPort &printerPort);
    ~ControllerPolling();
    ControllerPolling(const ControllerPolling &) = delete;
    ControllerPolling &operator=(const ControllerPolling &) = delete;

    // Lets the polling switch the IO timer: run(true) when a command is asked
    // for while the timer is off, run(false) after the tick that leaves the
    // link idle. Starts it at once when the link already has work.
    void setTickSwitch(std::function<void(bool run)> run);

    // The IO timer: brings the link's settings up to date and runs SendStep.
    // Returns the message to show once the tick is over: a start request the
    // controller did not answer.
    std::optional<Message> IOTimer();

private:
    AppContext &ctx_;
    ControllerLink &link_;
    SerialPort &controllerPort_;
    SerialPort &printerPort_;
    std::function<void(bool)> runTick_;
    bool ticking_ = false;
};

extern const QString kNoControllerConnection;
