#include "emulator/UhidUnit.h"
#include "link/UnitLink.h"
#include "platform/HidApiPort.h"
#include "platform/LinkLog.h"

#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <cstdio>

// The real HID backend against a virtual unit the kernel lists as a hidraw node.
class UhidTest : public QObject {
    Q_OBJECT
private slots:
    void backendFindsTalksToAndLosesTheUnit() {
        HidApiPort port;
        const auto listed = [&port] { return port.Enumerate(UnitLink::VendorId, UnitLink::ProductId); };
        // A real unit may be plugged in beside the virtual one.
        const std::vector<HidDeviceInfo> before = listed();
        UhidUnit unit;
        QVERIFY(unit.Plug());
        const auto isNew = [&before](const HidDeviceInfo& device) {
            return std::ranges::find(before, device.path, &HidDeviceInfo::path) == before.end();
        };
        QTRY_COMPARE_WITH_TIMEOUT(std::ranges::count_if(listed(), isNew), 1, 5000);
        const std::vector<HidDeviceInfo> after = listed();
        const std::string path = std::ranges::find_if(after, isNew)->path;
        const std::optional<ReportLengths> lengths = port.ReadReportLengths(path);
        QVERIFY(lengths && lengths->input == 9 && lengths->output == 9);
        const HidPort::Handle writeHandle = port.Open(path);
        const HidPort::Handle readHandle = port.Open(path);
        QVERIFY(writeHandle != HidPort::InvalidHandle && readHandle != HidPort::InvalidHandle);

        SetUpLinkLog(true);
        QTest::ignoreMessage(QtDebugMsg, "write handle 1: 00 43 a0 5f 00 00 00 00 ff: 9 of 9 bytes written");
        QTest::ignoreMessage(QtDebugMsg, "read handle 2: nothing within 100 ms");
        QTest::ignoreMessage(QtDebugMsg, "read handle 2: 43 41 be 00 00 00 00 7f: 8 bytes");
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^write handle 1: [0-9a-f ]+: failed: \\S"));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^read handle 2: failed: \\S"));
        const std::uint8_t command[9] = {0x00, 'C', 0xA0, 0x5F, 0, 0, 0, 0, 0xFF};
        QCOMPARE(port.Write(writeHandle, command, sizeof command), 9);
        // uhid hands over the report as written, report ID 0 included.
        QCOMPARE(unit.NextOutput(5000), (std::vector<std::uint8_t>{command, command + 9}));
        std::uint8_t reply[9] = {};
        QCOMPARE(port.Read(readHandle, reply, sizeof reply, 100), 0);
        const std::array<std::uint8_t, 8> answer = {'C', 0x41, 0xBE, 0, 0, 0, 0, 0x7F};
        QVERIFY(unit.SendInput(answer));
        QCOMPARE(port.Read(readHandle, reply, sizeof reply, 5000), 8);
        QVERIFY(std::equal(answer.begin(), answer.end(), reply));

        // Unplugged: the old handles fail, and say why; the port closes them when it goes.
        QVERIFY(unit.Unplug());
        QTRY_COMPARE_WITH_TIMEOUT(listed().size(), before.size(), 5000);
        QCOMPARE(port.Write(writeHandle, command, sizeof command), -1);
        QCOMPARE(port.Read(readHandle, reply, sizeof reply, 100), -1);
    }
};

// Where /dev/uhid cannot be opened the test is skipped, with the reason, never passed: CTest reads
// exit code 77 as a skip.
int main(int argc, char** argv) {
    if (const UhidUnit probe; !probe.openError().empty()) {
        std::fprintf(stderr, "SKIP: cannot open /dev/uhid: %s\n", probe.openError().c_str());
        return 77;
    }
    QCoreApplication application(argc, argv);
    UhidTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_platform_uhid.moc"
