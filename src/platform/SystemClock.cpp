#include "platform/SystemClock.h"

#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <thread>
#include <utility>

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
    PreciseTimer(SystemClock& clock, int intervalMilliseconds)
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
        due_ = clock_.TickCount() + interval_;
        Arm();
    }
    void Arm() {
        const qint64 wait = due_ - clock_.TickCount();
        const qint64 early = 2 + wait / 1000;
        timer_.start(static_cast<int>(std::max<qint64>(wait - early, 0)));
    }
    void Fire() {
        const qint64 remaining = clock_.NanosecondsAt(due_) - SystemClock::MonotonicNanoseconds();
        if (remaining > 0) std::this_thread::sleep_for(std::chrono::nanoseconds(remaining));
        // The next tick counts from this one's due moment; a tick missed entirely counts from now.
        due_ = std::max<qint64>(due_ + interval_, clock_.TickCount() + 1);
        Arm();
        if (onTick) onTick();
    }

    SystemClock& clock_;
    int interval_;
    bool enabled_ = false;
    qint64 due_ = 0;
    QTimer timer_;
};

// Sleeps to an absolute moment of the monotonic clock. Up to a millisecond before it the sleep waits
// on a condition, so that Wake cuts it short; the last stretch is one clock_nanosleep to the moment,
// which the kernel ends within the thread's timer slack rather than when a relative wait, counted
// from a moment already late, would.
class SystemSleeper : public Sleeper {
public:
    explicit SystemSleeper(const SystemClock& clock) : clock_(clock) {}

    bool SleepUntil(std::int64_t deadline) override {
        const bool endless = deadline == Forever;
        const std::int64_t moment = endless ? 0 : clock_.NanosecondsAt(deadline);
        {
            std::unique_lock lock(mutex_);
            const auto woken = [this] { return woken_; };
            if (endless) {
                wake_.wait(lock, woken);
            } else {
                // The steady clock counts on CLOCK_MONOTONIC, as the moment does.
                const std::chrono::steady_clock::time_point early{
                    std::chrono::nanoseconds(moment - LastStretch)};
                wake_.wait_until(lock, early, woken);
            }
            if (std::exchange(woken_, false)) return false;
        }
        const timespec until{static_cast<time_t>(moment / 1'000'000'000),
                             static_cast<long>(moment % 1'000'000'000)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
        }
        return true;
    }

    void Wake() override {
        const std::scoped_lock lock(mutex_);
        woken_ = true;
        wake_.notify_all();
    }

private:
    static constexpr std::int64_t LastStretch = 1'000'000;

    const SystemClock& clock_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool woken_ = false;
};

} // namespace

SystemClock::SystemClock() : startNanoseconds_(MonotonicNanoseconds()) {}

std::int64_t SystemClock::MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

std::int64_t SystemClock::NanosecondsAt(std::int64_t tickCount) const {
    return startNanoseconds_ + tickCount * 1'000'000;
}

std::int64_t SystemClock::TickCount() {
    return (MonotonicNanoseconds() - startNanoseconds_) / 1'000'000;
}

void SystemClock::Sleep(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

std::unique_ptr<Timer> SystemClock::CreateTimer(int intervalMilliseconds, bool precise) {
    if (precise) return std::make_unique<PreciseTimer>(*this, intervalMilliseconds);
    return std::make_unique<CoarseTimer>(intervalMilliseconds);
}

std::unique_ptr<Sleeper> SystemClock::CreateSleeper() {
    return std::make_unique<SystemSleeper>(*this);
}
