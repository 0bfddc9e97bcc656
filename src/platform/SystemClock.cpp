#include "platform/SystemClock.h"

#include <QThread>
#include <QTimer>

namespace {

class QtTimer : public Timer {
public:
    QtTimer(int intervalMilliseconds, bool precise) {
        timer_.setTimerType(precise ? Qt::PreciseTimer : Qt::CoarseTimer);
        timer_.setInterval(intervalMilliseconds);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (onTick) onTick();
        });
    }
    void SetInterval(int milliseconds) override {
        timer_.setInterval(milliseconds);
        if (timer_.isActive()) timer_.start();
    }
    int Interval() const override { return timer_.interval(); }
    void SetEnabled(bool enabled) override {
        if (enabled && !timer_.isActive()) timer_.start();
        if (!enabled) timer_.stop();
    }
    bool Enabled() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

} // namespace

SystemClock::SystemClock() {
    elapsed_.start();
}

std::int64_t SystemClock::TickCount() {
    return elapsed_.elapsed();
}

void SystemClock::Sleep(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

std::unique_ptr<Timer> SystemClock::CreateTimer(int intervalMilliseconds, bool precise) {
    return std::make_unique<QtTimer>(intervalMilliseconds, precise);
}
