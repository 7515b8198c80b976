#pragma once
// The answer timer on a single-shot QTimer: it runs out through the event
// loop of the thread that owns it.

#include "link/answertimer.h"

#include <QTimer>

class QtAnswerTimer : public AnswerTimer {
public:
    QtAnswerTimer();
    void setExpiredHandler(std::function<void()> handler) override;
    void start(int msec) override;
    void stop() override;

private:
    QTimer timer_;
    std::function<void()> handler_;
};
