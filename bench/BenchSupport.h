#pragma once

// What the benchmarks share: the running window's unit seen through a port that notes each "C"
// command, the event loop run for a time or until commands came, and the figures' statistics.

#include "emulator/UnitEmulator.h"
#include "platform/Prompts.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <numeric>
#include <vector>

namespace bench {

using SteadyClock = std::chrono::steady_clock;
using Microseconds = std::chrono::time_point<SteadyClock, std::chrono::microseconds>;

struct CharacterCommand {
    Microseconds time;
    std::uint8_t code;
};

inline double MillisecondsBetween(Microseconds from, Microseconds to) {
    return (to - from).count() / 1000.0;
}

// Forwards everything to the unit and notes when each "C" command goes out.
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
    int Write(Handle handle, const std::uint8_t* data, std::size_t length) override {
        const Microseconds now = std::chrono::time_point_cast<std::chrono::microseconds>(SteadyClock::now());
        if (length > 2 && data[1] == 'C') {
            commands.push_back({now, data[2]});
            if (onCharacterCommand) onCharacterCommand();
        }
        return unit_.Write(handle, data, length);
    }
    int Read(Handle handle, std::uint8_t* data, std::size_t length, int timeoutMs) override {
        return unit_.Read(handle, data, length, timeoutMs);
    }
    void Close(Handle handle) override { unit_.Close(handle); }

    std::vector<CharacterCommand> commands;
    std::function<void()> onCharacterCommand;

private:
    HidPort& unit_;
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

inline void RunEventsFor(std::chrono::milliseconds duration) {
    QEventLoop events;
    QTimer::singleShot(duration, Qt::PreciseTimer, &events, &QEventLoop::quit);
    events.exec();
}

// Runs the event loop until the port has seen count "C" commands; false when the time ran out first.
inline bool RunUntilCommands(RecordingPort& port, std::size_t count, std::chrono::milliseconds timeout) {
    if (port.commands.size() >= count) return true;
    QEventLoop events;
    port.onCharacterCommand = [&] {
        if (port.commands.size() >= count) events.quit();
    };
    QTimer::singleShot(timeout, &events, &QEventLoop::quit);
    events.exec();
    port.onCharacterCommand = nullptr;
    return port.commands.size() >= count;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Nearest rank: the smallest value with at least the fraction of all values at or below it.
inline double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
    return values[std::max<std::size_t>(rank, 1) - 1];
}

inline double Maximum(const std::vector<double>& values) {
    return *std::max_element(values.begin(), values.end());
}

inline double Mean(const std::vector<double>& values) {
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

inline const char* Verdict(bool met) {
    return met ? "met" : "MISSED";
}

inline QString CpuModel() {
    QFile cpuInfo(QStringLiteral("/proc/cpuinfo"));
    if (!cpuInfo.open(QIODevice::ReadOnly)) return QStringLiteral("unknown");
    for (const QByteArray& line : cpuInfo.readAll().split('\n')) {
        if (line.startsWith("model name"))
            return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
    }
    return QStringLiteral("unknown");
}

inline QString LoadAverage() {
    QFile load(QStringLiteral("/proc/loadavg"));
    if (!load.open(QIODevice::ReadOnly)) return QStringLiteral("unknown");
    return QString::fromUtf8(load.readAll().trimmed());
}

} // namespace bench
