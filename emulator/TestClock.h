#pragma once

#include "platform/Clock.h"

#include <cstdint>
#include <functional>
#include <memory>

struct TimerSchedule;

// A clock that moves only when the test moves it, so long waits and pauses run in microseconds.
// Timers are created disabled, as Qt's are. A timer with an interval of 0 or less never fires: the
// test then sees the stall such an interval would cause instead of looping forever.
class TestClock : public Clock {
public:
    // Not 0, so code that measures from 0 instead of from a time it took is not right by accident.
    static constexpr std::int64_t StartTime = 1'000'000;

    TestClock();
    ~TestClock() override;

    std::int64_t TickCount() override;
    // Blocks: time passes without firing timers; then onSleep sees the new time.
    void Sleep(int milliseconds) override;
    std::unique_ptr<Timer> CreateTimer(int intervalMilliseconds, bool precise) override;

    // Moves time forward by milliseconds, firing the timers that fall due, in due-time order, each
    // at its due time. A coarse timer whose handler is running is not fired again from inside it; a
    // precise one may be, as the system clock's is.
    void Advance(std::int64_t milliseconds);
    // Fires the next timer that falls due within limitMilliseconds and returns true; otherwise
    // moves time forward by the limit and returns false.
    bool AdvanceToNextTimer(std::int64_t limitMilliseconds);

    std::function<void(std::int64_t now)> onSleep;

private:
    bool FireNextTimerDueBy(std::int64_t time);

    std::shared_ptr<TimerSchedule> schedule_;
};
