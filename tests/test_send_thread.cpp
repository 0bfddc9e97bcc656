#include "emulator/TestClock.h"
#include "emulator/UnitEmulator.h"
#include "link/SharedLink.h"
#include "send/SendingThread.h"

#include <QDir>
#include <QTest>
#include <pthread.h>
#include <sched.h>
#include <thread>

namespace {

// Whether a thread of this process may have real-time scheduling (root, RLIMIT_RTPRIO).
bool RealTimeAllowed() {
    bool allowed = false;
    std::thread([&] {
        const sched_param parameters{1};
        allowed = pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameters) == 0;
    }).join();
    return allowed;
}

int RealTimeThreads() {
    int count = 0;
    for (const QString& task :
         QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        count += sched_getscheduler(task.toInt()) == SCHED_FIFO;
    return count;
}

} // namespace

// The sending thread against the unit model, its moments driven by the test clock.
class SendingThreadTest : public QObject {
    Q_OBJECT

    TestClock clock;
    UnitEmulator unit{clock};
    SharedLink link{unit};
    std::vector<SentReport> reports;
    std::unique_ptr<SendingThread> sender;

    std::int64_t start = 0;

    std::int64_t At(std::int64_t offset) const { return start + offset; }
    std::vector<std::int64_t> CharacterTimes() const {
        std::vector<std::int64_t> times;
        for (const KeyerReport& report : unit.reportsOf('C'))
            times.push_back(report.time - start);
        return times;
    }

private slots:
    void init() {
        reports.clear();
        unit.ClearReports();
        start = clock.TickCount();
        sender = std::make_unique<SendingThread>(link, clock,
                                                 [this](const SentReport& r) { reports.push_back(r); });
    }
    void cleanup() { sender.reset(); }

    // Each command goes out exactly at its moment, however long finding the unit takes before it,
    // and its report, with the unit's answer, follows on this thread.
    void commandsGoOutAtTheirMoments() {
        unit.SetEnumerationCost(4);
        unit.QueueCharacterReplies({0, 65});
        sender->Hand(SendCharacterCommand(0xA0), At(100), true);
        const int second = sender->Hand(SendCharacterCommand(0x20), At(292), true);
        clock.Advance(99);
        QVERIFY(unit.reportsOf('C').empty());
        QVERIFY(reports.empty());
        clock.Advance(300);
        QCOMPARE(CharacterTimes(), (std::vector<std::int64_t>{100, 292}));
        QCOMPARE(reports.size(), std::size_t(2));
        QCOMPARE(reports[1].ticket, second);
        QVERIFY(reports[1].written);
        QCOMPARE(int(reports[1].reply), 65);
        // A moment already past: at once, after the one before it.
        sender->Hand(SendCharacterCommand(0x90), At(0), true);
        clock.Advance(0);
        QCOMPARE(CharacterTimes().back(), std::int64_t(399 + 4));
    }

    // What is cancelled before its moment never reaches the unit and is never reported; what comes
    // after still goes out at its own moment.
    void cancelledCommandsNeverGoOut() {
        sender->Hand(SendCharacterCommand(0xA0), At(100), true);
        clock.Advance(50);
        sender->CancelPending();
        sender->Hand(SendCharacterCommand(0x20), At(200), true);
        clock.Advance(500);
        QCOMPARE(Codes(), (std::vector<std::uint8_t>{0x20}));
        QCOMPARE(reports.size(), std::size_t(1));
        // Pending commands are dropped when the thread ends, not written.
        sender->Hand(SendCharacterCommand(0xA0), At(900), true);
        sender.reset();
        QCOMPARE(unit.reportsOf('C').size(), std::size_t(1));
    }

    void aMissingUnitIsReported() {
        unit.Unplug();
        sender->Hand(SendCharacterCommand(0xA0), At(10), true);
        clock.Advance(20);
        QCOMPARE(reports.size(), std::size_t(1));
        QVERIFY(!reports[0].written);
        QVERIFY(unit.reportsOf('C').empty());
    }

    // Where the system allows it, the sending thread runs in real time, the link log on or off.
    void theThreadRunsInRealTimeWhereAllowed() {
        if (!RealTimeAllowed()) QSKIP("this process may not have real-time scheduling here");
        sender->Hand(SendCharacterCommand(0xA0), At(0), true);
        clock.Advance(0);
        QCOMPARE(reports.size(), std::size_t(1));
        QCOMPARE(RealTimeThreads(), 1);
    }

private:
    std::vector<std::uint8_t> Codes() const {
        std::vector<std::uint8_t> codes;
        for (const KeyerReport& report : unit.reportsOf('C'))
            codes.push_back(report.bytes[2]);
        return codes;
    }
};

QTEST_GUILESS_MAIN(SendingThreadTest)
#include "test_send_thread.moc"
