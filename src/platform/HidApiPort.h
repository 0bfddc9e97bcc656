#pragma once

#include "platform/HidPort.h"

#include <QString>
#include <map>

struct hid_device_;

// The HID services on hidapi's hidraw backend. One instance for the program: it starts hidapi when
// built and shuts it down, with every device still open, when destroyed.
class HidApiPort : public HidPort {
public:
    HidApiPort();
    ~HidApiPort() override;
    HidApiPort(const HidApiPort&) = delete;
    HidApiPort& operator=(const HidApiPort&) = delete;

    std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendorId, std::uint16_t productId) override;
    Handle Open(const std::string& path) override;
    // Read from the hidraw node's report descriptor in sysfs; nothing for a path that is not a hidraw
    // node or whose descriptor cannot be read or parsed.
    std::optional<ReportLengths> ReadReportLengths(const std::string& path) override;
    int Write(Handle handle, const std::uint8_t* data, std::size_t length) override;
    // A negative time-out does not wait: reads stay bounded.
    int Read(Handle handle, std::uint8_t* data, std::size_t length, int timeoutMs) override;
    void Close(Handle handle) override;

private:
    // The device of an open handle; null, logged with the action refused, for any other handle.
    hid_device_* DeviceFor(Handle handle, const char* action) const;
    void LogListing(std::uint16_t vendorId, std::uint16_t productId, const std::vector<HidDeviceInfo>& found);

    // Handle numbers are never given out twice in a run, so a stale handle cannot reach another device.
    std::map<Handle, hid_device_*> devices_;
    Handle nextHandle_ = 1;
    QString loggedListing_;
};
