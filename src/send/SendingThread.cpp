#include "send/SendingThread.h"

#include "link/SharedLink.h"
#include "platform/Clock.h"
#include "platform/LinkLog.h"
#include "platform/TimingThread.h"

SendingThread::SendingThread(SharedLink& link, Clock& clock, std::function<void(const SentReport&)> onReport)
    : link_(link), clock_(clock), onReport_(std::move(onReport)), sleeper_(clock.CreateSleeper()),
      thread_([this] { Run(); }) {}

SendingThread::~SendingThread() {
    {
        const std::scoped_lock lock(mutex_);
        quit_ = true;
        queue_.clear();
    }
    sleeper_->Wake();
    thread_.join();
}

int SendingThread::Hand(const KeyerCommand& command, std::int64_t deadline, bool awaitsReply) {
    int ticket = 0;
    {
        const std::scoped_lock lock(mutex_);
        ticket = nextTicket_++;
        queue_.push_back({ticket, command, deadline, awaitsReply});
    }
    sleeper_->Wake();
    return ticket;
}

bool SendingThread::CancelPending() {
    bool dropped = false;
    {
        const std::scoped_lock lock(mutex_);
        dropped = !queue_.empty();
        queue_.clear();
    }
    sleeper_->Wake();
    return dropped;
}

void SendingThread::Run() {
    // Asked for whether or not the log is on: a log call that is off evaluates nothing.
    const QString timing = PrepareTimingThread();
    qCDebug(linkLog, "sending thread: %s", qUtf8Printable(timing));
    std::unique_lock lock(mutex_);
    while (!quit_) {
        if (queue_.empty()) {
            SleepUntil(lock, Sleeper::Forever);
            continue;
        }
        const Job job = queue_.front();
        if (!job.prepared) {
            // Ahead of the moment: a bus walk takes milliseconds that must not delay the write.
            if (!SleepUntil(lock, clock_.TickCount()) || !Leads(job.ticket)) continue;
            lock.unlock();
            link_.With([](UnitLink& link) { return link.FindUnit(); });
            lock.lock();
            // A command handed at its moment goes out once the unit is found; the ones after it are
            // timed from then.
            if (Leads(job.ticket)) {
                queue_.front().prepared = true;
                queue_.front().deadline = std::max(job.deadline, clock_.TickCount());
            }
            continue;
        }
        if (!SleepUntil(lock, job.deadline) || !Leads(job.ticket)) continue;
        // From here on the command is on its way: a cancel no longer reaches it.
        queue_.pop_front();
        lock.unlock();
        const SentReport report = Exchange(job);
        QMetaObject::invokeMethod(
            &receiver_, [this, report] { onReport_(report); }, Qt::QueuedConnection);
        lock.lock();
    }
}

// Sleeps without the lock; false when woken early, so that the caller looks at the queue again.
bool SendingThread::SleepUntil(std::unique_lock<std::mutex>& lock, std::int64_t deadline) {
    lock.unlock();
    const bool due = sleeper_->SleepUntil(deadline);
    lock.lock();
    return due && !quit_;
}

bool SendingThread::Leads(int ticket) const {
    return !queue_.empty() && queue_.front().ticket == ticket;
}

SentReport SendingThread::Exchange(const Job& job) {
    return link_.With([&](UnitLink& link) {
        SentReport report{job.ticket, link.WriteReport(job.command), 0, job.deadline};
        if (report.written && job.awaitsReply) {
            link.ReadReport();
            report.reply = link.receiveBuffer()[1];
        }
        return report;
    });
}
