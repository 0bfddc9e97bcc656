#include "emulator/UhidUnit.h"

#include "link/UnitLink.h"

#include <linux/input.h>
#include <linux/uhid.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string_view>
#include <unistd.h>

const std::vector<std::uint8_t> UnitReportDescriptor = {
    0x06, 0x00, 0xFF, // Usage Page (vendor-defined)
    0x09, 0x01,       // Usage
    0xA1, 0x01,       // Collection (application)
    0x15, 0x00,       //   Logical Minimum 0
    0x26, 0xFF, 0x00, //   Logical Maximum 255
    0x75, 0x08,       //   Report Size 8 bits
    0x95, 0x08,       //   Report Count 8
    0x09, 0x01,       //   Usage
    0x81, 0x02,       //   Input
    0x95, 0x08,       //   Report Count 8
    0x09, 0x01,       //   Usage
    0x91, 0x02,       //   Output
    0xC0,             // End Collection
};

UhidUnit::UhidUnit() : fd_(open("/dev/uhid", O_RDWR | O_CLOEXEC)) {
    if (fd_ < 0) openError_ = std::strerror(errno);
}

// Closing /dev/uhid unplugs the device.
UhidUnit::~UhidUnit() {
    if (fd_ >= 0) close(fd_);
}

bool UhidUnit::Plug() {
    uhid_event event{};
    event.type = UHID_CREATE2;
    uhid_create2_req& create = event.u.create2;
    const std::string_view name = "Tandrel virtual unit";
    std::copy(name.begin(), name.end(), create.name);
    create.rd_size = static_cast<std::uint16_t>(UnitReportDescriptor.size());
    std::copy(UnitReportDescriptor.begin(), UnitReportDescriptor.end(), create.rd_data);
    create.bus = BUS_USB;
    create.vendor = UnitLink::VendorId;
    create.product = UnitLink::ProductId;
    return Send(event);
}

bool UhidUnit::Unplug() {
    uhid_event event{};
    event.type = UHID_DESTROY;
    return Send(event);
}

std::optional<std::vector<std::uint8_t>> UhidUnit::NextOutput(int timeoutMs) {
    using namespace std::chrono;
    const steady_clock::time_point deadline = steady_clock::now() + milliseconds(timeoutMs);
    // The kernel's other events (started, opened, closed) come between the reports and are passed over.
    for (;;) {
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
        pollfd ready{fd_, POLLIN, 0};
        if (left < 0 || poll(&ready, 1, static_cast<int>(left)) <= 0) return std::nullopt;
        uhid_event event{};
        if (read(fd_, &event, sizeof event) <= 0) return std::nullopt;
        if (event.type == UHID_OUTPUT)
            return std::vector<std::uint8_t>(event.u.output.data, event.u.output.data + event.u.output.size);
    }
}

bool UhidUnit::SendInput(const std::array<std::uint8_t, 8>& report) {
    uhid_event event{};
    event.type = UHID_INPUT2;
    event.u.input2.size = report.size();
    std::copy(report.begin(), report.end(), event.u.input2.data);
    return Send(event);
}

bool UhidUnit::Send(const uhid_event& event) {
    return fd_ >= 0 && write(fd_, &event, sizeof event) == static_cast<ssize_t>(sizeof event);
}
