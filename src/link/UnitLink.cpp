#include "link/UnitLink.h"

#include "link/KeyerCommands.h"
#include "platform/LinkLog.h"

#include <algorithm>
#include <utility>
#include <vector>

bool UnitLink::FindUnit() {
    unitDetected_ = false;
    for (const HidDeviceInfo& device : port_.Enumerate(VendorId, ProductId)) {
        if (device.vendorId != VendorId || device.productId != ProductId) continue;
        if (HandlesOpen() && device.path == devicePath_) {
            unitDetected_ = true;
            return true;
        }
        if (OpenPair(device)) {
            unitDetected_ = true;
            return true;
        }
    }
    // Whatever pair is still held belongs to a unit that is no longer listed.
    if (HandlesOpen()) ReleaseUnit("no longer listed");
    return false;
}

// A device whose reports cannot carry the 8 command bytes, or the unit's 8 reply bytes, is not the
// unit, whatever its identifiers say.
bool UnitLink::OpenPair(const HidDeviceInfo& device) {
    const ReportLengths lengths = port_.ReadReportLengths(device.path).value_or(ReportLengths{});
    if (lengths.output < UnitReportLength || lengths.input < UnitReportLength) {
        qCDebug(linkLog, "%s refused: its reports (%d bytes in, %d out) cannot carry the unit's 8",
                device.path.c_str(), lengths.input, lengths.output);
        return false;
    }

    CloseUnit();
    const HidPort::Handle writeHandle = port_.Open(device.path);
    if (writeHandle == HidPort::InvalidHandle) return false;
    const HidPort::Handle readHandle = port_.Open(device.path);
    if (readHandle == HidPort::InvalidHandle) {
        port_.Close(writeHandle);
        return false;
    }
    devicePath_ = device.path;
    writeHandle_ = writeHandle;
    readHandle_ = readHandle;
    inputReportLength_ = lengths.input;
    outputReportLength_ = lengths.output;
    qCDebug(linkLog, "unit at %s: write handle %d, read handle %d", device.path.c_str(), writeHandle,
            readHandle);
    return true;
}

void UnitLink::CloseUnit() {
    if (!HandlesOpen()) return;
    port_.Close(writeHandle_);
    port_.Close(readHandle_);
    writeHandle_ = HidPort::InvalidHandle;
    readHandle_ = HidPort::InvalidHandle;
    devicePath_.clear();
}

bool UnitLink::WriteReport(const std::array<std::uint8_t, 8>& bytes) {
    const std::uint8_t command = bytes[0];
    const bool tuneOn = command == TuneOnCommand()[0];
    const bool tuneOff = command == TuneOffCommand()[0];
    if (keyDown_ && !tuneOn && !tuneOff) return false;
    const bool written = Write(bytes);
    if (tuneOn) keyDown_ = keyDown_ || written;
    // A tune-off that could not be written finds no unit to key: either way the key is up.
    if (tuneOff) {
        keyDown_ = false;
        if (heldSettings_) WriteSettings(*std::exchange(heldSettings_, std::nullopt));
    }
    return written;
}

void UnitLink::WriteSettings(const std::array<std::array<std::uint8_t, 8>, 3>& blocks) {
    if (keyDown_) {
        heldSettings_ = blocks;
        return;
    }
    for (const auto& block : blocks)
        WriteReport(block);
}

bool UnitLink::Write(const std::array<std::uint8_t, 8>& bytes) {
    if (!unitDetected_) unitDetected_ = FindUnit();
    if (!unitDetected_) return false;
    std::vector<std::uint8_t> report(static_cast<std::size_t>(outputReportLength_), 0);
    std::copy(bytes.begin(), bytes.end(), report.begin() + 1);
    if (port_.Write(writeHandle_, report.data(), report.size()) == static_cast<int>(report.size()))
        return true;
    ReleaseUnit("the write failed");
    return false;
}

void UnitLink::ReadReport() {
    receiveBuffer_.fill(0);
    if (!HandlesOpen()) {
        unitDetected_ = false;
        return;
    }
    // A longer input report is read whole; only its first 8 data bytes are kept.
    std::vector<std::uint8_t> report(static_cast<std::size_t>(std::max(inputReportLength_, UnitReportLength)),
                                     0);
    const int count = port_.Read(readHandle_, report.data(), report.size(), ReadTimeoutMilliseconds);
    if (count > 0) {
        std::copy_n(report.begin(), std::min(count, 8), receiveBuffer_.begin() + 1);
        return;
    }
    // Silent or failed: the pair is closed so that nothing touches it again before a new discovery.
    ReleaseUnit(count == 0 ? "no answer within a second" : "the read failed");
}

void UnitLink::ReleaseUnit(const char* reason) {
    qCDebug(linkLog, "unit released: %s", reason);
    CloseUnit();
    unitDetected_ = false;
}

// A request that did not go out has no reply to wait for.
QString UnitLink::QueryFirmwareVersion() {
    if (WriteReport(VersionRequestCommand())) {
        ReadReport();
    } else {
        receiveBuffer_.fill(0);
    }
    return FirmwareText(receiveBuffer_);
}
