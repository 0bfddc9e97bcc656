#pragma once

#include "platform/Clock.h"

#include <cstdint>
#include <memory>

struct TimerSchedule;

// A clock that moves only when the test moves it, so long waits and pauses run in microseconds.
// Timers are created disabled, as Qt's are. A timer with an interval of 0 or less never fires: the
// test then sees the stall such an interval would cause instead of looping forever.
//
// Sleepers let a thread of the program wait for a moment of this clock. That thread runs only while
// the test moves time (in Advance), never beside the test's own code: Advance lets every sleeper
// whose moment has come run until it sleeps again, and delivers what it posted to the window's
// thread, before it moves on. So a test sees the same order of events in every run.
class TestClock : public Clock {
public:
    // Not 0, so code that measures from 0 instead of from a time it took is not right by accident.
    static constexpr std::int64_t StartTime = 1'000'000;

    TestClock();
    ~TestClock() override;

    std::int64_t TickCount() override;
    // Time passes without firing timers, as a blocking wait of the unit's lets it pass.
    void Sleep(int milliseconds) override;
    std::unique_ptr<Timer> CreateTimer(int intervalMilliseconds, bool precise) override;
    std::unique_ptr<Sleeper> CreateSleeper() override;

    // Moves time forward by milliseconds, firing the timers and waking the sleepers that fall due, in
    // due-time order, each at its due time (a sleeper before a timer due at the same time). A coarse
    // timer whose handler is running is not fired again from inside it; a precise one may be, as the
    // system clock's is.
    void Advance(std::int64_t milliseconds);

private:
    enum class Next { Nothing, Timer, Sleeper };
    Next NextDueBy(std::int64_t time, std::int64_t& due);
    void FireNextTimerDueBy(std::int64_t time);
    void Settle();

    std::shared_ptr<TimerSchedule> schedule_;
};
