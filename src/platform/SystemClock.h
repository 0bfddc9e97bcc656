#pragma once

#include "platform/Clock.h"

#include <cstdint>

// The machine's monotonic clock, Qt's timers, and sleepers that wake at an absolute moment.
class SystemClock : public Clock {
public:
    SystemClock();
    std::int64_t TickCount() override;
    void Sleep(int milliseconds) override;
    std::unique_ptr<Timer> CreateTimer(int intervalMilliseconds, bool precise) override;
    std::unique_ptr<Sleeper> CreateSleeper() override;

    // CLOCK_MONOTONIC in nanoseconds, and the moment a tick count stands for on it.
    static std::int64_t MonotonicNanoseconds();
    std::int64_t NanosecondsAt(std::int64_t tickCount) const;

private:
    std::int64_t startNanoseconds_;
};
