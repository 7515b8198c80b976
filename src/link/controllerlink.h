#pragma once
// The framed connection with a traffic-light controller on the controller
// port, used for the print command that starts and stops the controller's
// printer output.
//
// RequestPrint() queues the command; SendStep(), called every 10 ms, sends it,
// waits for the answer, repeats the frame every 500 ms without one and gives
// up after three repeats. Everything runs on one thread; received bytes are
// polled from the port. While the link is idle SendStep() has nothing to do,
// so its caller may stop ticking until the work handler calls.

#include "link/answertimer.h"
#include "link/framereceiver.h"
#include "link/linkframe.h"
#include "serial/serialport.h"

#include <QByteArray>
#include <cstdint>
#include <functional>

class ControllerLink {
public:
    // What a SendStep() tick did.
    enum class Step {
        Idle,          // idle, or the command was answered
        PrintCommand,  // the print command is under way
        Failed,        // no valid answer after the repeats
    };

    static constexpr int kAnswerTimeMs = 500;
    static constexpr int kMaxRepeats = 2;  // failure once a repeat exceeds this

    // The link keeps references to both; they must outlive it.
    ControllerLink(SerialPort &port, AnswerTimer &timer);

    // The controller port, or the printer-stream port while the controller
    // port is unavailable.
    void setPort(SerialPort &port);

    // The address a valid answer must carry.
    void setControllerFamily(ControllerFamily family) { family_ = family; }
    void setProtocolVariant(ProtocolVariant variant) { variant_ = variant; }
    // Index of the controller software version, 0 … 3 for 6.00 … 6.30.
    void setChecksumSeed(uint8_t seed) { seed_ = seed; }
    ControllerFamily controllerFamily() const { return family_; }
    ProtocolVariant protocolVariant() const { return variant_; }
    uint8_t checksumSeed() const { return seed_; }

    // Queues the print command; the frame goes out at the next SendStep(), or
    // right after the answer to a command still under way.
    void RequestPrint(uint8_t a, uint8_t b, uint8_t c);
    // One tick of the command machine; PrintCommand also when a queued
    // command follows the one just answered.
    Step SendStep();
    // The answer timer has run out.
    void AnswerTimerExpired();

    // A command is queued, under way or awaiting its answer: SendStep() must
    // keep being called until this turns false.
    bool busy() const { return state_ != Step::Idle || awaitingAnswer_; }
    // Called by every RequestPrint(), after the command is queued.
    void setWorkHandler(std::function<void()> handler) { workHandler_ = std::move(handler); }

private:
    void SendPrintCommand();
    void SendFrame();
    void ArmAnswer();
    void StartAnswerTimer();
    void StopAnswerTimer();
    bool ReceiveAnswer();  // true when done: answered or failed
    // answered: an earlier frame of this read already answered the command.
    bool HandleFrame(const QByteArray &stored, bool answered);

    SerialPort *port_;
    AnswerTimer &timer_;
    FrameReceiver receiver_;

    ControllerFamily family_ = ControllerFamily::Kvx;
    ProtocolVariant variant_ = ProtocolVariant::Kvx40;
    uint8_t seed_ = 3;
    PrintCommandBytes printCommand_ {};
    PrintCommandBytes queuedCommand_ {};
    bool hasQueuedCommand_ = false;  // asked for while an answer was awaited
    QByteArray txFrame_;
    Step state_ = Step::Idle;  // what SendStep() works on
    bool awaitingAnswer_ = false;
    bool answerTimedOut_ = false;
    int repeatCount_ = 0;
    bool linkFailed_ = false;
    std::function<void()> workHandler_;
};
