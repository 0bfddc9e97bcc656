#pragma once

#include "platform/HidPort.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

// The link to the interface unit: finds it among the HID devices, keeps it open with a handle for
// writing and one for reading, and exchanges 8-byte reports with a bounded wait for the reply.
class UnitLink {
public:
    static constexpr std::uint16_t VendorId = 0x0925;
    static constexpr std::uint16_t ProductId = 0x00E7;
    static constexpr int ReadTimeoutMilliseconds = 1000;
    // Report ID and 8 data bytes: the least a device must take to be the unit.
    static constexpr int UnitReportLength = 9;

    explicit UnitLink(HidPort& port) : port_(port) {}
    ~UnitLink() { CloseUnit(); }
    UnitLink(const UnitLink&) = delete;
    UnitLink& operator=(const UnitLink&) = delete;

    // Searches for the unit and opens it; keeps the open pair when the first match is the device
    // already open, so that discovery on every transmit tick costs one enumeration.
    bool FindUnit();
    void CloseUnit();
    // Writes report ID 0 and the 8 bytes, padded to the unit's output report length; runs discovery
    // first when the unit is not detected. False when the report did not go out whole: the unit is
    // missing, or the write failed, in which case the pair is released for a new discovery. While the
    // key is down (a tune-on written, its tune-off not yet) every command but the tune commands is
    // refused and reported as not written: the transmitter is keyed and must hear nothing else.
    bool WriteReport(const std::array<std::uint8_t, 8>& bytes);
    // Writes the three settings blocks back to back. While the key is down they are held, the latest
    // only, and go out once right after the tune-off.
    void WriteSettings(const std::array<std::array<std::uint8_t, 8>, 3>& blocks);
    // Waits up to a second for one input report into receiveBuffer (zeros when none comes); a unit
    // that does not answer is closed and marked not detected.
    void ReadReport();
    QString QueryFirmwareVersion();

    bool unitDetected() const { return unitDetected_; }
    bool keyDown() const { return keyDown_; }
    const std::array<std::uint8_t, 9>& receiveBuffer() const { return receiveBuffer_; }
    int inputReportLength() const { return inputReportLength_; }
    int outputReportLength() const { return outputReportLength_; }

private:
    bool HandlesOpen() const { return writeHandle_ != HidPort::InvalidHandle; }
    bool OpenPair(const HidDeviceInfo& device);
    // Closes the pair and marks the unit not detected, saying why in the link's log.
    void ReleaseUnit(const char* reason);
    bool Write(const std::array<std::uint8_t, 8>& bytes);

    HidPort& port_;
    bool unitDetected_ = false;
    std::string devicePath_;
    HidPort::Handle writeHandle_ = HidPort::InvalidHandle;
    HidPort::Handle readHandle_ = HidPort::InvalidHandle;
    int inputReportLength_ = UnitReportLength;
    int outputReportLength_ = UnitReportLength;
    std::array<std::uint8_t, 9> receiveBuffer_{};
    bool keyDown_ = false;
    std::optional<std::array<std::array<std::uint8_t, 8>, 3>> heldSettings_;
};
