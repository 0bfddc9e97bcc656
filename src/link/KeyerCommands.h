#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The eight command bytes of every command the unit understands, and the encoding of the keyer
// settings into its counts. No I/O here: the link writes the bytes.

using KeyerCommand = std::array<std::uint8_t, 8>;

// A count as the unit takes it: high then low, the high byte one more whenever the low byte is not 0.
struct CountPair {
    std::uint8_t high;
    std::uint8_t low;
};

// The count pair of x rounded halves to even; counts outside 0..65280 (what the pair can carry) are
// held at the nearer end.
CountPair EncodeCount(double x);

// How the unit's keyer answers the paddles.
struct PaddleFeatures {
    bool iambic = true; // else dash override
    bool dotMemory = true;
    bool dashMemory = true;
    bool rightHand = true;

    bool operator==(const PaddleFeatures&) const = default;
};

struct KeyerSettings {
    int speed = 25;           // words per minute
    int weight = 50;          // percent of the dot-and-space time given to the dot
    int tone = 680;           // sidetone, hertz
    int volume = 0;           // 0..100
    double letterSpace = 2.0; // dot lengths
    double wordSpace = 6.0;   // dot lengths
    PaddleFeatures paddles{};
};

struct KeyerEncoding {
    std::array<KeyerCommand, 3> blocks; // settings blocks 0, 1 and 2, in the order they are written
    int dotMilliseconds;
    std::uint8_t paddleMode;
    std::uint8_t keyerFeatures;
};

// The three settings blocks and the values derived with them. Settings the unit's formulas cannot
// take are first held within what they can: speed 1..255, tone 92..32767 Hz, weight and volume 0..255.
KeyerEncoding EncodeKeyerSettings(const KeyerSettings& settings);

KeyerCommand SendCharacterCommand(std::uint8_t code);
KeyerCommand TuneOnCommand();
KeyerCommand TuneOffCommand();
KeyerCommand VersionRequestCommand();

// The status line for the unit's reply to the version request: reply bytes 1, 2 and 3 (receiveBuffer
// indices) as the characters 48 plus the byte; a byte above 207 has no such character and shows as "?".
QString FirmwareText(const std::array<std::uint8_t, 9>& receiveBuffer);
