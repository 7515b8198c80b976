#include "link/controllerlink.h"

namespace {
bool WantsAck(uint8_t type)
{
    return type == 102 || type == 103 || type == 106;
}
}  // namespace

ControllerLink::ControllerLink(SerialPort &port, AnswerTimer &timer) : port_(&port), timer_(timer)
{
    timer_.setExpiredHandler([this] { AnswerTimerExpired(); });
}

void ControllerLink::setPort(SerialPort &port)
{
    port_ = &port;
}

void ControllerLink::RequestPrint(uint8_t a, uint8_t b, uint8_t c)
{
    const PrintCommandBytes command {a, b, c};
    if (awaitingAnswer_) {
        // The frame under way keeps its answer; this one follows it, so a
        // stop asked for right after a start is not lost. The last request
        // wins: asking again for the command under way cancels a queued one.
        hasQueuedCommand_ = command != printCommand_;
        queuedCommand_ = command;
    } else {
        printCommand_ = command;
        state_ = Step::PrintCommand;
    }
    if (workHandler_)
        workHandler_();
}

ControllerLink::Step ControllerLink::SendStep()
{
    if (state_ == Step::Idle) {
        awaitingAnswer_ = false;
        return Step::Idle;
    }
    if (awaitingAnswer_) {
        if (!ReceiveAnswer())
            return state_;
        awaitingAnswer_ = false;
        state_ = Step::Idle;
        if (hasQueuedCommand_) {
            hasQueuedCommand_ = false;
            printCommand_ = queuedCommand_;
            state_ = Step::PrintCommand;
        }
        return linkFailed_ ? Step::Failed : state_;
    }
    if (state_ == Step::PrintCommand) {
        SendPrintCommand();
        return Step::PrintCommand;
    }
    state_ = Step::Idle;
    return Step::Idle;
}

void ControllerLink::AnswerTimerExpired()
{
    answerTimedOut_ = true;
    timer_.stop();
}

void ControllerLink::SendPrintCommand()
{
    txFrame_ = BuildPrintCommandFrame(printCommand_, variant_, seed_);
    SendFrame();
    ArmAnswer();
}

void ControllerLink::SendFrame()
{
    port_->write(StuffFrame(txFrame_));
    StartAnswerTimer();
}

void ControllerLink::ArmAnswer()
{
    awaitingAnswer_ = true;
    linkFailed_ = false;
    repeatCount_ = 0;
    receiver_.Reset();
    port_->flushInput();
}

void ControllerLink::StartAnswerTimer()
{
    answerTimedOut_ = false;
    timer_.start(kAnswerTimeMs);
}

void ControllerLink::StopAnswerTimer()
{
    timer_.stop();
}

bool ControllerLink::ReceiveAnswer()
{
    if (answerTimedOut_) {
        SendFrame();
        ++repeatCount_;
        if (repeatCount_ > kMaxRepeats) {
            linkFailed_ = true;
            StopAnswerTimer();
            return true;
        }
    }
    // Only the bytes already waiting: a controller that answers every resend
    // at once must not hold this tick (and the answer timer) forever.
    bool done = false;
    const QByteArray bytes = port_->read(port_->bytesWaiting());
    for (char c : bytes) {
        if (receiver_.Feed(uint8_t(c)) && HandleFrame(receiver_.frame(), done))
            done = true;
    }
    return done;
}

bool ControllerLink::HandleFrame(const QByteArray &stored, bool answered)
{
    if (!StoredFrameValid(stored, variant_, seed_)
        || stored[kStoredAddress] != char(family_)) {
        // Garbled or meant for another device: send again at once; the
        // answer time keeps running and no repeat is counted. Not once the
        // command is answered: its answer to a resend could arrive after
        // the next command went out and be taken for that one's.
        if (!answered)
            port_->write(StuffFrame(txFrame_));
        return false;
    }
    StopAnswerTimer();
    if (stored.size() >= kMinTypedFrame && WantsAck(uint8_t(stored[kStoredType])))
        port_->write(StuffFrame(BuildAck(family_)));
    return true;
}
