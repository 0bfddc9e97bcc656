#pragma once

#include "platform/Clock.h"

#include <QElapsedTimer>

// The machine's monotonic clock and Qt's timers.
class SystemClock : public Clock {
public:
    SystemClock();
    std::int64_t TickCount() override;
    void Sleep(int milliseconds) override;
    std::unique_ptr<Timer> CreateTimer(int intervalMilliseconds, bool precise) override;

private:
    QElapsedTimer elapsed_;
};
