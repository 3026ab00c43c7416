#include "timer.h"

#include "form_host.h"

namespace ui {

Timer::Timer(QObject* owner, FormHost& runtime, QString name, int intervalMs, std::function<void()> tick)
    : QObject(owner), runtime_(runtime), tick_(std::move(tick)) {
    setObjectName(name);
    timer_.setInterval(intervalMs);
    timer_.setTimerType(intervalMs < 100 ? Qt::PreciseTimer : Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, &Timer::fire);
    timer_.start();
}

void Timer::setRunning(bool running) {
    if (running && !timer_.isActive()) {
        timer_.start();
    } else if (!running && timer_.isActive()) {
        timer_.stop();
    }
}

void Timer::fire() {
    runtime_.dispatch(tick_);
}

} // namespace ui
