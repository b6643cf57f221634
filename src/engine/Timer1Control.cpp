#include "engine/Timer1Control.h"

namespace quizzolo {

Timer1Control::Timer1Control(QObject *parent) : QObject(parent)
{
    timer_.setInterval(3000);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &Timer1Control::tick);
}

void Timer1Control::setEnabled(bool enabled)
{
    if (!enabled)
        timer_.stop();
    else if (!timer_.isActive())
        timer_.start();
}

} // namespace quizzolo
