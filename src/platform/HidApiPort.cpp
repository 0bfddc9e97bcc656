#include "platform/HidApiPort.h"

#include "platform/ReportDescriptor.h"

#include <hidapi/hidapi.h>

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
    return found;
}

HidPort::Handle HidApiPort::Open(const std::string& path) {
    if (nextHandle_ == std::numeric_limits<Handle>::max()) return InvalidHandle;
    hid_device* const device = hid_open_path(path.c_str());
    if (device == nullptr) return InvalidHandle;
    const Handle handle = nextHandle_++;
    devices_.emplace(handle, device);
    return handle;
}

std::optional<ReportLengths> HidApiPort::ReadReportLengths(const std::string& path) {
    const std::optional<std::filesystem::path> file = DescriptorFileFor(path);
    if (!file) return std::nullopt;
    const std::optional<std::vector<std::uint8_t>> descriptor = ReadWholeFile(*file);
    if (!descriptor) return std::nullopt;
    return ReportLengthsFromDescriptor(*descriptor);
}

int HidApiPort::Write(Handle handle, const std::uint8_t* data, std::size_t length) {
    hid_device* const device = DeviceFor(handle);
    if (device == nullptr || data == nullptr) return -1;
    return hid_write(device, data, length);
}

int HidApiPort::Read(Handle handle, std::uint8_t* data, std::size_t length, int timeoutMs) {
    hid_device* const device = DeviceFor(handle);
    if (device == nullptr || data == nullptr) return -1;
    return hid_read_timeout(device, data, length, std::max(timeoutMs, 0));
}

void HidApiPort::Close(Handle handle) {
    const auto entry = devices_.find(handle);
    if (entry == devices_.end()) return;
    hid_close(entry->second);
    devices_.erase(entry);
}

hid_device* HidApiPort::DeviceFor(Handle handle) const {
    const auto entry = devices_.find(handle);
    return entry == devices_.end() ? nullptr : entry->second;
}
