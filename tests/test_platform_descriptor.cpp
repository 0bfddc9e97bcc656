#include "emulator/UhidUnit.h"
#include "platform/HidApiPort.h"
#include "platform/LinkLog.h"
#include "platform/ReportDescriptor.h"

#include <QRegularExpression>
#include <QTest>

namespace {

using Descriptor = std::vector<std::uint8_t>;

} // namespace

class ReportDescriptorTest : public QObject {
    Q_OBJECT
private slots:
    void countsReportLengths() {
        const std::optional<ReportLengths> refused;
        const std::pair<Descriptor, std::optional<ReportLengths>> cases[] = {
            {UnitReportDescriptor, ReportLengths{9, 9}},
            {Descriptor(UnitReportDescriptor.begin(), UnitReportDescriptor.begin() + 20),
             ReportLengths{9, 0}},
            // Numbered reports: the longest per direction counts; 5 bits and 3 of padding make a byte;
            // Feature is not counted; a long item whose data look like Output is skipped whole.
            {{0x85, 0x01, 0x75, 0x08, 0x95, 0x03, 0x81, 0x02, 0x95, 0x04, 0x91, 0x02, 0x85,
              0x02, 0x95, 0x10, 0x81, 0x02, 0x75, 0x01, 0x95, 0x05, 0x91, 0x02, 0x75, 0x03,
              0x95, 0x01, 0x91, 0x03, 0xB1, 0x02, 0xFE, 0x02, 0x10, 0x91, 0x02},
             ReportLengths{17, 5}},
            // Push saves Report Count 4, Pop brings it back after 32 bytes of input.
            {{0x75, 0x08, 0x95, 0x04, 0xA4, 0x95, 0x20, 0x81, 0x02, 0xB4, 0x91, 0x02}, ReportLengths{33, 5}},
            {{0x77, 0x0C, 0x00, 0x00, 0x00, 0x95, 0x01, 0x81, 0x02}, ReportLengths{3, 0}}, // 4-byte data
            {{0x75, 0x08, 0x96, 0xFE, 0xFF, 0x91, 0x02}, ReportLengths{0, 65535}},         // the largest
            {{0x75, 0x08, 0x96, 0xFE, 0xFF, 0x91, 0x02, 0x75, 0x01, 0x95, 0x01, 0x91, 0x02}, refused},
            {{0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02}, refused},
            {{}, refused},
            {Descriptor(UnitReportDescriptor.begin(), UnitReportDescriptor.begin() + 11), refused},
            {{0xFE, 0x04}, refused},
            {{0xFE, 0x04, 0x10, 0x00}, refused},
            {{0xB4, 0x81, 0x02}, refused}};
        for (const auto& [descriptor, expected] : cases) {
            const auto lengths = ReportLengthsFromDescriptor(descriptor);
            QCOMPARE(lengths.has_value(), expected.has_value());
            if (!expected) continue;
            QCOMPARE(lengths->input, expected->input);
            QCOMPARE(lengths->output, expected->output);
        }
    }

    // The link's log stays off until --debug-link turns it on; then each line has its time and a failure
    // its reason.
    void refusesUnknownHandlesWithoutDevicesAndLogsWhy() {
        QVERIFY(!linkLog().isDebugEnabled());
        SetUpLinkLog(true);
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^enumerate 0925:00e7: "));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^open /dev/hidraw-not-there failed: \\S"));
        HidApiPort port;
        port.Enumerate(0x0925, 0x00E7);
        QCOMPARE(port.Open("/dev/hidraw-not-there"), HidPort::InvalidHandle);
        QVERIFY(!port.ReadReportLengths("/dev/hidraw-not-there") && !port.ReadReportLengths("/dev/null"));
        std::uint8_t report[] = {0x00, 0x4B, 0xAF, 0xFF};
        QCOMPARE(HexBytes(report, sizeof report), "00 4b af ff");
        QCOMPARE(port.Write(1, report, sizeof report), -1);
        QCOMPARE(port.Read(1, report, sizeof report, 0), -1);
        port.Close(1);
        const QString stamped =
            qFormatLogMessage(QtDebugMsg, QMessageLogContext(nullptr, 0, nullptr, "tandrel.link"), "x");
        QVERIFY(stamped.contains(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} tandrel\\.link: x$")));
    }
};

QTEST_GUILESS_MAIN(ReportDescriptorTest)
#include "test_platform_descriptor.moc"
