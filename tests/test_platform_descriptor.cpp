#include "platform/HidApiPort.h"
#include "platform/ReportDescriptor.h"

#include <QTest>

namespace {

using Descriptor = std::vector<std::uint8_t>;

// A typical vendor-defined device with one unnumbered 8-byte report each way.
const Descriptor VendorEightByEight = {
    0x06, 0x00, 0xFF, // Usage Page (vendor defined 0xFF00)
    0x09, 0x01,       // Usage (1)
    0xA1, 0x01,       // Collection (application)
    0x15, 0x00,       //   Logical Minimum (0)
    0x26, 0xFF, 0x00, //   Logical Maximum (255)
    0x75, 0x08,       //   Report Size (8)
    0x95, 0x08,       //   Report Count (8)
    0x09, 0x01,       //   Usage (1)
    0x81, 0x02,       //   Input (data, variable, absolute)
    0x95, 0x08,       //   Report Count (8)
    0x09, 0x01,       //   Usage (1)
    0x91, 0x02,       //   Output (data, variable, absolute)
    0xC0,             // End Collection
};

// Two numbered reports each way: the longest of each direction sets its length.
const Descriptor NumberedReports = {
    0x06, 0x00, 0xFF, // Usage Page (vendor defined)
    0x09, 0x01,       // Usage (1)
    0xA1, 0x01,       // Collection (application)
    0x85, 0x01,       //   Report ID (1)
    0x75, 0x08,       //   Report Size (8)
    0x95, 0x03,       //   Report Count (3)
    0x81, 0x02,       //   Input: 3 bytes
    0x95, 0x04,       //   Report Count (4)
    0x91, 0x02,       //   Output: 4 bytes
    0x85, 0x02,       //   Report ID (2)
    0x95, 0x10,       //   Report Count (16)
    0x81, 0x02,       //   Input: 16 bytes
    0x75, 0x01,       //   Report Size (1)
    0x95, 0x05,       //   Report Count (5)
    0x91, 0x02,       //   Output: 5 bits
    0x75, 0x03,       //   Report Size (3)
    0x95, 0x01,       //   Report Count (1)
    0x91, 0x03,       //   Output: 3 bits of padding, one byte in all
    0xB1, 0x02,       //   Feature (not counted)
    0xFE, 0x02, 0x10, //   Long item with 2 data bytes...
    0x91, 0x02,       //   ...that look like an Output item: skipped whole
    0xC0,             // End Collection
};

// Report Size and Count saved by Push and brought back by Pop.
const Descriptor PushAndPop = {
    0x75, 0x08, // Report Size (8)
    0x95, 0x04, // Report Count (4)
    0xA4,       // Push
    0x95, 0x20, //   Report Count (32)
    0x81, 0x02, //   Input: 32 bytes
    0xB4,       // Pop
    0x91, 0x02, // Output: 4 bytes
};

std::optional<ReportLengths> Lengths(int input, int output) {
    return ReportLengths{input, output};
}

void CompareLengths(const std::optional<ReportLengths>& actual,
                    const std::optional<ReportLengths>& expected) {
    QCOMPARE(actual.has_value(), expected.has_value());
    if (!expected) return;
    QCOMPARE(actual->input, expected->input);
    QCOMPARE(actual->output, expected->output);
}

} // namespace

class ReportDescriptorTest : public QObject {
    Q_OBJECT
private slots:
    void countsReportLengths();
    void givesZeroForAMissingDirection();
    void refusesBrokenDescriptors();
    void runsWithoutDevices();
};

void ReportDescriptorTest::countsReportLengths() {
    CompareLengths(ReportLengthsFromDescriptor(VendorEightByEight), Lengths(9, 9));
    CompareLengths(ReportLengthsFromDescriptor(NumberedReports), Lengths(17, 5));
    CompareLengths(ReportLengthsFromDescriptor(PushAndPop), Lengths(33, 5));

    Descriptor fourByteOutput = VendorEightByEight;
    fourByteOutput[21] = 0x04; // the Report Count before Output
    CompareLengths(ReportLengthsFromDescriptor(fourByteOutput), Lengths(9, 5));

    // Report Size given in four data bytes: 12 bits make 2 bytes.
    CompareLengths(ReportLengthsFromDescriptor({0x77, 0x0C, 0x00, 0x00, 0x00, 0x95, 0x01, 0x81, 0x02}),
                   Lengths(3, 0));
}

void ReportDescriptorTest::givesZeroForAMissingDirection() {
    const Descriptor inputOnly(VendorEightByEight.begin(), VendorEightByEight.begin() + 20);
    CompareLengths(ReportLengthsFromDescriptor(inputOnly), Lengths(9, 0));
    CompareLengths(ReportLengthsFromDescriptor({0x05, 0x01, 0x09, 0x06}), Lengths(0, 0));
}

void ReportDescriptorTest::refusesBrokenDescriptors() {
    CompareLengths(ReportLengthsFromDescriptor({}), std::nullopt);
    // Cut inside the data of Logical Maximum.
    const Descriptor cut(VendorEightByEight.begin(), VendorEightByEight.begin() + 11);
    CompareLengths(ReportLengthsFromDescriptor(cut), std::nullopt);
    CompareLengths(ReportLengthsFromDescriptor({0x75}), std::nullopt);
    CompareLengths(ReportLengthsFromDescriptor({0x77, 0x08, 0x00}), std::nullopt);
    // Long items cut in their header or their data.
    CompareLengths(ReportLengthsFromDescriptor({0xFE, 0x04}), std::nullopt);
    CompareLengths(ReportLengthsFromDescriptor({0xFE, 0x04, 0x10, 0x00}), std::nullopt);
    CompareLengths(ReportLengthsFromDescriptor({0xB4, 0x81, 0x02}), std::nullopt);
    // 2^32 - 1 bits per field cannot be counted in a report length.
    CompareLengths(
        ReportLengthsFromDescriptor({0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02}),
        std::nullopt);
    // The largest countable report: 65534 data bytes, then one bit more.
    const Descriptor largest = {0x75, 0x08, 0x96, 0xFE, 0xFF, 0x91, 0x02};
    CompareLengths(ReportLengthsFromDescriptor(largest), Lengths(0, 65535));
    Descriptor tooLarge = largest;
    tooLarge.insert(tooLarge.end(), {0x75, 0x01, 0x95, 0x01, 0x91, 0x02});
    CompareLengths(ReportLengthsFromDescriptor(tooLarge), std::nullopt);
}

void ReportDescriptorTest::runsWithoutDevices() {
    HidApiPort port;
    for (const HidDeviceInfo& device : port.Enumerate(0x0925, 0x00E7)) {
        QCOMPARE(device.vendorId, std::uint16_t{0x0925});
        QCOMPARE(device.productId, std::uint16_t{0x00E7});
    }
    QCOMPARE(port.Open("/dev/hidraw-not-there"), HidPort::InvalidHandle);
    QVERIFY(!port.ReadReportLengths("/dev/hidraw-not-there"));
    QVERIFY(!port.ReadReportLengths("/dev/null"));
    std::uint8_t buffer[9] = {};
    QCOMPARE(port.Write(1, buffer, sizeof buffer), -1);
    QCOMPARE(port.Read(1, buffer, sizeof buffer, 0), -1);
    QCOMPARE(port.Write(HidPort::InvalidHandle, buffer, sizeof buffer), -1);
    port.Close(1);
    port.Close(HidPort::InvalidHandle);
}

QTEST_GUILESS_MAIN(ReportDescriptorTest)
#include "test_platform_descriptor.moc"
