#include "emulator/TestClock.h"
#include "emulator/UnitEmulator.h"
#include "link/KeyerCommands.h"
#include "link/UnitLink.h"

#include <QTest>

namespace {

const std::string Unit = UnitEmulator::UnitPath;

} // namespace

// Each test gets a fresh emulated bus holding the unit, and a link that has not looked for it yet.
class UnitLinkTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestClock> clock;
    std::unique_ptr<UnitEmulator> port;
    std::unique_ptr<UnitLink> link;

private slots:
    void init() {
        clock = std::make_unique<TestClock>();
        port = std::make_unique<UnitEmulator>(*clock);
        link = std::make_unique<UnitLink>(*port);
    }
    // Closing the link releases everything, and no test may have used a closed or unknown handle.
    void cleanup() {
        link.reset();
        QCOMPARE(port->openHandles(), 0);
        QVERIFY(port->misuse().empty());
    }

    void discoveryMatchesOnlyTheUnitAndReleasesItWhenUnplugged() {
        QVERIFY(link->FindUnit());
        port->Unplug();
        QVERIFY(!link->WriteReport(SendCharacterCommand(0xA0)));
        link->ReadReport();
        QVERIFY(!link->unitDetected());
        QVERIFY(!link->FindUnit());
        QCOMPARE(port->openHandles(), 0);

        port->AddDevice("/dev/hidraw-keyboard", 0x046D, 0xC31C, {9, 9});
        port->AddDevice("/dev/hidraw-other", 0x0925, 0x00E8, {9, 9});
        const int opens = port->opens();
        QVERIFY(!link->FindUnit());
        QCOMPARE(port->opens(), opens);

        // Found again, and kept open by every later discovery.
        port->Plug();
        QVERIFY(link->FindUnit() && link->FindUnit());
        QVERIFY(link->unitDetected());
        QCOMPARE(port->opens(), opens + 2);
        QCOMPARE(port->openHandles(), 2);
    }

    // Of the devices with the unit's identifiers the first usable one is taken: one whose output report
    // cannot carry a command is refused, one that cannot be opened passed over, and one that cannot
    // answer is not the unit.
    void theFirstUsableUnitIsTaken() {
        struct Device {
            std::string path;
            ReportLengths lengths;
            bool canOpen = true;
        };
        struct Row {
            bool unitAfter;
            std::vector<Device> added;
            std::string chosen;
        };
        for (const Row& row :
             {Row{false, {{"/dev/hidraw-second", {9, 9}}}, Unit},
              Row{false,
                  {{Unit, {9, 5}}, {"/dev/hidraw-locked", {9, 9}, false}, {"/dev/hidraw-good", {9, 9}}},
                  "/dev/hidraw-good"},
              Row{true, {{"/dev/hidraw-mute", {0, 9}}}, Unit}}) {
            TestClock rowClock;
            UnitEmulator rowUnit(rowClock);
            if (row.unitAfter) rowUnit.Unplug();
            for (const Device& device : row.added)
                rowUnit.AddDevice(device.path, 0x0925, 0x00E7, device.lengths, device.canOpen);
            if (row.unitAfter) rowUnit.Plug();
            UnitLink rowLink(rowUnit);
            QVERIFY(rowLink.WriteReport(TuneOnCommand()));
            QCOMPARE(rowUnit.reportsOf('T').at(0).path, row.chosen);
            QCOMPARE(rowUnit.openHandles(), 2);
            QVERIFY(rowUnit.misuse().empty());
        }
    }

    void reportLengthsComeFromTheDevice() {
        port->AddDevice(Unit, 0x0925, 0x00E7, {12, 11});
        link->WriteReport(SendCharacterCommand(0xA0));
        link->ReadReport();
        const auto report = port->reportsOf('C').at(0).bytes;
        QCOMPARE(report, (std::vector<std::uint8_t>{0, 0x43, 0xA0, 0, 0, 0, 0, 0, 0, 0, 0}));

        // The longer input report is read whole; its bytes past the eighth are dropped.
        port->SetVersion(2, 1, 0);
        QCOMPARE(link->QueryFirmwareVersion(), QStringLiteral("Firmware Version: 2.1.0"));
        QCOMPARE(link->receiveBuffer()[0], std::uint8_t(0));

        port->SetDescriptorReadable(Unit, false);
        link->CloseUnit();
        QVERIFY(link->FindUnit());
        QCOMPARE(link->inputReportLength(), 9);
        QCOMPARE(link->outputReportLength(), 9);
    }

    void silentUnitIsClosedAndNeverTouchedAgain() {
        QCOMPARE(link->QueryFirmwareVersion(), QStringLiteral("Firmware Version: 1.0.7"));

        port->SetSilent(true);
        const auto before = clock->TickCount();
        link->WriteReport(SendCharacterCommand(0xA0));
        link->ReadReport();
        QCOMPARE(clock->TickCount() - before, std::int64_t(1000));
        QVERIFY(!link->unitDetected());
        QCOMPARE(port->openHandles(), 0);
        QCOMPARE(link->receiveBuffer(), (std::array<std::uint8_t, 9>{}));

        // Reads and closes after the time-out use no handle; the next write reopens the unit.
        link->ReadReport();
        link->CloseUnit();
        QCOMPARE(clock->TickCount() - before, std::int64_t(1000));
        port->SetSilent(false);
        QCOMPARE(link->QueryFirmwareVersion(), QStringLiteral("Firmware Version: 1.0.7"));
        QCOMPARE(port->opens(), 4);
    }

    void aMisbehavingUnitIsReleasedAndFoundAgain() {
        using Fault = UnitEmulator::Fault;
        // A write that fails, or goes out short, is no write: the pair is released.
        for (Fault fault : {Fault::FailedWrite, Fault::ShortWrite}) {
            port->InjectFault(fault);
            QVERIFY(!link->WriteReport(SendCharacterCommand(0xA0)));
            QVERIFY(!link->unitDetected());
            QCOMPARE(port->openHandles(), 0);
            QVERIFY(port->reportsOf('C').empty());
        }
        QVERIFY(link->WriteReport(SendCharacterCommand(0xA0)));

        // A failed read releases the pair; a reply that comes after the time-out is never taken as
        // the answer to the next command.
        port->InjectFault(Fault::FailedRead);
        link->ReadReport();
        QCOMPARE(port->openHandles(), 0);
        port->QueueCharacterReplies({70});
        port->InjectFault(Fault::LateReply);
        link->WriteReport(SendCharacterCommand(0xA0));
        link->ReadReport();
        QCOMPARE(link->receiveBuffer()[1], std::uint8_t(0));
        QCOMPARE(link->QueryFirmwareVersion(), QStringLiteral("Firmware Version: 1.0.7"));

        // A unit that opens once but not twice is not half taken.
        link->CloseUnit();
        port->InjectFault(Fault::SecondOpenFails);
        QVERIFY(!link->FindUnit());
        QCOMPARE(port->openHandles(), 0);

        // Back under another path, it is found there.
        port->Unplug();
        port->AddDevice("/dev/hidraw9", 0x0925, 0x00E7, {9, 9});
        QVERIFY(link->WriteReport(TuneOnCommand()));
        QCOMPARE(port->reportsOf('T').at(0).path, std::string("/dev/hidraw9"));

        // With the key down nothing but the tune commands is written; a refused request waits for no
        // reply, so the unit stays open.
        QVERIFY(!link->WriteReport(SendCharacterCommand(0xA0)));
        QVERIFY(link->QueryFirmwareVersion().endsWith(u"0.0.0") && link->unitDetected());
        QVERIFY(link->WriteReport(TuneOffCommand()) && link->WriteReport(SendCharacterCommand(0xA0)));
    }
};

QTEST_GUILESS_MAIN(UnitLinkTest)
#include "test_link_unit.moc"
