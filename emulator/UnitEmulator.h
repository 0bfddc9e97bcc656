#pragma once

#include "platform/Clock.h"
#include "platform/HidPort.h"

#include <QString>
#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

// One output report as a device received it.
struct KeyerReport {
    std::vector<std::uint8_t> bytes; // as written: report ID first, then the command bytes and padding
    std::string path;
    std::int64_t time = 0; // the clock's tick count when it was written

    char letter() const { return bytes.size() > 1 ? static_cast<char>(bytes[1]) : '\0'; }
};

// The keyer settings read back out of the three "S" blocks. The host's rounding is inverted, so the
// values come back to the nearest step the controls offer.
struct DecodedSettings {
    int speedWpm = 0;
    int weightPercent = 0;
    int toneHz = 0;
    int volume = 0;
    double letterSpace = 0; // dot lengths, to 0.1
    double wordSpace = 0;   // dot lengths, to 0.1
    std::uint8_t paddleMode = 0;
    std::uint8_t keyerFeatures = 0;
    std::array<std::array<std::uint8_t, 8>, 3> blocks{}; // the last block 0, 1 and 2 received, as sent
};

// A software model of the interface unit behind the HID seam, with other HID devices beside it.
// Every unit listed (vendor 0x0925, product 0x00E7) runs the same firmware model; each device keeps its
// own queue of replies. Misuse of the port (a handle used after closing, a malformed report) is recorded
// for the tests to assert on, never thrown.
class UnitEmulator : public HidPort {
public:
    static constexpr const char* UnitPath = "/dev/hidraw-unit";
    static constexpr std::uint16_t UnitVendor = 0x0925;
    static constexpr std::uint16_t UnitProduct = 0x00E7;

    explicit UnitEmulator(Clock& clock);

    std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendorId, std::uint16_t productId) override;
    Handle Open(const std::string& path) override;
    std::optional<ReportLengths> ReadReportLengths(const std::string& path) override;
    int Write(Handle handle, const std::uint8_t* data, std::size_t length) override;
    // A reply comes without report ID; nothing to read costs the whole time-out on the clock.
    int Read(Handle handle, std::uint8_t* data, std::size_t length, int timeoutMs) override;
    void Close(Handle handle) override;

    // Devices. Adding a path that is listed already replaces its description in place.
    void AddDevice(const std::string& path, std::uint16_t vendorId, std::uint16_t productId,
                   ReportLengths lengths, bool canOpen = true);
    // Handles opened before an unplug stay dead after the device is plugged back.
    void Unplug(const std::string& path = UnitPath);
    // A device plugged back is listed after those that stayed.
    void Plug(const std::string& path = UnitPath);
    void SetDescriptorReadable(const std::string& path, bool readable);

    // Firmware behaviour.
    void SetVersion(std::uint8_t major, std::uint8_t minor, std::uint8_t revision);
    void SetCharacterReply(std::uint8_t byte1);
    // Byte 1 of the replies to the next "C" commands, one each, before the standing reply resumes.
    void QueueCharacterReplies(const std::vector<std::uint8_t>& bytes1);
    // A silent unit takes commands but never answers.
    void SetSilent(bool silent);
    // One misbehaviour each, taken by the next operation it applies to, in the order given.
    enum class Fault {
        FailedWrite,     // the write fails and nothing reaches the unit
        ShortWrite,      // part of the report is written; the unit takes no command from it
        FailedRead,      // the read fails; the reply is lost
        LateReply,       // the reply comes only after the reader's time-out
        SecondOpenFails, // the device opens once but not a second time
    };
    void InjectFault(Fault fault) { faults_.push_back(fault); }
    // Milliseconds of the clock that every enumeration takes, as a real bus walk does.
    void SetEnumerationCost(int milliseconds) { enumerationCost_ = milliseconds; }

    // What the devices saw.
    const std::vector<KeyerReport>& reports() const { return reports_; }
    std::vector<KeyerReport> reportsOf(char commandLetter) const;
    // The command letters of every report, in the order written ("TtSSS").
    QString letters() const;
    void ClearReports() { reports_.clear(); }
    const DecodedSettings& settings() const { return settings_; }
    bool keyDown() const { return keyDown_; }
    const std::vector<std::string>& misuse() const { return misuse_; }
    int enumerations() const { return enumerations_; }
    int opens() const { return opens_; }
    int openHandles() const;

private:
    using Reply = std::array<std::uint8_t, 8>;

    struct Device {
        HidDeviceInfo info;
        ReportLengths lengths;
        bool canOpen = true;
        bool descriptorReadable = true;
        bool present = true;
        int plugCount = 0; // tells handles of an earlier plug-in from current ones
        std::deque<Reply> replies{};
    };
    struct OpenedHandle {
        std::string path;
        int plugCount = 0;
        bool open = true;
    };

    Device* Find(const std::string& path);
    Device* FindForSetUp(const std::string& path);
    Device* Usable(Handle handle, const char* operation);
    void CheckReportFrame(const Device& device, const std::uint8_t* data, std::size_t length);
    void RunCommand(Device& device, const Reply& command);
    void DecodeSettingsBlock(const Reply& block);
    void Misuse(const std::string& description);
    bool TakeFault(Fault fault);

    Clock& clock_;
    std::vector<Device> devices_; // enumeration order
    std::map<Handle, OpenedHandle> handles_;
    Handle nextHandle_ = 1;
    Reply version_{1, 0, 7};
    std::uint8_t characterReply_ = 0;
    std::deque<std::uint8_t> queuedCharacterReplies_;
    bool silent_ = false;
    bool keyDown_ = false;
    DecodedSettings settings_;
    std::vector<KeyerReport> reports_;
    std::vector<std::string> misuse_;
    int enumerations_ = 0;
    int enumerationCost_ = 0;
    std::deque<Fault> faults_;
    int opens_ = 0;
};
