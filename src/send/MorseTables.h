#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// The first character the tables hold; an entry sits at its character code minus this.
constexpr int MorseTableFirstCharacter = ' ';

// Code byte of the space: the unit leaves a word space. Its length entry holds the same value and is
// not a duration (a space is timed from the word-space setting).
constexpr std::uint8_t MorseWordSpace = 255;

// The key that types the break prosign BT: characters without a code of their own go out as BT and
// show as this key in the Sent window, as every prosign shows as the key that types it.
constexpr char BreakKey = ';';

// Code bytes the unit turns into dots and dashes, the on-air length of each character in dot
// lengths including its trailing element gap, and what the Sent window shows for it, for the
// characters space .. '['.
struct MorseTables {
    std::array<std::uint8_t, 60> MorseCodeTable{};
    std::array<std::uint8_t, 60> MorseLengthTable{};
    std::array<char, 60> SentEchoTable{};
};

MorseTables BuildMorseTables();

// A prosign that marks name ("SN") although no key types it: its code byte and length, as the tables
// hold them for a character. Nothing for a name this program does not know.
struct NamedProsign {
    std::uint8_t code;
    std::uint8_t length;
};
std::optional<NamedProsign> ProsignNamed(std::string_view name);
