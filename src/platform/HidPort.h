#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The HID services the link needs, small enough for a software unit to stand in for the device.
struct HidDeviceInfo {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// Report byte lengths as the device declares them, report ID byte included.
struct ReportLengths {
    int input = 9;
    int output = 9;
};

class HidPort {
public:
    using Handle = int;
    static constexpr Handle InvalidHandle = -1;

    virtual ~HidPort() = default;

    // Lists the present devices with this vendor and product, in enumeration order, without opening any.
    virtual std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendorId, std::uint16_t productId) = 0;
    // Opens a listed device; InvalidHandle when it cannot be opened.
    virtual Handle Open(const std::string& path) = 0;
    // Report lengths read from the device's report descriptor; nothing when it cannot be read.
    virtual std::optional<ReportLengths> ReadReportLengths(const std::string& path) = 0;
    // Writes one whole report (report ID first); the number of bytes written, or -1.
    virtual int Write(Handle handle, const std::uint8_t* data, std::size_t length) = 0;
    // Reads one input report into data, without the report ID of an unnumbered report: the number
    // of bytes read, 0 when nothing came within timeoutMs, -1 on failure.
    virtual int Read(Handle handle, std::uint8_t* data, std::size_t length, int timeoutMs) = 0;
    virtual void Close(Handle handle) = 0;
};
