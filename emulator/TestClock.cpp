#include "emulator/TestClock.h"

#include <QCoreApplication>
#include <QEvent>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {
class ManualTimer;

// Where a sleeper's thread stands, as the test clock sees it.
struct SleeperState {
    std::int64_t deadline = 0;
    bool sleeping = false; // waiting inside SleepUntil
    bool released = false; // its moment came and the test lets it run
    bool woken = false;    // Wake was called and not yet answered
};
} // namespace

// Shared by the clock, its timers and its sleepers, so that any of them may be destroyed first.
struct TimerSchedule {
    std::atomic<std::int64_t> now{TestClock::StartTime};
    // The window's thread only: creation order, which also orders timers due at the same time, and
    // the timers whose handler is on the stack.
    std::vector<ManualTimer*> timers;
    std::vector<ManualTimer*> running;
    // Sleepers are shared with their threads.
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<SleeperState*> sleepers;
};

namespace {

class ManualTimer : public Timer {
public:
    ManualTimer(const std::shared_ptr<TimerSchedule>& schedule, int intervalMilliseconds, bool precise)
        : schedule_(schedule), interval_(intervalMilliseconds), precise_(precise) {
        schedule->timers.push_back(this);
    }
    ~ManualTimer() override {
        if (auto schedule = schedule_.lock()) {
            std::erase(schedule->timers, this);
            std::erase(schedule->running, this);
        }
    }

    void SetInterval(int milliseconds) override {
        interval_ = milliseconds;
        if (enabled_) Restart();
    }
    int Interval() const override { return interval_; }
    void SetEnabled(bool enabled) override {
        if (enabled && !enabled_) Restart();
        enabled_ = enabled;
    }
    bool Enabled() const override { return enabled_; }

    bool DueBy(std::int64_t time) const { return enabled_ && interval_ > 0 && due_ <= time; }
    std::int64_t Due() const { return due_; }
    // The system clock's precise timer is armed again before its handler runs, so it may fall due
    // among the events the handler lets run; a coarse timer never fires from inside its own handler.
    bool FiresInsideItsHandler() const { return precise_; }
    // Arms the next round before the handler runs, so that a handler re-arming the timer wins.
    void FiredAt(std::int64_t time) { due_ = time + interval_; }

private:
    void Restart() {
        if (auto schedule = schedule_.lock()) due_ = schedule->now + interval_;
    }

    std::weak_ptr<TimerSchedule> schedule_;
    int interval_;
    bool precise_;
    bool enabled_ = false;
    std::int64_t due_ = 0;
};

class ManualSleeper : public Sleeper {
public:
    explicit ManualSleeper(std::shared_ptr<TimerSchedule> schedule) : schedule_(std::move(schedule)) {
        const std::scoped_lock lock(schedule_->mutex);
        schedule_->sleepers.push_back(&state_);
    }
    ~ManualSleeper() override {
        const std::scoped_lock lock(schedule_->mutex);
        std::erase(schedule_->sleepers, &state_);
        schedule_->changed.notify_all();
    }

    bool SleepUntil(std::int64_t deadline) override {
        std::unique_lock lock(schedule_->mutex);
        if (!state_.woken) {
            state_.deadline = deadline;
            state_.sleeping = true;
            schedule_->changed.notify_all();
            schedule_->changed.wait(lock, [this] { return state_.released || state_.woken; });
            state_.sleeping = false;
        }
        const bool due = !state_.woken;
        state_.released = false;
        state_.woken = false;
        return due;
    }

    void Wake() override {
        const std::scoped_lock lock(schedule_->mutex);
        state_.woken = true;
        schedule_->changed.notify_all();
    }

private:
    std::shared_ptr<TimerSchedule> schedule_;
    SleeperState state_;
};

ManualTimer* NextTimerDueBy(const TimerSchedule& schedule, std::int64_t time) {
    ManualTimer* next = nullptr;
    for (ManualTimer* timer : schedule.timers) {
        const bool held = !timer->FiresInsideItsHandler() &&
                          std::ranges::find(schedule.running, timer) != schedule.running.end();
        if (!held && timer->DueBy(time) && (!next || timer->Due() < next->Due())) next = timer;
    }
    return next;
}

// A thread that does not go back to sleep is a fault of the program; the test ends rather than hangs.
constexpr std::chrono::seconds SleeperPatience{60};

} // namespace

TestClock::TestClock() : schedule_(std::make_shared<TimerSchedule>()) {}

TestClock::~TestClock() = default;

std::int64_t TestClock::TickCount() {
    return schedule_->now;
}

void TestClock::Sleep(int milliseconds) {
    schedule_->now += std::max(milliseconds, 0);
}

std::unique_ptr<Timer> TestClock::CreateTimer(int intervalMilliseconds, bool precise) {
    return std::make_unique<ManualTimer>(schedule_, intervalMilliseconds, precise);
}

std::unique_ptr<Sleeper> TestClock::CreateSleeper() {
    return std::make_unique<ManualSleeper>(schedule_);
}

void TestClock::Advance(std::int64_t milliseconds) {
    const std::int64_t target = schedule_->now + std::max<std::int64_t>(milliseconds, 0);
    Settle();
    std::int64_t due = 0;
    for (Next next; (next = NextDueBy(target, due)) != Next::Nothing; Settle()) {
        schedule_->now = std::max<std::int64_t>(schedule_->now, due);
        if (next == Next::Timer) FireNextTimerDueBy(due);
    }
    schedule_->now = std::max<std::int64_t>(schedule_->now, target);
}

TestClock::Next TestClock::NextDueBy(std::int64_t time, std::int64_t& due) {
    Next next = Next::Nothing;
    {
        const std::scoped_lock lock(schedule_->mutex);
        for (const SleeperState* sleeper : schedule_->sleepers) {
            if (sleeper->deadline <= time && (next == Next::Nothing || sleeper->deadline < due)) {
                next = Next::Sleeper;
                due = sleeper->deadline;
            }
        }
    }
    if (const ManualTimer* timer = NextTimerDueBy(*schedule_, time);
        timer && (next == Next::Nothing || timer->Due() < due)) {
        next = Next::Timer;
        due = timer->Due();
    }
    return next;
}

void TestClock::FireNextTimerDueBy(std::int64_t time) {
    TimerSchedule& schedule = *schedule_;
    ManualTimer* next = NextTimerDueBy(schedule, time);
    if (!next) return;

    // A timer overdue after a blocking sleep fires once, late, as a real one does.
    schedule.now = std::max<std::int64_t>(schedule.now, next->Due());
    next->FiredAt(schedule.now);
    schedule.running.push_back(next);
    const auto tick = next->onTick; // a copy: the handler may destroy its own timer
    if (tick) tick();
    std::erase(schedule.running, next);
}

// Lets each sleeper whose moment has come run until it sleeps again, and hands what the sleepers
// posted to the window's thread, until every sleeper sleeps towards a later moment.
void TestClock::Settle() {
    TimerSchedule& schedule = *schedule_;
    for (;;) {
        {
            std::unique_lock lock(schedule.mutex);
            const auto allAsleep = [&] {
                return std::ranges::all_of(schedule.sleepers, [](const SleeperState* sleeper) {
                    return sleeper->sleeping && !sleeper->released && !sleeper->woken;
                });
            };
            if (!schedule.changed.wait_for(lock, SleeperPatience, allAsleep))
                qFatal("a thread waiting on the test clock did not go back to sleep");
            const auto due = std::ranges::find_if(schedule.sleepers, [&](const SleeperState* sleeper) {
                return sleeper->deadline <= schedule.now;
            });
            if (due != schedule.sleepers.end()) {
                (*due)->released = true;
                schedule.changed.notify_all();
                continue;
            }
        }
        if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        const std::scoped_lock lock(schedule.mutex);
        const bool settled = std::ranges::all_of(schedule.sleepers, [&](const SleeperState* sleeper) {
            return sleeper->sleeping && !sleeper->woken && sleeper->deadline > schedule.now;
        });
        if (settled) return;
    }
}
