#pragma once

// The program as the benchmarks run it: the real window on the offscreen platform, the system clock,
// and the software unit behind a port that notes when each "C" command goes out.

#include "app/ProgCon.h"
#include "emulator/UnitEmulator.h"
#include "platform/DesktopShell.h"
#include "platform/Prompts.h"
#include "platform/SystemClock.h"

#include <QEventLoop>
#include <QTemporaryDir>
#include <chrono>
#include <mutex>
#include <vector>

class QTextEdit;

using SteadyClock = std::chrono::steady_clock;

double MillisecondsBetween(SteadyClock::time_point from, SteadyClock::time_point to);

struct CharacterCommand {
    SteadyClock::time_point time;
    std::uint8_t code;
};

// Forwards everything to the unit and notes when each "C" command goes out, from whichever thread
// writes it.
class RecordingPort : public HidPort {
public:
    explicit RecordingPort(HidPort& unit) : unit_(unit) {}

    std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendorId, std::uint16_t productId) override {
        return unit_.Enumerate(vendorId, productId);
    }
    Handle Open(const std::string& path) override { return unit_.Open(path); }
    std::optional<ReportLengths> ReadReportLengths(const std::string& path) override {
        return unit_.ReadReportLengths(path);
    }
    int Write(Handle handle, const std::uint8_t* data, std::size_t length) override;
    int Read(Handle handle, std::uint8_t* data, std::size_t length, int timeoutMs) override {
        return unit_.Read(handle, data, length, timeoutMs);
    }
    void Close(Handle handle) override { unit_.Close(handle); }

    std::vector<CharacterCommand> Commands() const;
    std::size_t Count() const;
    void Clear();

    // Runs the calling thread's events until count "C" commands have gone out; false when the time
    // ran out first.
    bool RunUntil(std::size_t count, std::chrono::milliseconds timeout);

private:
    void Record(const CharacterCommand& command);

    HidPort& unit_;
    mutable std::mutex mutex_;
    std::vector<CharacterCommand> commands_;
    QEventLoop* waiting_ = nullptr;
    std::size_t awaited_ = 0;
};

// Nothing in these runs asks the operator anything; should it, the answer is the plain one.
class QuietPrompts : public Prompts {
public:
    Answer MessageBox(const QString&, const QString&, Buttons) override { return Answer::Ok; }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QString SaveFileName(const QString&, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString OpenFileName(const QString&, const QString&, const QString&, const QString&) override {
        return {};
    }
};

void RunEventsFor(std::chrono::milliseconds duration);

// The window started and shown, with what it runs on.
struct RunningProgram {
    RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    QTextEdit* Keyboard() const;
    QTextEdit* Sent() const;
    void Click(const char* button) const;

    QTemporaryDir applicationFolder;
    SystemClock clock;
    UnitEmulator unit{clock};
    RecordingPort port{unit};
    QuietPrompts prompts;
    DesktopShell shell;
    ProgCon window{{port, clock, prompts, applicationFolder.path(), shell}};
};
