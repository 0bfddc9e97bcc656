#include "emulator/UnitEmulator.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr std::size_t CommandBytes = 8;

// The inverse of the count-pair format, whose high byte carries an extra 1 when the low byte is not 0.
int CountFromPair(std::uint8_t high, std::uint8_t low) {
    return (high - (low != 0 ? 1 : 0)) * 256 + low;
}

double RoundToTenth(double value) {
    return std::round(value * 10) / 10;
}

// The inverse of volume = (1 - ln(300 - V) / 5.702) * 2.65 * P / 3.
int VolumeFromCount(int count, int period) {
    if (count == 0) return 0;
    return static_cast<int>(std::lround(300 - std::exp(5.702 * (1 - 3.0 * count / (2.65 * period)))));
}

} // namespace

UnitEmulator::UnitEmulator(Clock& clock) : clock_(clock) {
    AddDevice(UnitPath, UnitVendor, UnitProduct, ReportLengths{});
}

std::vector<HidDeviceInfo> UnitEmulator::Enumerate(std::uint16_t vendorId, std::uint16_t productId) {
    ++enumerations_;
    if (enumerationCost_ > 0) clock_.Sleep(enumerationCost_);
    std::vector<HidDeviceInfo> found;
    for (const Device& device : devices_) {
        if (device.present && device.info.vendorId == vendorId && device.info.productId == productId)
            found.push_back(device.info);
    }
    return found;
}

HidPort::Handle UnitEmulator::Open(const std::string& path) {
    ++opens_;
    Device* device = Find(path);
    if (!device || !device->present || !device->canOpen) return InvalidHandle;
    const bool alreadyOpen = std::any_of(handles_.begin(), handles_.end(), [&](const auto& entry) {
        return entry.second.open && entry.second.path == path && entry.second.plugCount == device->plugCount;
    });
    if (alreadyOpen && TakeFault(Fault::SecondOpenFails)) return InvalidHandle;
    // Input reports are queued per open handle: a device opened afresh holds no reply from before.
    if (!alreadyOpen) device->replies.clear();
    const Handle handle = nextHandle_++;
    handles_[handle] = OpenedHandle{path, device->plugCount};
    return handle;
}

std::optional<ReportLengths> UnitEmulator::ReadReportLengths(const std::string& path) {
    const Device* device = Find(path);
    if (!device || !device->present || !device->descriptorReadable) return std::nullopt;
    return device->lengths;
}

int UnitEmulator::Write(Handle handle, const std::uint8_t* data, std::size_t length) {
    Device* device = Usable(handle, "Write");
    if (!device) return -1;
    CheckReportFrame(*device, data, length);
    if (TakeFault(Fault::FailedWrite)) return -1;
    if (TakeFault(Fault::ShortWrite)) return static_cast<int>(length) - 1;
    reports_.push_back(
        KeyerReport{std::vector<std::uint8_t>(data, data + length), device->info.path, clock_.TickCount()});
    const bool isUnit = device->info.vendorId == UnitVendor && device->info.productId == UnitProduct;
    if (isUnit && length > CommandBytes) {
        Reply command;
        std::copy_n(data + 1, CommandBytes, command.begin());
        RunCommand(*device, command);
    }
    return static_cast<int>(length);
}

int UnitEmulator::Read(Handle handle, std::uint8_t* data, std::size_t length, int timeoutMs) {
    Device* device = Usable(handle, "Read");
    if (!device) return -1;
    if (timeoutMs < 0) Misuse("Read without a time-out, which would wait for ever");
    if (TakeFault(Fault::FailedRead)) {
        device->replies.clear();
        return -1;
    }
    if (silent_ || device->replies.empty() || TakeFault(Fault::LateReply)) {
        clock_.Sleep(std::max(timeoutMs, 0));
        return 0;
    }
    // An unnumbered input report holds every byte but the report ID; bytes beyond the reply are
    // 0xEE, so a test sees whether the reader keeps or drops them.
    std::vector<std::uint8_t> report(static_cast<std::size_t>(std::max(device->lengths.input - 1, 0)), 0xEE);
    const Reply& reply = device->replies.front();
    std::copy_n(reply.begin(), std::min(reply.size(), report.size()), report.begin());
    device->replies.pop_front();
    const std::size_t count = std::min(length, report.size());
    std::copy_n(report.begin(), count, data);
    return static_cast<int>(count);
}

void UnitEmulator::Close(Handle handle) {
    const auto found = handles_.find(handle);
    if (found == handles_.end()) return Misuse("Close of unknown handle " + std::to_string(handle));
    if (!found->second.open) return Misuse("Close of closed handle " + std::to_string(handle));
    found->second.open = false;
}

void UnitEmulator::AddDevice(const std::string& path, std::uint16_t vendorId, std::uint16_t productId,
                             ReportLengths lengths, bool canOpen) {
    Device device{.info = HidDeviceInfo{path, vendorId, productId}, .lengths = lengths, .canOpen = canOpen};
    if (Device* listed = Find(path)) {
        device.plugCount = listed->plugCount + 1;
        *listed = device;
    } else {
        devices_.push_back(device);
    }
}

void UnitEmulator::Unplug(const std::string& path) {
    Device* device = FindForSetUp(path);
    if (!device || !device->present) return;
    device->present = false;
    ++device->plugCount;
    device->replies.clear();
}

void UnitEmulator::Plug(const std::string& path) {
    Device* device = FindForSetUp(path);
    if (!device || device->present) return;
    device->present = true;
    const auto position = devices_.begin() + (device - devices_.data());
    std::rotate(position, position + 1, devices_.end());
}

void UnitEmulator::SetDescriptorReadable(const std::string& path, bool readable) {
    if (Device* device = FindForSetUp(path)) device->descriptorReadable = readable;
}

void UnitEmulator::SetVersion(std::uint8_t major, std::uint8_t minor, std::uint8_t revision) {
    version_ = Reply{major, minor, revision};
}

void UnitEmulator::SetCharacterReply(std::uint8_t byte1) {
    characterReply_ = byte1;
}

void UnitEmulator::QueueCharacterReplies(const std::vector<std::uint8_t>& bytes1) {
    queuedCharacterReplies_.insert(queuedCharacterReplies_.end(), bytes1.begin(), bytes1.end());
}

void UnitEmulator::SetSilent(bool silent) {
    silent_ = silent;
    if (!silent) return;
    for (Device& device : devices_)
        device.replies.clear();
}

std::vector<KeyerReport> UnitEmulator::reportsOf(char commandLetter) const {
    std::vector<KeyerReport> found;
    std::ranges::copy_if(reports_, std::back_inserter(found), [commandLetter](const KeyerReport& report) {
        return report.letter() == commandLetter;
    });
    return found;
}

QString UnitEmulator::letters() const {
    QString letters;
    for (const KeyerReport& report : reports_)
        letters += QLatin1Char(report.letter());
    return letters;
}

int UnitEmulator::openHandles() const {
    return static_cast<int>(
        std::ranges::count_if(handles_, [](const auto& entry) { return entry.second.open; }));
}

UnitEmulator::Device* UnitEmulator::Find(const std::string& path) {
    const auto found =
        std::ranges::find(devices_, path, [](const Device& device) { return device.info.path; });
    return found == devices_.end() ? nullptr : &*found;
}

UnitEmulator::Device* UnitEmulator::FindForSetUp(const std::string& path) {
    Device* device = Find(path);
    if (!device) Misuse("the test set-up names no device at " + path);
    return device;
}

// The device behind an open handle, or nothing when the handle is misused or its device has gone.
UnitEmulator::Device* UnitEmulator::Usable(Handle handle, const char* operation) {
    const auto found = handles_.find(handle);
    if (found == handles_.end()) {
        Misuse(std::string(operation) + " on unknown handle " + std::to_string(handle));
        return nullptr;
    }
    const OpenedHandle& opened = found->second;
    if (!opened.open) {
        Misuse(std::string(operation) + " on closed handle " + std::to_string(handle));
        return nullptr;
    }
    Device* device = Find(opened.path);
    const bool sameDevice = device && device->present && device->plugCount == opened.plugCount;
    return sameDevice ? device : nullptr;
}

void UnitEmulator::CheckReportFrame(const Device& device, const std::uint8_t* data, std::size_t length) {
    const std::string& path = device.info.path;
    if (length != static_cast<std::size_t>(device.lengths.output)) {
        Misuse("Write of " + std::to_string(length) + " bytes to " + path + ", whose output report is " +
               std::to_string(device.lengths.output) + " bytes");
    }
    if (length == 0 || data[0] != 0) Misuse("Write to " + path + " without report ID 0 in front");
}

void UnitEmulator::RunCommand(Device& device, const Reply& command) {
    switch (command[0]) {
    case 'v':
        if (!silent_) device.replies.push_back(version_);
        break;
    case 'C':
        if (!silent_) {
            const bool queued = !queuedCharacterReplies_.empty();
            device.replies.push_back(Reply{queued ? queuedCharacterReplies_.front() : characterReply_});
            if (queued) queuedCharacterReplies_.pop_front();
        }
        break;
    case 'S':
        DecodeSettingsBlock(command);
        break;
    case 'T':
        keyDown_ = true;
        break;
    case 't':
        keyDown_ = false;
        break;
    default:
        break;
    }
}

void UnitEmulator::DecodeSettingsBlock(const Reply& block) {
    const std::size_t index = block[1];
    if (index >= settings_.blocks.size()) return;
    settings_.blocks[index] = block;

    // Each block alone is incomplete, so every block received decodes all three again.
    const auto& [timing, mode, spacing] = settings_.blocks;
    const int period = 65536 - (timing[2] * 256 + timing[3]);
    const int tone = static_cast<int>(std::lround(3e6 / period));
    const int dot = CountFromPair(timing[4], timing[5]);
    const int twoDots = dot + CountFromPair(mode[4], mode[5]);
    const int speed = twoDots > 0 ? static_cast<int>(std::lround(4.8 * tone / twoDots)) : 0;
    const double countsPerDot = 2.4 * tone / std::max(speed, 1);
    const int letter = CountFromPair(spacing[2], spacing[3]);
    const int word = CountFromPair(spacing[4], spacing[5]);

    settings_.toneHz = tone;
    settings_.speedWpm = speed;
    settings_.weightPercent = twoDots > 0 ? static_cast<int>(std::lround(100.0 * dot / twoDots)) : 0;
    settings_.volume = VolumeFromCount(CountFromPair(mode[2], mode[3]), period);
    settings_.letterSpace = RoundToTenth(letter / countsPerDot);
    settings_.wordSpace = RoundToTenth((word + letter) / countsPerDot);
    settings_.paddleMode = mode[6];
    settings_.keyerFeatures = mode[7];
}

bool UnitEmulator::TakeFault(Fault fault) {
    if (faults_.empty() || faults_.front() != fault) return false;
    faults_.pop_front();
    return true;
}

void UnitEmulator::Misuse(const std::string& description) {
    misuse_.push_back(description);
}
