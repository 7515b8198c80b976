#pragma once
// The one-shot timer the controller link waits for an answer with. The
// program uses QtAnswerTimer; tests step time with SteppedAnswerTimer.

#include <functional>

class AnswerTimer {
public:
    virtual ~AnswerTimer() = default;
    // Called once each time a started timer runs out.
    virtual void setExpiredHandler(std::function<void()> handler) = 0;
    // Starts, or restarts, the timer.
    virtual void start(int msec) = 0;
    virtual void stop() = 0;
};
