#pragma once
// An answer timer whose time moves only when advance() is called, so tests
// of the link (and of whatever drives it) run the repeats without waiting.

#include "link/answertimer.h"

class SteppedAnswerTimer : public AnswerTimer {
public:
    void setExpiredHandler(std::function<void()> handler) override { handler_ = std::move(handler); }
    void start(int msec) override
    {
        running_ = true;
        remaining_ = msec;
    }
    void stop() override { running_ = false; }

    bool isRunning() const { return running_; }

    // Lets msec pass; the handler runs when the running timer reaches zero.
    void advance(int msec)
    {
        if (!running_)
            return;
        remaining_ -= msec;
        if (remaining_ <= 0) {
            running_ = false;
            if (handler_)
                handler_();
        }
    }

private:
    std::function<void()> handler_;
    bool running_ = false;
    int remaining_ = 0;
};
