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
    if (AwaitingAnswer) {
        // The frame under way keeps its answer; this one follows it, so a
        // stop asked for right after a start is not lost. The last request
        // wins: asking again for the command under way cancels a queued one.
        HasQueuedCommand = command != PrintCommand;
        QueuedCommand = command;
        return;
    }
    PrintCommand = command;
    State = Step::PrintCommand;
}

ControllerLink::Step ControllerLink::SendStep()
{
    if (State == Step::Idle) {
        AwaitingAnswer = false;
        return Step::Idle;
    }
    if (AwaitingAnswer) {
        if (!ReceiveAnswer())
            return State;
        AwaitingAnswer = false;
        State = Step::Idle;
        if (HasQueuedCommand) {
            HasQueuedCommand = false;
            PrintCommand = QueuedCommand;
            State = Step::PrintCommand;
        }
        return LinkFailed ? Step::Failed : State;
    }
    if (State == Step::PrintCommand) {
        SendPrintCommand();
        return Step::PrintCommand;
    }
    State = Step::Idle;
    return Step::Idle;
}

void ControllerLink::AnswerTimerExpired()
{
    AnswerTimedOut = true;
    timer_.stop();
}

void ControllerLink::SendPrintCommand()
{
    TxFrame = BuildPrintCommandFrame(PrintCommand, ProtocolVariant, ChecksumSeed);
    SendFrame();
    ArmAnswer();
}

void ControllerLink::SendFrame()
{
    port_->write(StuffFrame(TxFrame));
    StartAnswerTimer();
}

void ControllerLink::ArmAnswer()
{
    AwaitingAnswer = true;
    LinkFailed = false;
    RepeatCount = 0;
    receiver_.Reset();
    port_->flushInput();
}

void ControllerLink::StartAnswerTimer()
{
    AnswerTimedOut = false;
    timer_.start(kAnswerTimeMs);
}

void ControllerLink::StopAnswerTimer()
{
    timer_.stop();
}

bool ControllerLink::ReceiveAnswer()
{
    if (AnswerTimedOut) {
        SendFrame();
        ++RepeatCount;
        if (RepeatCount > kMaxRepeats) {
            LinkFailed = true;
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
    if (!StoredFrameValid(stored, ProtocolVariant, ChecksumSeed)
        || stored[kStoredAddress] != char(ControllerFamily)) {
        // Garbled or meant for another device: send again at once; the
        // answer time keeps running and no repeat is counted. Not once the
        // command is answered: its answer to a resend could arrive after
        // the next command went out and be taken for that one's.
        if (!answered)
            port_->write(StuffFrame(TxFrame));
        return false;
    }
    StopAnswerTimer();
    if (stored.size() >= kMinTypedFrame && WantsAck(uint8_t(stored[kStoredType])))
        port_->write(StuffFrame(BuildAck(ControllerFamily)));
    return true;
}
