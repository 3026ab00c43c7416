#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace ui {

class FormHost;

// A window's timer: runs from the window's creation at a fixed interval and hands each tick to the
// window through the runtime's one-at-a-time delivery. Tests call fire() instead of waiting.
class Timer : public QObject {
    Q_OBJECT
public:
    Timer(QObject* owner, FormHost& runtime, QString name, int intervalMs, std::function<void()> tick);

    bool isRunning() const { return timer_.isActive(); }

    // Lets a window rest a timer whose ticks would change nothing, and wake it when they matter again.
    void setRunning(bool running);

    // Delivers one tick now, as if the interval had just elapsed.
    void fire();

private:
    FormHost& runtime_;
    QTimer timer_;
    std::function<void()> tick_;
};

} // namespace ui
