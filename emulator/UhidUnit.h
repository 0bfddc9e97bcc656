#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct uhid_event;

// The unit's report descriptor: vendor-defined usage page, one unnumbered 8-byte report each way.
extern const std::vector<std::uint8_t> UnitReportDescriptor;

// A device with the unit's identifiers and report descriptor that the kernel lists as a hidraw node,
// made through Linux uhid, so that the real HID backend can be driven without the hardware. Needs
// /dev/uhid: the uhid module, and root or write access to the node. Unplugged when destroyed.
class UhidUnit {
public:
    UhidUnit();
    ~UhidUnit();
    UhidUnit(const UhidUnit&) = delete;
    UhidUnit& operator=(const UhidUnit&) = delete;

    // Why /dev/uhid could not be opened; empty when it is open.
    const std::string& openError() const { return openError_; }
    bool Plug();
    bool Unplug();
    // The next report the host wrote, as the device received it; nothing when none comes within
    // timeoutMs.
    std::optional<std::vector<std::uint8_t>> NextOutput(int timeoutMs);
    // Sends one input report, as the unit sends its reply.
    bool SendInput(const std::array<std::uint8_t, 8>& report);

private:
    bool Send(const uhid_event& event);

    int fd_ = -1;
    std::string openError_;
};
