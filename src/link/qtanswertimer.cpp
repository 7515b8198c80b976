#include "link/qtanswertimer.h"

QtAnswerTimer::QtAnswerTimer()
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (handler_)
            handler_();
    });
}

void QtAnswerTimer::setExpiredHandler(std::function<void()> handler)
{
    handler_ = std::move(handler);
}

void QtAnswerTimer::start(int msec)
{
    timer_.start(msec);
}

void QtAnswerTimer::stop()
{
    timer_.stop();
}
