#include "platform/SystemClock.h"

#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <thread>

namespace {

class CoarseTimer : public Timer {
public:
    explicit CoarseTimer(int intervalMilliseconds) {
        timer_.setTimerType(Qt::CoarseTimer);
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

// Qt wakes a timer up to a millisecond late (it rounds every wait up to whole milliseconds) and the
// kernel adds 0.1 % of the wait as slack; at 50 words per minute that is a few percent of a dot, on
// every character. A precise timer is therefore woken a little early and sleeps out the rest. It
// counts on the clock's own millisecond grid, so a pause computed from tick counts ends exactly
// where they say.
class PreciseTimer : public Timer {
public:
    PreciseTimer(const QElapsedTimer& clock, int intervalMilliseconds)
        : clock_(clock), interval_(intervalMilliseconds) {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Fire(); });
    }
    void SetInterval(int milliseconds) override {
        interval_ = milliseconds;
        if (enabled_) Start();
    }
    int Interval() const override { return interval_; }
    void SetEnabled(bool enabled) override {
        if (enabled && !enabled_) Start();
        if (!enabled) timer_.stop();
        enabled_ = enabled;
    }
    bool Enabled() const override { return enabled_; }

private:
    void Start() {
        enabled_ = true;
        due_ = clock_.elapsed() + interval_;
        Arm();
    }
    void Arm() {
        const qint64 wait = due_ - clock_.elapsed();
        const qint64 early = 2 + wait / 1000;
        timer_.start(static_cast<int>(std::max<qint64>(wait - early, 0)));
    }
    void Fire() {
        const qint64 remaining = due_ * 1'000'000 - clock_.nsecsElapsed();
        if (remaining > 0) std::this_thread::sleep_for(std::chrono::nanoseconds(remaining));
        // The next tick counts from this one's due moment; a tick missed entirely counts from now.
        due_ = std::max(due_ + interval_, clock_.elapsed() + 1);
        Arm();
        if (onTick) onTick();
    }

    const QElapsedTimer& clock_;
    int interval_;
    bool enabled_ = false;
    qint64 due_ = 0;
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
    if (precise) return std::make_unique<PreciseTimer>(elapsed_, intervalMilliseconds);
    return std::make_unique<CoarseTimer>(intervalMilliseconds);
}
