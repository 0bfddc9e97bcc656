#include "emulator/TestClock.h"
#include "emulator/UnitEmulator.h"

#include <QTest>

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace {

using Command = std::array<std::uint8_t, 8>;
using Firing = std::pair<std::string, std::int64_t>; // timer name, time since the start

const Command VersionRequest{'v', 'z', 'z', 'z', 'z', 'z', 'z', 'z'};
const Command SendE{'C', 0xA0, 0, 0, 0, 0, 0, 0};

// Writes a command as the link does: report ID 0 in front of the 8 command bytes.
int WriteCommand(UnitEmulator& unit, HidPort::Handle handle, const Command& command) {
    std::array<std::uint8_t, 9> report{};
    std::copy(command.begin(), command.end(), report.begin() + 1);
    return unit.Write(handle, report.data(), report.size());
}

// A timer that logs its firings under a name.
std::unique_ptr<Timer> LoggingTimer(TestClock& clock, const std::string& name, int interval,
                                    std::vector<Firing>& log) {
    auto timer = clock.CreateTimer(interval, false);
    timer->onTick = [&clock, &log, name] {
        log.emplace_back(name, clock.TickCount() - TestClock::StartTime);
    };
    return timer;
}

} // namespace

class LinkEmulatorTest : public QObject {
    Q_OBJECT

private slots:
    void clockCountsFromWhenATimerIsArmed() {
        TestClock clock;
        QCOMPARE(clock.TickCount(), TestClock::StartTime);
        std::vector<Firing> log;
        auto timer = LoggingTimer(clock, "t", 100, log);

        clock.Advance(150);
        QVERIFY2(log.empty(), "a new timer is disabled");

        timer->SetEnabled(true); // counts from 150
        clock.Advance(50);
        timer->SetEnabled(true); // already on: no restart
        clock.Advance(50);
        QCOMPARE(log, (std::vector<Firing>{{"t", 250}}));

        clock.Advance(30);
        timer->SetInterval(100); // at 280: restarts, next at 380 rather than 350
        clock.Advance(150);
        QCOMPARE(log, (std::vector<Firing>{{"t", 250}, {"t", 380}}));

        timer->SetEnabled(false);
        clock.Advance(1000);
        QCOMPARE(log.size(), std::size_t{2});
        timer->SetInterval(0);
        timer->SetEnabled(true);
        clock.Advance(1000);
        QVERIFY2(log.size() == 2, "an interval of 0 stalls the timer");
    }

    void clockFiresInDueOrderAndLetsHandlersRearm() {
        TestClock clock;
        std::vector<Firing> log;
        auto slow = LoggingTimer(clock, "slow", 30, log);
        auto fast = LoggingTimer(clock, "fast", 20, log);
        slow->SetEnabled(true);
        fast->SetEnabled(true);
        clock.Advance(60);
        // At 60 both are due: the one created first goes first.
        QCOMPARE(log,
                 (std::vector<Firing>{{"fast", 20}, {"slow", 30}, {"fast", 40}, {"slow", 60}, {"fast", 60}}));

        // A handler that stretches its own interval and starts another timer.
        log.clear();
        fast->SetEnabled(false);
        slow->onTick = [&] {
            log.emplace_back("slow", clock.TickCount() - TestClock::StartTime);
            slow->SetInterval(70);
            fast->SetEnabled(true);
        };
        clock.Advance(200); // slow at 90, then every 70; fast from 90 every 20
        QCOMPARE(log, (std::vector<Firing>{{"slow", 90},
                                           {"fast", 110},
                                           {"fast", 130},
                                           {"fast", 150},
                                           {"slow", 160},
                                           {"fast", 170},
                                           {"fast", 190},
                                           {"fast", 210},
                                           {"slow", 230},
                                           {"fast", 230},
                                           {"fast", 250}}));
        QCOMPARE(clock.TickCount() - TestClock::StartTime, 260);

        log.clear();
        slow->SetEnabled(false);
        QVERIFY(clock.AdvanceToNextTimer(1000));
        QCOMPARE(log, (std::vector<Firing>{{"fast", 270}}));
        fast->SetEnabled(false);
        QVERIFY(!clock.AdvanceToNextTimer(500));
        QCOMPARE(clock.TickCount() - TestClock::StartTime, 770);
    }

    void clockSleepsWithoutFiringAndNeverNestsATimer() {
        TestClock clock;
        std::vector<Firing> log;
        auto timer = LoggingTimer(clock, "t", 10, log);
        timer->SetEnabled(true);
        std::vector<std::int64_t> sleepEnds;
        clock.onSleep = [&](std::int64_t now) { sleepEnds.push_back(now - TestClock::StartTime); };

        clock.Sleep(1000);
        QVERIFY(log.empty());
        QCOMPARE(sleepEnds, (std::vector<std::int64_t>{1000}));
        // Overdue after the sleep: fires once, late, then counts on from there.
        clock.Advance(15);
        QCOMPARE(log, (std::vector<Firing>{{"t", 1000}, {"t", 1010}}));

        // A handler that lets time pass fires the other timers but not itself.
        log.clear();
        std::vector<Firing> otherLog;
        auto other = LoggingTimer(clock, "other", 5, otherLog);
        other->SetEnabled(true);
        timer->onTick = [&] {
            log.emplace_back("t", clock.TickCount() - TestClock::StartTime);
            clock.Advance(20);
        };
        // Both are due at 1020; t, created first, goes first and fires other from 1020 to 1040.
        clock.Advance(5);
        QCOMPARE(log, (std::vector<Firing>{{"t", 1020}}));
        QCOMPARE(otherLog.size(), std::size_t{5});

        // Timers and clock may end in either order, a timer even inside its own handler.
        timer.reset();
        int selfEndingTicks = 0;
        auto selfEnding = clock.CreateTimer(10, false);
        selfEnding->onTick = [&] {
            ++selfEndingTicks;
            selfEnding.reset();
        };
        selfEnding->SetEnabled(true);
        clock.Advance(100);
        QCOMPARE(selfEndingTicks, 1);
        auto orphan = std::make_unique<TestClock>();
        auto survivor = orphan->CreateTimer(10, true);
        orphan.reset();
        survivor->SetInterval(20);
        survivor->SetEnabled(true);
        QCOMPARE(survivor->Interval(), 20);
    }

    void emulatorRecordsMisuseOfHandlesAndReports() {
        TestClock clock;
        UnitEmulator unit(clock);
        const HidPort::Handle first = unit.Open(UnitEmulator::UnitPath);
        const HidPort::Handle second = unit.Open(UnitEmulator::UnitPath);
        QVERIFY(first != HidPort::InvalidHandle && second != first);
        QCOMPARE(unit.opens(), 2);
        QCOMPARE(unit.openHandles(), 2);

        QCOMPARE(WriteCommand(unit, first, VersionRequest), 9);
        unit.Close(first);
        QVERIFY(unit.misuse().empty());
        QCOMPARE(unit.openHandles(), 1);
        const HidPort::Handle third = unit.Open(UnitEmulator::UnitPath);
        QVERIFY2(third != first && third != second, "handle numbers are never reused");

        std::array<std::uint8_t, 8> buffer{};
        QCOMPARE(WriteCommand(unit, first, VersionRequest), -1);
        QCOMPARE(unit.Read(first, buffer.data(), buffer.size(), 1000), -1);
        unit.Close(first);
        unit.Close(999);
        const std::array<std::uint8_t, 8> shortReport{};
        unit.Write(second, shortReport.data(), shortReport.size());
        std::array<std::uint8_t, 9> numbered{1, 'v'};
        unit.Write(second, numbered.data(), numbered.size());
        QCOMPARE(unit.misuse(), (std::vector<std::string>{
                                    "Write on closed handle 1",
                                    "Read on closed handle 1",
                                    "Close of closed handle 1",
                                    "Close of unknown handle 999",
                                    "Write of 8 bytes to /dev/hidraw-unit, whose output report is 9 bytes",
                                    "Write to /dev/hidraw-unit without report ID 0 in front",
                                }));

        // Handles of an unplugged unit fail without misuse and stay dead after it is back.
        const std::size_t misuseBefore = unit.misuse().size();
        unit.Unplug();
        QVERIFY(unit.Enumerate(UnitEmulator::UnitVendor, UnitEmulator::UnitProduct).empty());
        QCOMPARE(unit.Open(UnitEmulator::UnitPath), HidPort::InvalidHandle);
        QCOMPARE(WriteCommand(unit, second, VersionRequest), -1);
        unit.Plug();
        QCOMPARE(unit.Read(second, buffer.data(), buffer.size(), 1000), -1);
        const HidPort::Handle fresh = unit.Open(UnitEmulator::UnitPath);
        QCOMPARE(WriteCommand(unit, fresh, VersionRequest), 9);
        unit.Close(second);
        QCOMPARE(unit.misuse().size(), misuseBefore);
    }

    void emulatorListsOnlyMatchingDevicesWithoutOpeningThem() {
        TestClock clock;
        UnitEmulator unit(clock);
        unit.AddDevice("/dev/hidraw-keyboard", 0x046D, 0xC31C, ReportLengths{9, 9});
        unit.AddDevice("/dev/hidraw-other-product", 0x0925, 0x00E8, ReportLengths{9, 9});
        unit.AddDevice("/dev/hidraw-second-unit", 0x0925, 0x00E7, ReportLengths{12, 5});
        unit.AddDevice("/dev/hidraw-locked-unit", 0x0925, 0x00E7, ReportLengths{9, 9}, false);

        const auto paths = [&] {
            std::vector<std::string> listed;
            for (const HidDeviceInfo& info : unit.Enumerate(0x0925, 0x00E7))
                listed.push_back(info.path);
            return listed;
        };
        QCOMPARE(paths(), (std::vector<std::string>{"/dev/hidraw-unit", "/dev/hidraw-second-unit",
                                                    "/dev/hidraw-locked-unit"}));
        QCOMPARE(unit.enumerations(), 1);
        QCOMPARE(unit.opens(), 0);

        QCOMPARE(unit.Open("/dev/hidraw-locked-unit"), HidPort::InvalidHandle);
        QCOMPARE(unit.Open("/dev/hidraw-missing"), HidPort::InvalidHandle);
        QCOMPARE(unit.ReadReportLengths("/dev/hidraw-second-unit")->output, 5);
        unit.SetDescriptorReadable("/dev/hidraw-second-unit", false);
        QVERIFY(!unit.ReadReportLengths("/dev/hidraw-second-unit"));

        // A unit plugged back is listed after the ones that stayed.
        unit.Unplug();
        unit.Plug();
        QCOMPARE(paths(), (std::vector<std::string>{"/dev/hidraw-second-unit", "/dev/hidraw-locked-unit",
                                                    "/dev/hidraw-unit"}));
        QVERIFY(unit.misuse().empty());
    }

    void emulatorAnswersLikeTheUnit() {
        TestClock clock;
        UnitEmulator unit(clock);
        const HidPort::Handle handle = unit.Open(UnitEmulator::UnitPath);
        std::array<std::uint8_t, 8> reply{};
        const auto read = [&] {
            reply.fill(0x55);
            return unit.Read(handle, reply.data(), reply.size(), 1000);
        };

        clock.Advance(7);
        WriteCommand(unit, handle, VersionRequest);
        QCOMPARE(read(), 8);
        QCOMPARE(reply, (std::array<std::uint8_t, 8>{1, 0, 7, 0, 0, 0, 0, 0}));
        QCOMPARE(unit.reports().size(), std::size_t{1});
        QCOMPARE(unit.reports()[0].bytes,
                 (std::vector<std::uint8_t>{0, 'v', 'z', 'z', 'z', 'z', 'z', 'z', 'z'}));
        QCOMPARE(unit.reports()[0].path, std::string(UnitEmulator::UnitPath));
        QCOMPARE(unit.reports()[0].time, TestClock::StartTime + 7);

        unit.SetCharacterReply(64);
        unit.QueueCharacterReplies({65, 0});
        std::vector<std::uint8_t> characterReplies;
        for (int i = 0; i < 3; ++i) {
            WriteCommand(unit, handle, SendE);
            QCOMPARE(read(), 8);
            characterReplies.push_back(reply[0]);
        }
        QCOMPARE(characterReplies, (std::vector<std::uint8_t>{65, 0, 64}));
        QCOMPARE(unit.reportsOf('C').size(), std::size_t{3});
        QCOMPARE(unit.reportsOf('C')[0].bytes[2], 0xA0);

        WriteCommand(unit, handle, Command{'T', 'z', 'z', 'z', 'z', 'z', 'z', 'z'});
        QVERIFY(unit.keyDown());
        WriteCommand(unit, handle, Command{'t', 'z', 'z', 'z', 'z', 'z', 'z', 'z'});
        QVERIFY(!unit.keyDown());

        // Nothing to read, or a silent unit: the read costs the whole time-out.
        const std::int64_t before = clock.TickCount();
        QCOMPARE(read(), 0);
        unit.SetSilent(true);
        WriteCommand(unit, handle, VersionRequest);
        QCOMPARE(read(), 0);
        QCOMPARE(clock.TickCount() - before, 2000);
        unit.SetSilent(false);
        QCOMPARE(read(), 0);
        unit.ClearReports();
        QVERIFY(unit.reports().empty());

        // A unit with a 12-byte input report hands over 11 bytes; the reader must drop the last three.
        unit.AddDevice(UnitEmulator::UnitPath, 0x0925, 0x00E7, ReportLengths{12, 9});
        const HidPort::Handle wide = unit.Open(UnitEmulator::UnitPath);
        WriteCommand(unit, wide, VersionRequest);
        std::array<std::uint8_t, 12> wideReply{};
        QCOMPARE(unit.Read(wide, wideReply.data(), wideReply.size(), 1000), 11);
        QCOMPARE(wideReply, (std::array<std::uint8_t, 12>{1, 0, 7, 0, 0, 0, 0, 0, 0xEE, 0xEE, 0xEE, 0}));
        QVERIFY(unit.misuse().empty());
    }

    void emulatorDecodesTheSettingsBlocks() {
        TestClock clock;
        UnitEmulator unit(clock);
        const HidPort::Handle handle = unit.Open(UnitEmulator::UnitPath);
        const Command timing{0x53, 0x00, 0xEE, 0xC4, 0x01, 0x41, 0x01, 0xC4};
        const Command mode{0x53, 0x01, 0x00, 0x00, 0x01, 0x41, 0x3A, 0x04};
        const Command spacing{0x53, 0x02, 0x01, 0x83, 0x02, 0x88, 0x7A, 0x7A};
        for (const Command& block : {timing, mode, spacing})
            WriteCommand(unit, handle, block);

        const DecodedSettings& settings = unit.settings();
        QCOMPARE(settings.speedWpm, 25);
        QCOMPARE(settings.weightPercent, 50);
        QCOMPARE(settings.toneHz, 680);
        QCOMPARE(settings.volume, 0);
        QCOMPARE(settings.letterSpace, 2.0);
        QCOMPARE(settings.wordSpace, 8.0);
        QCOMPARE(settings.paddleMode, 0x3A);
        QCOMPARE(settings.keyerFeatures, 0x04);
        QCOMPARE(settings.blocks, (std::array<Command, 3>{timing, mode, spacing}));

        // Volume counts for V 50 and V 100 at 680 Hz.
        WriteCommand(unit, handle, Command{0x53, 0x01, 0x01, 0x7B, 0x01, 0x41, 0x1A, 0x00});
        QCOMPARE(unit.settings().volume, 50);
        QCOMPARE(unit.settings().paddleMode, 0x1A);
        WriteCommand(unit, handle, Command{0x53, 0x01, 0x02, 0x14, 0x01, 0x41, 0x1A, 0x00});
        QCOMPARE(unit.settings().volume, 100);
        QVERIFY(unit.reportsOf('C').empty());
    }
};

QTEST_APPLESS_MAIN(LinkEmulatorTest)
#include "test_link_emulator.moc"
