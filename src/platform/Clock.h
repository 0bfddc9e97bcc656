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

// Time as the program sees it: a monotonic millisecond count, a blocking sleep, and timers.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t TickCount() = 0;
    virtual void Sleep(int milliseconds) = 0;
    virtual std::unique_ptr<Timer> CreateTimer(int intervalMilliseconds, bool precise) = 0;
};
