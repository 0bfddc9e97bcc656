#pragma once

#include <cstdint>
#include <functional>
#include <memory>

// A repeating timer with the semantics the windows rely on: setting the interval restarts the count,
// enabling an enabled timer changes nothing.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void SetInterval(int milliseconds) = 0;
    virtual int Interval() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;

    std::function<void()> onTick;
};

// Lets one thread sleep until a moment of the clock while another may wake it early.
class Sleeper {
public:
    static constexpr std::int64_t Forever = INT64_MAX;

    virtual ~Sleeper() = default;
    // True when the clock's tick count has reached deadline; false as soon as Wake has been called
    // since the last return. A deadline already past returns at once (a test clock: once the test
    // lets time run again).
    virtual bool SleepUntil(std::int64_t deadline) = 0;
    virtual void Wake() = 0;
};

// Time as the program sees it: a monotonic millisecond count, a blocking sleep, timers for the
// window's thread and sleepers for a thread of its own.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t TickCount() = 0;
    virtual void Sleep(int milliseconds) = 0;
    virtual std::unique_ptr<Timer> CreateTimer(int intervalMilliseconds, bool precise) = 0;
    virtual std::unique_ptr<Sleeper> CreateSleeper() = 0;
};
