#pragma once

#include "emulator/UnitEmulator.h"
#include "link/KeyerCommands.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <span>

// The unit's sidetone as samples. A character command sounds its dots and dashes, timed from the speed
// and weight and pitched and loud as the tone and volume the unit holds; the tune command holds a steady
// tone until it is released. Plain arithmetic with no audio device: the caller plays what Render gives.
class Sidetone {
public:
    explicit Sidetone(int sampleRate);

    // One command as the unit received it, with the settings the unit held at that moment. A character
    // starts sounding the given delay after the samples rendered so far (when nothing is still to sound),
    // so that the player can keep the spacing the host gave the characters however it fetches samples.
    void Hear(const KeyerCommand& command, const DecodedSettings& settings, double delayMilliseconds = 0);
    // The next 16-bit mono samples: the elements still to sound, then the tune tone or silence.
    void Render(std::span<std::int16_t> samples);

private:
    struct Tone {
        double frequency = 0;
        double amplitude = 0; // 0..1 of full scale; 0 is silence
    };
    struct Segment {
        std::int64_t length; // samples
        Tone tone;
    };
    struct Tuning {
        Tone tone;
        std::int64_t played = 0;
    };

    void QueueCharacter(std::uint8_t code, const DecodedSettings& settings, Tone tone, double delay);
    void Queue(double milliseconds, Tone tone);
    double Wave(const Tone& tone, std::int64_t position) const;
    double Ramp(double samplesFromEdge, double length) const;

    int sampleRate_;
    std::deque<Segment> queue_;
    std::int64_t played_ = 0;      // samples of the first queued segment already rendered
    std::optional<Tuning> tuning_; // while the key is held down
};
