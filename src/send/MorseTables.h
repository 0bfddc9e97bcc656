#pragma once

#include <array>
#include <cstdint>

// The first character the tables hold; an entry sits at its character code minus this.
constexpr int MorseTableFirstCharacter = ' ';

// Code byte of the space: the unit leaves a word space. Its length entry holds the same value and is
// not a duration (a space is timed from the word-space setting).
constexpr std::uint8_t MorseWordSpace = 255;

// Code bytes the unit turns into dots and dashes, and the on-air length of each character in dot
// lengths including its trailing element gap, for the characters space .. '['.
struct MorseTables {
    std::array<std::uint8_t, 60> MorseCodeTable{};
    std::array<std::uint8_t, 60> MorseLengthTable{};
};

MorseTables BuildMorseTables();
