#pragma once

#include "link/KeyerCommands.h"

#include <QObject>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class Clock;
class SharedLink;
class Sleeper;

// What became of a command handed to the sending thread.
struct SentReport {
    int ticket = 0;
    bool written = false;    // the command went out whole
    std::uint8_t reply = 0;  // byte 1 of the unit's answer, for a command that waits for one (0: none came)
    std::int64_t moment = 0; // the tick count it was due at (when handed late, when the unit was found)
};

// Writes commands to the unit at their moments, from a thread of its own: the window's thread
// chooses what goes out next ahead of its moment and hands it over, so that a busy window (a late
// timer, a repaint, events of its own) never delays a character. Commands go out in the order they
// were handed, each at its moment or as soon as the one before it is done. Before a command's moment
// the thread looks for the unit, so that discovery does not delay it either. Reports come back on the
// window's thread through onReport.
class SendingThread {
public:
    SendingThread(SharedLink& link, Clock& clock, std::function<void(const SentReport&)> onReport);
    ~SendingThread();
    SendingThread(const SendingThread&) = delete;
    SendingThread& operator=(const SendingThread&) = delete;

    // The command goes out at the tick count deadline (at once when it has passed), and the unit's
    // answer is read when awaitsReply. Returns the ticket its report will carry.
    int Hand(const KeyerCommand& command, std::int64_t deadline, bool awaitsReply);
    // Drops every command not yet on its way to the unit; they are never reported. A command being
    // written already still is. True when something was dropped.
    bool CancelPending();

private:
    struct Job {
        int ticket;
        KeyerCommand command;
        std::int64_t deadline;
        bool awaitsReply;
        bool prepared = false;
    };

    void Run();
    bool SleepUntil(std::unique_lock<std::mutex>& lock, std::int64_t deadline);
    bool Leads(int ticket) const;
    SentReport Exchange(const Job& job);

    SharedLink& link_;
    Clock& clock_;
    std::function<void(const SentReport&)> onReport_;
    // Lives on the window's thread: the reports are queued to it.
    QObject receiver_;
    std::unique_ptr<Sleeper> sleeper_;
    std::mutex mutex_;
    std::deque<Job> queue_;
    int nextTicket_ = 1;
    bool quit_ = false;
    std::thread thread_;
};
