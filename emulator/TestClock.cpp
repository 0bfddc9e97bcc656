#include "emulator/TestClock.h"

#include <algorithm>
#include <vector>

namespace {
class ManualTimer;
}

// Shared by the clock and its timers, so that either may be destroyed first.
struct TimerSchedule {
    std::int64_t now = TestClock::StartTime;
    std::vector<ManualTimer*> timers;  // creation order, which also orders timers due at the same time
    std::vector<ManualTimer*> running; // timers whose handler is on the stack
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

} // namespace

TestClock::TestClock() : schedule_(std::make_shared<TimerSchedule>()) {}

TestClock::~TestClock() = default;

std::int64_t TestClock::TickCount() {
    return schedule_->now;
}

void TestClock::Sleep(int milliseconds) {
    schedule_->now += std::max(milliseconds, 0);
    if (onSleep) onSleep(schedule_->now);
}

std::unique_ptr<Timer> TestClock::CreateTimer(int intervalMilliseconds, bool precise) {
    return std::make_unique<ManualTimer>(schedule_, intervalMilliseconds, precise);
}

void TestClock::Advance(std::int64_t milliseconds) {
    const std::int64_t target = schedule_->now + std::max<std::int64_t>(milliseconds, 0);
    while (FireNextTimerDueBy(target)) {
    }
    schedule_->now = std::max(schedule_->now, target);
}

bool TestClock::AdvanceToNextTimer(std::int64_t limitMilliseconds) {
    const std::int64_t limit = schedule_->now + std::max<std::int64_t>(limitMilliseconds, 0);
    if (FireNextTimerDueBy(limit)) return true;
    schedule_->now = std::max(schedule_->now, limit);
    return false;
}

bool TestClock::FireNextTimerDueBy(std::int64_t time) {
    TimerSchedule& schedule = *schedule_;
    ManualTimer* next = nullptr;
    for (ManualTimer* timer : schedule.timers) {
        const bool held = !timer->FiresInsideItsHandler() &&
                          std::ranges::find(schedule.running, timer) != schedule.running.end();
        if (!held && timer->DueBy(time) && (!next || timer->Due() < next->Due())) next = timer;
    }
    if (!next) return false;

    // A timer overdue after a blocking sleep fires once, late, as a real one does.
    schedule.now = std::max(schedule.now, next->Due());
    next->FiredAt(schedule.now);
    schedule.running.push_back(next);
    const auto tick = next->onTick; // a copy: the handler may destroy its own timer
    if (tick) tick();
    std::erase(schedule.running, next);
    return true;
}
