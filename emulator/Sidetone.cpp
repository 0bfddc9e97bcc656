#include "emulator/Sidetone.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace {

// The code of the space: the host times the pause after a word itself, so it sounds nothing here.
constexpr std::uint8_t WordSpaceCode = 0xFF;

// Marks start and end on a short raised-cosine ramp, so that keying makes no click.
constexpr double RampMilliseconds = 4;

// The elements of a code byte from its top bit down, dots as true; the lowest bit set is the end
// marker's 1, with the marker's 0 just above it.
std::vector<bool> Elements(std::uint8_t code) {
    if (code == 0 || code == WordSpaceCode) return {};
    const int marker = std::countr_zero(code);
    std::vector<bool> dots;
    for (int bit = 7; bit > marker + 1; --bit)
        dots.push_back(((code >> bit) & 1) != 0);
    return dots;
}

} // namespace

Sidetone::Sidetone(int sampleRate) : sampleRate_(sampleRate) {}

void Sidetone::Hear(const KeyerCommand& command, const DecodedSettings& settings, double delayMilliseconds) {
    const Tone tone{static_cast<double>(settings.toneHz), settings.volume / 100.0};
    switch (command[0]) {
    case 'C':
        QueueCharacter(command[1], settings, tone, delayMilliseconds);
        break;
    case 'T':
        // The key repeats its command while held; the tone goes on unbroken.
        if (!tuning_) tuning_ = Tuning{tone};
        break;
    case 't':
        tuning_.reset();
        break;
    default:
        break;
    }
}

// Weight moves time from the space after an element into its mark; mark and space together stay two
// dot lengths for a dot and four for a dash.
void Sidetone::QueueCharacter(std::uint8_t code, const DecodedSettings& settings, Tone tone, double delay) {
    const std::vector<bool> elements = Elements(code);
    if (settings.speedWpm <= 0 || elements.empty()) return;
    if (queue_.empty()) Queue(delay, Tone{});
    const double dot = 1200.0 / settings.speedWpm;
    const double weight = settings.weightPercent / 50.0;
    for (const bool isDot : elements) {
        Queue(dot * (isDot ? weight : 2 + weight), tone);
        Queue(dot * (2 - weight), Tone{});
    }
}

void Sidetone::Queue(double milliseconds, Tone tone) {
    const auto length = std::llround(milliseconds * sampleRate_ / 1000);
    if (length > 0) queue_.push_back(Segment{length, tone});
}

double Sidetone::Wave(const Tone& tone, std::int64_t position) const {
    return tone.amplitude *
           std::sin(2 * std::numbers::pi * tone.frequency * static_cast<double>(position) / sampleRate_);
}

double Sidetone::Ramp(double samplesFromEdge, double length) const {
    const double ramp = std::min(RampMilliseconds * sampleRate_ / 1000, length / 2);
    return samplesFromEdge < ramp ? (1 - std::cos(std::numbers::pi * samplesFromEdge / ramp)) / 2 : 1;
}

void Sidetone::Render(std::span<std::int16_t> samples) {
    for (std::int16_t& sample : samples) {
        double value = 0;
        if (!queue_.empty()) {
            const Segment& segment = queue_.front();
            const auto length = static_cast<double>(segment.length);
            const auto played = static_cast<double>(played_);
            value = Wave(segment.tone, played_) * Ramp(std::min(played, length - played), length);
            if (++played_ == segment.length) {
                queue_.pop_front();
                played_ = 0;
            }
        } else if (tuning_) {
            value = Wave(tuning_->tone, tuning_->played) *
                    Ramp(static_cast<double>(tuning_->played), std::numeric_limits<double>::infinity());
            ++tuning_->played;
        }
        sample = static_cast<std::int16_t>(std::lround(value * 32767));
    }
}
