#include "platform/TimingThread.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QVariant>
#include <algorithm>
#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Low among real-time priorities: above every ordinary thread, below the audio servers' and the
// kernel's own.
constexpr int TimingPriority = 5;
// The kernel may end a sleep this late to save wake-ups; the default is 50 microseconds.
constexpr unsigned long TimerSlackNanoseconds = 1000;

bool SchedulingOfOurOwn() {
    sched_param parameters{};
    parameters.sched_priority = TimingPriority;
    return pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameters) == 0;
}

// rtkit hands out real-time scheduling only to a process whose CPU time under it is bounded by
// RLIMIT_RTTIME, no more than it allows; a thread that sleeps between characters never comes near.
QString SchedulingFromRtkit() {
    QDBusInterface rtkit(QStringLiteral("org.freedesktop.RealtimeKit1"),
                         QStringLiteral("/org/freedesktop/RealtimeKit1"),
                         QStringLiteral("org.freedesktop.RealtimeKit1"), QDBusConnection::systemBus());
    if (!rtkit.isValid()) return QStringLiteral("no real-time scheduling (not allowed, and no rtkit)");
    const qlonglong maximumRtTime = rtkit.property("RTTimeUSecMax").toLongLong();
    const int maximumPriority = rtkit.property("MaxRealtimePriority").toInt();
    if (maximumRtTime > 0) {
        const rlimit bound{static_cast<rlim_t>(maximumRtTime), static_cast<rlim_t>(maximumRtTime)};
        setrlimit(RLIMIT_RTTIME, &bound);
    }
    const unsigned priority =
        static_cast<unsigned>(std::clamp(TimingPriority, 1, std::max(maximumPriority, 1)));
    const QDBusReply<void> reply = rtkit.call(
        QStringLiteral("MakeThreadRealtime"),
        QVariant::fromValue(static_cast<qulonglong>(syscall(SYS_gettid))), QVariant::fromValue(priority));
    if (!reply.isValid())
        return QStringLiteral("no real-time scheduling: rtkit says ") + reply.error().message();
    return QStringLiteral("real-time priority %1 from rtkit").arg(priority);
}

} // namespace

QString PrepareTimingThread() {
    prctl(PR_SET_TIMERSLACK, TimerSlackNanoseconds, 0, 0, 0);
    if (SchedulingOfOurOwn()) return QStringLiteral("real-time priority %1").arg(TimingPriority);
    return SchedulingFromRtkit();
}
