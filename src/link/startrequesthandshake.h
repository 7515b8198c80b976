#pragma once
// What the capture of a KVX controller and the main window's link polling
// tell each other: the capture waits for the controller's first line and, when
// it stays silent, asks the controller to start printing; the polling reports
// a start request that got no answer, once, and ends the waiting.

#include <utility>

class StartRequestHandshake {
public:
    // A KVX capture started: no line has come yet.
    void waitForData() { waiting_ = true; }
    // The first line came, or the capture ended or gave up.
    void stopWaiting() { waiting_ = false; }
    bool waitingForData() const { return waiting_; }

    // The capture sent the request that starts the controller's printout.
    void startRequested() { startRequested_ = true; }
    bool startRequestPending() const { return startRequested_; }

    // The link gave up on a command: nobody waits any more. True when it was
    // the capture's start request, which is reported once; a failed stop
    // request is not.
    bool linkFailed()
    {
        waiting_ = false;
        return std::exchange(startRequested_, false);
    }

private:
    bool waiting_ = false;
    bool startRequested_ = false;
};
