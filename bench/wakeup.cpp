// How late this machine wakes a thread at a moment it asked for, which bounds any pacing on it:
// clock_nanosleep to an absolute moment of CLOCK_MONOTONIC, with and without real-time scheduling,
// beside Qt's precise timer on an event loop, idle and with the machine loaded. Prints the figures;
// asserts nothing.
//
// Usage: wakeup [--quick]   (--quick: a few samples, to see that it runs; about a minute otherwise)

#include "support/Figures.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <optional>
#include <pthread.h>
#include <random>
#include <sys/prctl.h>
#include <thread>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int FullRunSamples = 300;
constexpr int QuickRunSamples = 20;
// Waits as long as a character's: 10..60 ms, in a fixed pseudo-random order.
constexpr int ShortestWait = 10;
constexpr int LongestWait = 60;
constexpr int TimingPriority = 5;
// The sending thread's timer slack.
constexpr unsigned long TimerSlackNanoseconds = 1000;

// Waits the given milliseconds from now; returns how late it woke, in milliseconds.
using Wait = std::function<double(int milliseconds)>;

double LateBy(SteadyClock::time_point due) {
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - due).count();
}

double SleepToMoment(int milliseconds) {
    const SteadyClock::time_point due = SteadyClock::now() + std::chrono::milliseconds(milliseconds);
    // The steady clock counts on CLOCK_MONOTONIC.
    const auto nanoseconds = std::chrono::nanoseconds(due.time_since_epoch()).count();
    const timespec moment{static_cast<time_t>(nanoseconds / 1'000'000'000),
                          static_cast<long>(nanoseconds % 1'000'000'000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &moment, nullptr) == EINTR) {
    }
    return LateBy(due);
}

double PreciseTimerFires(int milliseconds) {
    const SteadyClock::time_point due = SteadyClock::now() + std::chrono::milliseconds(milliseconds);
    QEventLoop events;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &events, &QEventLoop::quit);
    events.exec();
    return LateBy(due);
}

std::vector<double> Lateness(int samples, const Wait& wait) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> milliseconds(ShortestWait, LongestWait);
    std::vector<double> late;
    late.reserve(samples);
    for (int sample = 0; sample < samples; ++sample)
        late.push_back(wait(milliseconds(random)));
    return late;
}

// On a thread of its own, as the sending thread sleeps; nothing when the policy is not allowed.
std::optional<std::vector<double>> SleepingThreadLateness(int samples, bool realTime) {
    std::optional<std::vector<double>> late;
    std::thread([&] {
        prctl(PR_SET_TIMERSLACK, TimerSlackNanoseconds, 0, 0, 0);
        const sched_param parameters{TimingPriority};
        if (realTime && pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameters) != 0) return;
        late = Lateness(samples, SleepToMoment);
    }).join();
    return late;
}

void Report(const char* way, const std::optional<std::vector<double>>& late) {
    if (!late) {
        std::printf("  %-46s real-time scheduling not allowed here\n", way);
        return;
    }
    const Spread spread = SpreadOf(*late);
    std::printf("  %-46s late by median %.3f ms, p99 %.3f ms, max %.3f ms (earliest %+.3f ms)\n", way,
                spread.median, spread.p99, spread.maximum, spread.minimum);
}

void MeasureWakeUps(int samples, bool loaded) {
    std::printf("\n%s machine, load average %s\n", loaded ? "Loaded" : "Idle", qPrintable(LoadAverage()));
    std::optional<MachineLoad> load;
    if (loaded) {
        load.emplace();
        std::printf("  %s\n", qPrintable(load->Description()));
    }
    Report("clock_nanosleep, SCHED_FIFO priority 5:", SleepingThreadLateness(samples, true));
    Report("clock_nanosleep, ordinary scheduling:", SleepingThreadLateness(samples, false));
    Report("Qt precise timer on the event loop:", Lateness(samples, PreciseTimerFires));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const bool quick = application.arguments().contains(QStringLiteral("--quick"));
    const int samples = quick ? QuickRunSamples : FullRunSamples;
    PrintMachine(quick ? "Wake-up lateness, QUICK RUN (too few samples to quote)" : "Wake-up lateness");
    std::printf("%d waits of %d..%d ms each, timed on CLOCK_MONOTONIC; timer slack %lu ns on the sleeping "
                "thread\n",
                samples, ShortestWait, LongestWait, TimerSlackNanoseconds);
    MeasureWakeUps(samples, false);
    MeasureWakeUps(samples, true);
    return 0;
}
