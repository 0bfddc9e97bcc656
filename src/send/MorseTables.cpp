#include "send/MorseTables.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace {

struct MorsePattern {
    char character;
    std::string_view elements;
};

constexpr std::string_view BreakProsign = "-...-";

// Characters without a pattern of their own go out as the break prosign. The prosigns AS, SK and AR
// take the places of the apostrophe, '=' and '['; '(' is KN.
constexpr std::array<MorsePattern, 53> MorsePatterns{{
    {'A', ".-"},     {'B', "-..."},       {'C', "-.-."},   {'D', "-.."},    {'E', "."},      {'F', "..-."},
    {'G', "--."},    {'H', "...."},       {'I', ".."},     {'J', ".---"},   {'K', "-.-"},    {'L', ".-.."},
    {'M', "--"},     {'N', "-."},         {'O', "---"},    {'P', ".--."},   {'Q', "--.-"},   {'R', ".-."},
    {'S', "..."},    {'T', "-"},          {'U', "..-"},    {'V', "...-"},   {'W', ".--"},    {'X', "-..-"},
    {'Y', "-.--"},   {'Z', "--.."},       {'0', "-----"},  {'1', ".----"},  {'2', "..---"},  {'3', "...--"},
    {'4', "....-"},  {'5', "....."},      {'6', "-...."},  {'7', "--..."},  {'8', "---.."},  {'9', "----."},
    {',', "--..--"}, {'.', ".-.-.-"},     {'/', "-..-."},  {'?', "..--.."}, {'=', "...-.-"}, {'\'', ".-..."},
    {'[', ".-.-."},  {';', BreakProsign}, {'-', "-....-"}, {'(', "-.--."},  {')', "-.--.-"}, {'@', ".--.-."},
    {':', "---..."}, {'"', ".-..-."},     {'+', ".-.-."},  {'!', "-.-.--"}, {'&', ".-..."},
}};

// Prosigns that no key types, by the names marks give them.
constexpr std::array<std::pair<std::string_view, std::string_view>, 1> NamedProsigns{{{"SN", "...-."}}};

// Six elements and the two marker bits fill the code byte.
constexpr std::size_t MaxElements = 6;
constexpr bool Fits(std::string_view elements) {
    return !elements.empty() && elements.size() <= MaxElements &&
           elements.find_first_not_of(".-") == std::string_view::npos;
}
static_assert(std::ranges::all_of(MorsePatterns,
                                  [](const MorsePattern& pattern) { return Fits(pattern.elements); }));
static_assert(std::ranges::all_of(NamedProsigns, [](const auto& prosign) { return Fits(prosign.second); }));

// Elements from the most significant bit down (1 = dot, 0 = dash), then the marker bits 0 and 1.
std::uint8_t CodeByte(std::string_view elements) {
    unsigned code = 0;
    int bit = 7;
    for (const char element : elements) {
        if (element == '.') code |= 1u << bit;
        --bit;
    }
    const int markerOneBit = bit - 1;
    code |= 1u << markerOneBit;
    return static_cast<std::uint8_t>(code);
}

// A dot and a dash each carry the one-dot gap that follows them.
std::uint8_t LengthInDots(std::string_view elements) {
    const auto dots = std::ranges::count(elements, '.');
    const auto dashes = std::ranges::count(elements, '-');
    return static_cast<std::uint8_t>(2 * dots + 4 * dashes);
}

void SetEntry(MorseTables& tables, char character, std::string_view elements) {
    const auto index = static_cast<std::size_t>(character - MorseTableFirstCharacter);
    tables.MorseCodeTable.at(index) = CodeByte(elements);
    tables.MorseLengthTable.at(index) = LengthInDots(elements);
    tables.SentEchoTable.at(index) = character;
}

} // namespace

MorseTables BuildMorseTables() {
    MorseTables tables;
    tables.MorseCodeTable.fill(CodeByte(BreakProsign));
    tables.MorseLengthTable.fill(LengthInDots(BreakProsign));
    tables.SentEchoTable.fill(BreakKey);
    tables.MorseCodeTable.front() = MorseWordSpace;
    tables.MorseLengthTable.front() = MorseWordSpace;
    tables.SentEchoTable.front() = ' ';
    for (const auto& [character, elements] : MorsePatterns)
        SetEntry(tables, character, elements);
    return tables;
}

std::optional<NamedProsign> ProsignNamed(std::string_view name) {
    const auto found =
        std::ranges::find(NamedProsigns, name, &std::pair<std::string_view, std::string_view>::first);
    if (found == NamedProsigns.end()) return std::nullopt;
    return NamedProsign{CodeByte(found->second), LengthInDots(found->second)};
}
