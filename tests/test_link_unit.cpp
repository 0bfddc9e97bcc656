#include "emulator/TestClock.h"
#include "emulator/UnitEmulator.h"
#include "link/KeyerCommands.h"
#include "link/UnitLink.h"

#include <QTest>

namespace {

const std::string Unit = UnitEmulator::UnitPath;

} // namespace

class UnitLinkTest : public QObject {
    Q_OBJECT

private slots:
    void discoveryMatchesOnlyTheUnit() {
        TestClock clock;
        UnitEmulator port(clock);
        port.Unplug();
        UnitLink link(port);
        QVERIFY(!link.FindUnit());
        QVERIFY(!link.unitDetected());

        port.AddDevice("/dev/hidraw-keyboard", 0x046D, 0xC31C, {9, 9});
        port.AddDevice("/dev/hidraw-other", 0x0925, 0x00E8, {9, 9});
        QVERIFY(!link.FindUnit());
        QCOMPARE(port.opens(), 0);

        port.Plug();
        QVERIFY(link.FindUnit());
        QVERIFY(link.unitDetected());
        QCOMPARE(port.openHandles(), 2);
        QVERIFY(port.misuse().empty());
    }

    void theFirstOfTwoUnitsWins() {
        TestClock clock;
        UnitEmulator port(clock);
        port.AddDevice("/dev/hidraw-second", 0x0925, 0x00E7, {9, 9});
        UnitLink link(port);
        link.WriteReport(TuneOnCommand());
        const auto written = port.reportsOf('T');
        QCOMPARE(written.size(), std::size_t(1));
        QCOMPARE(written[0].path, Unit);
    }

    void unusableDevicesAreSkipped() {
        TestClock clock;
        UnitEmulator port(clock);
        // A unit whose output report cannot carry the command is refused, one that cannot be opened
        // is passed over, and the next unit in the list is taken.
        port.AddDevice(Unit, 0x0925, 0x00E7, {9, 5});
        port.AddDevice("/dev/hidraw-locked", 0x0925, 0x00E7, {9, 9}, false);
        port.AddDevice("/dev/hidraw-good", 0x0925, 0x00E7, {9, 9});
        UnitLink link(port);
        QVERIFY(link.FindUnit());
        link.WriteReport(TuneOnCommand());
        QCOMPARE(port.reportsOf('T').at(0).path, std::string("/dev/hidraw-good"));
        QCOMPARE(port.openHandles(), 2);
        QVERIFY(port.misuse().empty());
    }

    void reportLengthsComeFromTheDevice() {
        TestClock clock;
        UnitEmulator port(clock);
        port.AddDevice(Unit, 0x0925, 0x00E7, {12, 11});
        UnitLink link(port);
        link.WriteReport(SendCharacterCommand(0xA0));
        link.ReadReport();
        const auto report = port.reportsOf('C').at(0).bytes;
        QCOMPARE(report, (std::vector<std::uint8_t>{0, 0x43, 0xA0, 0, 0, 0, 0, 0, 0, 0, 0}));

        // The longer input report is read whole; its bytes past the eighth are dropped.
        port.SetVersion(2, 1, 0);
        QCOMPARE(link.QueryFirmwareVersion(), QStringLiteral("Firmware Version: 2.1.0"));
        QCOMPARE(link.receiveBuffer()[0], std::uint8_t(0));

        port.SetDescriptorReadable(Unit, false);
        link.CloseUnit();
        QVERIFY(link.FindUnit());
        QCOMPARE(link.inputReportLength(), 9);
        QCOMPARE(link.outputReportLength(), 9);
    }

    void discoveryKeepsTheOpenUnit() {
        TestClock clock;
        UnitEmulator port(clock);
        UnitLink link(port);
        QVERIFY(link.FindUnit());
        for (int i = 0; i < 100; ++i)
            QVERIFY(link.FindUnit());
        QCOMPARE(port.opens(), 2);
        QCOMPARE(port.enumerations(), 101);
    }

    void writeRunsDiscoveryAndDropsWithoutUnit() {
        TestClock clock;
        UnitEmulator port(clock);
        port.Unplug();
        UnitLink link(port);
        link.WriteReport(TuneOnCommand());
        QVERIFY(port.reports().empty());
        QCOMPARE(port.enumerations(), 1);

        port.Plug();
        link.WriteReport(TuneOnCommand());
        link.WriteReport(TuneOffCommand());
        QCOMPARE(port.reports().size(), std::size_t(2));
        QCOMPARE(port.reports()[1].bytes,
                 (std::vector<std::uint8_t>{0, 0x74, 0x7A, 0x7A, 0x7A, 0x7A, 0x7A, 0x7A, 0x7A}));
    }

    void firmwareQueryWithoutUnitDoesNotWait() {
        TestClock clock;
        UnitEmulator port(clock);
        port.Unplug();
        UnitLink link(port);
        const auto before = clock.TickCount();
        QCOMPARE(link.QueryFirmwareVersion(), QStringLiteral("Firmware Version: 0.0.0"));
        QCOMPARE(clock.TickCount(), before);
    }

    void silentUnitIsClosedAndNeverTouchedAgain() {
        TestClock clock;
        UnitEmulator port(clock);
        UnitLink link(port);
        QCOMPARE(link.QueryFirmwareVersion(), QStringLiteral("Firmware Version: 1.0.7"));

        port.SetSilent(true);
        const auto before = clock.TickCount();
        link.WriteReport(SendCharacterCommand(0xA0));
        link.ReadReport();
        QCOMPARE(clock.TickCount() - before, std::int64_t(1000));
        QVERIFY(!link.unitDetected());
        QCOMPARE(port.openHandles(), 0);
        QCOMPARE(link.receiveBuffer(), (std::array<std::uint8_t, 9>{}));

        // Reads and closes after the time-out use no handle; the next write reopens the unit.
        link.ReadReport();
        link.CloseUnit();
        QCOMPARE(clock.TickCount() - before, std::int64_t(1000));
        port.SetSilent(false);
        QCOMPARE(link.QueryFirmwareVersion(), QStringLiteral("Firmware Version: 1.0.7"));
        QCOMPARE(port.opens(), 4);
        QVERIFY(port.misuse().empty());
    }

    void unpluggedUnitIsReleased() {
        TestClock clock;
        UnitEmulator port(clock);
        UnitLink link(port);
        QVERIFY(link.FindUnit());
        port.Unplug();
        link.WriteReport(SendCharacterCommand(0xA0));
        link.ReadReport();
        QVERIFY(!link.unitDetected());
        QVERIFY(!link.FindUnit());
        QCOMPARE(port.openHandles(), 0);

        port.Plug();
        QVERIFY(link.FindUnit());
        QCOMPARE(port.openHandles(), 2);
        QVERIFY(port.misuse().empty());
    }

    void aMisbehavingUnitIsReleasedAndFoundAgain() {
        using Fault = UnitEmulator::Fault;
        TestClock clock;
        UnitEmulator port(clock);
        UnitLink link(port);
        // A write that fails, or goes out short, is no write: the pair is released.
        for (Fault fault : {Fault::FailedWrite, Fault::ShortWrite}) {
            port.InjectFault(fault);
            QVERIFY(!link.WriteReport(SendCharacterCommand(0xA0)));
            QVERIFY(!link.unitDetected());
            QCOMPARE(port.openHandles(), 0);
            QVERIFY(port.reportsOf('C').empty());
        }
        QVERIFY(link.WriteReport(SendCharacterCommand(0xA0)));

        // A failed read releases the pair; a reply that comes after the time-out is never taken as
        // the answer to the next command.
        port.InjectFault(Fault::FailedRead);
        link.ReadReport();
        QCOMPARE(port.openHandles(), 0);
        port.QueueCharacterReplies({70});
        port.InjectFault(Fault::LateReply);
        link.WriteReport(SendCharacterCommand(0xA0));
        link.ReadReport();
        QCOMPARE(link.receiveBuffer()[1], std::uint8_t(0));
        QCOMPARE(link.QueryFirmwareVersion(), QStringLiteral("Firmware Version: 1.0.7"));

        // A unit that opens once but not twice is not half taken.
        link.CloseUnit();
        port.InjectFault(Fault::SecondOpenFails);
        QVERIFY(!link.FindUnit());
        QCOMPARE(port.openHandles(), 0);

        // Back under another path, it is found there.
        port.Unplug();
        port.AddDevice("/dev/hidraw9", 0x0925, 0x00E7, {9, 9});
        QVERIFY(link.WriteReport(TuneOnCommand()));
        QCOMPARE(port.reportsOf('T').at(0).path, std::string("/dev/hidraw9"));
        QVERIFY(port.misuse().empty());
    }

    // A device with the unit's identifiers that cannot answer is not the unit.
    void aDeviceWithoutInputReportIsNotTheUnit() {
        TestClock clock;
        UnitEmulator port(clock);
        port.Unplug();
        port.AddDevice("/dev/hidraw-mute", 0x0925, 0x00E7, {0, 9});
        port.Plug();
        UnitLink link(port);
        QVERIFY(link.WriteReport(SendCharacterCommand(0xA0)));
        QCOMPARE(port.reportsOf('C').at(0).path, Unit);
    }

    void replyBytesReachTheBuffer() {
        TestClock clock;
        UnitEmulator port(clock);
        UnitLink link(port);
        port.QueueCharacterReplies({65});
        link.WriteReport(SendCharacterCommand(0xA0));
        link.ReadReport();
        QCOMPARE(link.receiveBuffer()[1], std::uint8_t(65));
        port.SetVersion(10, 208, 3);
        QCOMPARE(link.QueryFirmwareVersion(), QStringLiteral("Firmware Version: :.?.3"));
    }
};

QTEST_GUILESS_MAIN(UnitLinkTest)
#include "test_link_unit.moc"
