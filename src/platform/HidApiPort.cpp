#include "platform/HidApiPort.h"

#include "platform/LinkLog.h"
#include "platform/ReportDescriptor.h"

#include <hidapi/hidapi.h>

#include <QStringList>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

namespace {

// The sysfs file holding the raw report descriptor of a hidraw node such as "/dev/hidraw3".
std::optional<std::filesystem::path> DescriptorFileFor(const std::string& path) {
    const std::string node = std::filesystem::path(path).filename().string();
    if (!node.starts_with("hidraw")) return std::nullopt;
    return std::filesystem::path("/sys/class/hidraw") / node / "device" / "report_descriptor";
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) return std::nullopt;
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    if (stream.bad()) return std::nullopt;
    return bytes;
}

// The library's reason for the last failure on a device, or for the last one that concerned no
// device (enumerating, opening) when device is null.
QByteArray ErrorText(hid_device* device) {
    return QString::fromWCharArray(hid_error(device)).toUtf8();
}

} // namespace

HidApiPort::HidApiPort() {
    hid_init();
}

HidApiPort::~HidApiPort() {
    for (const auto& [handle, device] : devices_)
        hid_close(device);
    hid_exit();
}

std::vector<HidDeviceInfo> HidApiPort::Enumerate(std::uint16_t vendorId, std::uint16_t productId) {
    std::vector<HidDeviceInfo> found;
    hid_device_info* const list = hid_enumerate(vendorId, productId);
    for (const hid_device_info* entry = list; entry != nullptr; entry = entry->next) {
        // hidapi reads 0 as "any"; the caller asked for exactly these identifiers.
        if (entry->path == nullptr || entry->vendor_id != vendorId || entry->product_id != productId)
            continue;
        found.push_back({entry->path, entry->vendor_id, entry->product_id});
    }
    hid_free_enumeration(list);
    if (linkLog().isDebugEnabled()) LogListing(vendorId, productId, found);
    return found;
}

// Discovery runs on every transmit tick, up to 100 times a second: only a listing that differs from
// the one before is logged, so that the writes and reads stay readable.
void HidApiPort::LogListing(std::uint16_t vendorId, std::uint16_t productId,
                            const std::vector<HidDeviceInfo>& found) {
    QStringList paths;
    for (const HidDeviceInfo& device : found)
        paths << QString::fromStdString(device.path);
    const QString listing =
        paths.isEmpty() ? QStringLiteral("none (%1)").arg(ErrorText(nullptr)) : paths.join(", ");
    if (listing == loggedListing_) return;
    loggedListing_ = listing;
    qCDebug(linkLog, "enumerate %04x:%04x: %s", vendorId, productId, qUtf8Printable(listing));
}

HidPort::Handle HidApiPort::Open(const std::string& path) {
    if (nextHandle_ == std::numeric_limits<Handle>::max()) return InvalidHandle;
    hid_device* const device = hid_open_path(path.c_str());
    if (device == nullptr) {
        qCDebug(linkLog, "open %s failed: %s", path.c_str(), ErrorText(nullptr).constData());
        return InvalidHandle;
    }
    const Handle handle = nextHandle_++;
    devices_.emplace(handle, device);
    qCDebug(linkLog, "open %s: handle %d", path.c_str(), handle);
    return handle;
}

std::optional<ReportLengths> HidApiPort::ReadReportLengths(const std::string& path) {
    const std::optional<std::filesystem::path> file = DescriptorFileFor(path);
    if (!file) {
        qCDebug(linkLog, "report lengths of %s: not a hidraw node", path.c_str());
        return std::nullopt;
    }
    const std::optional<std::vector<std::uint8_t>> descriptor = ReadWholeFile(*file);
    if (!descriptor) {
        qCDebug(linkLog, "report lengths of %s: %s cannot be read", path.c_str(), file->c_str());
        return std::nullopt;
    }
    const std::optional<ReportLengths> lengths = ReportLengthsFromDescriptor(*descriptor);
    if (lengths)
        qCDebug(linkLog, "report lengths of %s: input %d, output %d", path.c_str(), lengths->input,
                lengths->output);
    else
        qCDebug(linkLog, "report lengths of %s: descriptor not understood: %s", path.c_str(),
                HexBytes(descriptor->data(), descriptor->size()).constData());
    return lengths;
}

int HidApiPort::Write(Handle handle, const std::uint8_t* data, std::size_t length) {
    hid_device* const device = DeviceFor(handle, "write");
    if (device == nullptr || data == nullptr) return -1;
    const int written = hid_write(device, data, length);
    if (written < 0)
        qCDebug(linkLog, "write handle %d: %s: failed: %s", handle, HexBytes(data, length).constData(),
                ErrorText(device).constData());
    else
        qCDebug(linkLog, "write handle %d: %s: %d of %zu bytes written", handle,
                HexBytes(data, length).constData(), written, length);
    return written;
}

int HidApiPort::Read(Handle handle, std::uint8_t* data, std::size_t length, int timeoutMs) {
    hid_device* const device = DeviceFor(handle, "read");
    if (device == nullptr || data == nullptr) return -1;
    timeoutMs = std::max(timeoutMs, 0);
    const int count = hid_read_timeout(device, data, length, timeoutMs);
    if (count < 0)
        qCDebug(linkLog, "read handle %d: failed: %s", handle, ErrorText(device).constData());
    else if (count == 0)
        qCDebug(linkLog, "read handle %d: nothing within %d ms", handle, timeoutMs);
    else
        qCDebug(linkLog, "read handle %d: %s: %d bytes", handle,
                HexBytes(data, static_cast<std::size_t>(count)).constData(), count);
    return count;
}

void HidApiPort::Close(Handle handle) {
    hid_device* const device = DeviceFor(handle, "close");
    if (device == nullptr) return;
    hid_close(device);
    devices_.erase(handle);
    qCDebug(linkLog, "close handle %d", handle);
}

hid_device* HidApiPort::DeviceFor(Handle handle, const char* action) const {
    const auto entry = devices_.find(handle);
    if (entry != devices_.end()) return entry->second;
    qCDebug(linkLog, "%s handle %d: not open", action, handle);
    return nullptr;
}
