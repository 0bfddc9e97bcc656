#include "send/MorseTables.h"

#include <QTest>

#include <map>
#include <string>

namespace {

// International Morse, written out here independently of the table builder.
const std::map<char, std::string> InternationalMorse = {
    {'A', ".-"},     {'B', "-..."},   {'C', "-.-."},  {'D', "-.."},    {'E', "."},     {'F', "..-."},
    {'G', "--."},    {'H', "...."},   {'I', ".."},    {'J', ".---"},   {'K', "-.-"},   {'L', ".-.."},
    {'M', "--"},     {'N', "-."},     {'O', "---"},   {'P', ".--."},   {'Q', "--.-"},  {'R', ".-."},
    {'S', "..."},    {'T', "-"},      {'U', "..-"},   {'V', "...-"},   {'W', ".--"},   {'X', "-..-"},
    {'Y', "-.--"},   {'Z', "--.."},   {'0', "-----"}, {'1', ".----"},  {'2', "..---"}, {'3', "...--"},
    {'4', "....-"},  {'5', "....."},  {'6', "-...."}, {'7', "--..."},  {'8', "---.."}, {'9', "----."},
    {',', "--..--"}, {'.', ".-.-.-"}, {'/', "-..-."}, {'?', "..--.."},
};

const std::string AR = ".-.-.";
const std::string AS = ".-...";
const std::string SK = "...-.-";
const std::string BT = "-...-";

std::size_t IndexOf(char character) {
    return static_cast<std::size_t>(character - ' ');
}

// Reads a code byte back: elements from the top bit down (1 dot, 0 dash) up to the marker bits 0 1,
// below which every bit is 0. Returns "invalid" when the byte does not follow that rule.
std::string Decode(std::uint8_t code) {
    if (code == 0) return "invalid";
    int markerOneBit = 0;
    while ((code & (1u << markerOneBit)) == 0)
        ++markerOneBit;
    const int markerZeroBit = markerOneBit + 1;
    if (markerZeroBit > 7 || (code & (1u << markerZeroBit)) != 0) return "invalid";
    std::string elements;
    for (int bit = 7; bit > markerZeroBit; --bit)
        elements += (code & (1u << bit)) ? '.' : '-';
    return elements.empty() ? "invalid" : elements;
}

int ExpectedLength(const std::string& elements) {
    int length = 0;
    for (const char element : elements)
        length += element == '.' ? 2 : 4;
    return length;
}

// The pattern a character should carry: its own, a prosign in its place, or BT.
std::string ExpectedElements(char character) {
    const auto own = InternationalMorse.find(character);
    if (own != InternationalMorse.end()) return own->second;
    switch (character) {
    case '[':
        return AR;
    case '\'':
        return AS;
    case '=':
        return SK;
    default:
        return BT;
    }
}

} // namespace

class MorseTablesTest : public QObject {
    Q_OBJECT

private slots:
    void everyCharacterDecodesToItsPatternAndLength() {
        const MorseTables tables = BuildMorseTables();
        for (char character = '!'; character <= '['; ++character) {
            const std::size_t index = IndexOf(character);
            const std::string expected = ExpectedElements(character);
            QCOMPARE(Decode(tables.MorseCodeTable[index]), expected);
            QCOMPARE(int(tables.MorseLengthTable[index]), ExpectedLength(expected));
        }
    }

    void listedCodeBytes() {
        const MorseTables tables = BuildMorseTables();
        const std::map<char, int> listed = {
            {'E', 0xA0}, {'T', 0x20}, {'0', 0x02},  {'?', 0xCD}, {';', 0x72},
            {'[', 0xAA}, {'=', 0xE9}, {'\'', 0xBA}, {',', 0x31}, {'.', 0xA9},
        };
        for (const auto& [character, code] : listed)
            QCOMPARE(int(tables.MorseCodeTable[IndexOf(character)]), code);
        QCOMPARE(int(tables.MorseLengthTable[IndexOf('0')]), 20);
        QCOMPARE(int(tables.MorseLengthTable[IndexOf('E')]), 2);
    }

    void punctuationWithoutPatternGoesOutAsBreak() {
        const MorseTables tables = BuildMorseTables();
        for (const char character : {'-', '(', ')', '!', '@', ':', '<', '>', '+'}) {
            QCOMPARE(int(tables.MorseCodeTable[IndexOf(character)]), 0x72);
            QCOMPARE(int(tables.MorseLengthTable[IndexOf(character)]), 14);
        }
    }

    void spaceIsWordSpace() {
        const MorseTables tables = BuildMorseTables();
        QCOMPARE(int(tables.MorseCodeTable[IndexOf(' ')]), 255);
        QCOMPARE(int(tables.MorseLengthTable[IndexOf(' ')]), 255);
    }
};

QTEST_APPLESS_MAIN(MorseTablesTest)
#include "test_send_morse.moc"
