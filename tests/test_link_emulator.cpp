#include "emulator/TestClock.h"
#include "emulator/UnitEmulator.h"

#include <QTest>

#include <array>
#include <string>
#include <vector>

namespace {

using Command = std::array<std::uint8_t, 8>;
using Firing = std::pair<std::string, std::int64_t>; // timer name, time since the start

const Command VersionRequest{'v', 'z', 'z', 'z', 'z', 'z', 'z', 'z'};

int WriteCommand(UnitEmulator& unit, HidPort::Handle handle, const Command& command) {
    std::array<std::uint8_t, 9> report{}; // report ID 0 in front
    std::copy(command.begin(), command.end(), report.begin() + 1);
    return unit.Write(handle, report.data(), report.size());
}

std::unique_ptr<Timer> LoggingTimer(TestClock& clock, const std::string& name, int interval,
                                    std::vector<Firing>& log) {
    auto timer = clock.CreateTimer(interval, false);
    timer->onTick = [&clock, &log, name] {
        log.emplace_back(name, clock.TickCount() - TestClock::StartTime);
    };
    timer->SetEnabled(true);
    return timer;
}

} // namespace

class LinkEmulatorTest : public QObject {
    Q_OBJECT

private slots:
    void clockFiresInDueOrderAndSleepsWithoutFiring() {
        TestClock clock;
        std::vector<Firing> log;
        auto slow = LoggingTimer(clock, "slow", 30, log);
        auto fast = LoggingTimer(clock, "fast", 20, log);
        clock.Advance(60); // at 60 both are due: the one created first goes first
        QCOMPARE(log,
                 (std::vector<Firing>{{"fast", 20}, {"slow", 30}, {"fast", 40}, {"slow", 60}, {"fast", 60}}));

        log.clear();
        clock.Advance(10);
        fast->SetEnabled(true); // already on: still due at 80
        slow->SetInterval(30);  // restarts: due at 100 rather than 90
        clock.Advance(30);
        QCOMPARE(log, (std::vector<Firing>{{"fast", 80}, {"slow", 100}, {"fast", 100}}));

        log.clear();
        slow->SetEnabled(false);
        std::vector<std::int64_t> sleepEnds;
        clock.onSleep = [&](std::int64_t now) { sleepEnds.push_back(now - TestClock::StartTime); };
        clock.Sleep(1000);
        QVERIFY(log.empty());
        QCOMPARE(sleepEnds, (std::vector<std::int64_t>{1100}));
        clock.Advance(15); // overdue after the sleep: fires once, late
        QCOMPARE(log, (std::vector<Firing>{{"fast", 1100}}));
    }

    void emulatorDecodesSettingsTimesOutWhenSilentAndRecordsMisuse() {
        TestClock clock;
        UnitEmulator unit(clock);
        const HidPort::Handle handle = unit.Open(UnitEmulator::UnitPath);
        const std::array<Command, 3> example{{{0x53, 0x00, 0xEE, 0xC4, 0x01, 0x41, 0x01, 0xC4},
                                              {0x53, 0x01, 0x00, 0x00, 0x01, 0x41, 0x3A, 0x04},
                                              {0x53, 0x02, 0x01, 0x83, 0x02, 0x88, 0x7A, 0x7A}}};
        for (const Command& block : example)
            WriteCommand(unit, handle, block);
        const DecodedSettings& settings = unit.settings();
        QVERIFY(settings.speedWpm == 25 && settings.weightPercent == 50 && settings.toneHz == 680);
        QVERIFY(settings.volume == 0 && settings.letterSpace == 2.0 && settings.wordSpace == 8.0);
        QVERIFY(settings.paddleMode == 0x3A && settings.keyerFeatures == 0x04 && settings.blocks == example);
        WriteCommand(unit, handle, Command{0x53, 0x01, 0x01, 0x7B, 0x01, 0x41, 0x1A, 0x00}); // volume 50
        QVERIFY(settings.volume == 50 && settings.paddleMode == 0x1A && settings.keyerFeatures == 0);

        std::array<std::uint8_t, 8> reply{};
        const auto read = [&] { return unit.Read(handle, reply.data(), reply.size(), 1000); };
        WriteCommand(unit, handle, VersionRequest);
        QCOMPARE(read(), 8);
        const std::int64_t before = clock.TickCount();
        unit.SetSilent(true);
        WriteCommand(unit, handle, VersionRequest);
        QCOMPARE(read(), 0);
        QCOMPARE(clock.TickCount() - before, 1000);

        unit.Close(handle);
        QVERIFY(unit.misuse().empty());
        QCOMPARE(WriteCommand(unit, handle, VersionRequest), -1);
        QCOMPARE(read(), -1);
        unit.Close(handle);
        QCOMPARE(unit.misuse(),
                 (std::vector<std::string>{"Write on closed handle 1", "Read on closed handle 1",
                                           "Close of closed handle 1"}));
    }
};

QTEST_APPLESS_MAIN(LinkEmulatorTest)
#include "test_link_emulator.moc"
