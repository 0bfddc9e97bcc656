#include "platform/SystemClock.h"

#include <QTest>
#include <vector>

// The machine's timers: what pacing relies on is that a tick never comes before its due moment and
// that the interval rules hold; how late a tick may come is the pacing benchmark's business.
class SystemClockTest : public QObject {
    Q_OBJECT

private slots:
    void preciseTicksNeverComeEarly() {
        SystemClock clock;
        auto timer = clock.CreateTimer(15, true);
        std::vector<std::int64_t> ticks;
        timer->onTick = [&] { ticks.push_back(clock.TickCount()); };
        QVERIFY(!timer->Enabled());
        const std::int64_t start = clock.TickCount();
        timer->SetEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 3, 5000);
        for (std::size_t i = 0; i < ticks.size(); ++i)
            QVERIFY(ticks[i] >= start + 15 * std::int64_t(i + 1));

        // A new interval counts from the moment it is set; enabling again changes nothing.
        timer->SetEnabled(false);
        ticks.clear();
        timer->SetInterval(40);
        QCOMPARE(timer->Interval(), 40);
        QVERIFY(!timer->Enabled());
        const std::int64_t restart = clock.TickCount();
        timer->SetEnabled(true);
        timer->SetEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(!ticks.empty(), 5000);
        QVERIFY(ticks.front() >= restart + 40);
        timer->SetEnabled(false);
    }
};

QTEST_GUILESS_MAIN(SystemClockTest)
#include "test_platform_clock.moc"
