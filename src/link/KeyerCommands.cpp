#include "link/KeyerCommands.h"

#include "platform/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::uint8_t Filler = 0x7A;
constexpr std::uint8_t SettingsLetter = 'S';
constexpr long long LargestCount = 65280; // 255 * 256: the largest count whose high byte fits

KeyerCommand FilledCommand(std::uint8_t letter, std::uint8_t filler) {
    KeyerCommand command;
    command.fill(filler);
    command[0] = letter;
    return command;
}

// Single precision as the unit's counts are computed; values beyond float's range are held at its
// ends rather than converted out of range.
float ToSingle(double value) {
    constexpr double largest = std::numeric_limits<float>::max();
    if (std::isnan(value)) return 0.0F;
    return static_cast<float>(std::clamp(value, -largest, largest));
}

// The timer reload is the one pair sent plainly, without the count format's added 1.
CountPair PlainPair(int value) {
    return {static_cast<std::uint8_t>(value / 256), static_cast<std::uint8_t>(value % 256)};
}

std::uint8_t PaddleModeFor(const PaddleFeatures& paddles) {
    constexpr std::uint8_t rightHand = 0x3A;
    constexpr std::uint8_t leftHandBit = 0x20;
    return paddles.rightHand ? rightHand : rightHand - leftHandBit;
}

std::uint8_t KeyerFeaturesFor(const PaddleFeatures& paddles) {
    return static_cast<std::uint8_t>((paddles.iambic ? 4 : 0) | (paddles.dotMemory ? 2 : 0) |
                                     (paddles.dashMemory ? 1 : 0));
}

struct Counts {
    CountPair reload;
    CountPair dot;
    CountPair dash;
    CountPair volume;
    CountPair elementSpace;
    CountPair letterSpace;
    CountPair wordSpace;
};

CountPair VolumeCount(int volume, int tonePeriod) {
    if (volume == 0) return {0, 0};
    const double level = ((1.0 - std::log(300.0 - volume) / 5.702) * 2.65 * tonePeriod) / 3.0;
    return EncodeCount(ToSingle(level));
}

Counts CountsFor(int speed, int weight, int tone, int volume, double letter, double word) {
    const int tonePeriod = static_cast<int>(RoundHalfEven(3000000.0 / tone));
    const float dot = ToSingle(weight * 4.8 * tone / (speed * 100.0));
    const float elementSpace = ToSingle((100 - weight) * 4.8 * tone / (speed * 100.0));
    const float dash = dot + dot + elementSpace;
    const float letterSpace = ToSingle(letter * 2.4 * tone / speed);
    const double wordSpace = word * 2.4 * tone / speed - letterSpace;
    return {PlainPair(65536 - tonePeriod),
            EncodeCount(dot),
            EncodeCount(dash),
            VolumeCount(volume, tonePeriod),
            EncodeCount(elementSpace),
            EncodeCount(letterSpace),
            EncodeCount(ToSingle(wordSpace < 0 ? 1.0 : wordSpace))};
}

KeyerCommand SettingsBlock(std::uint8_t number, CountPair first, CountPair second, std::uint8_t seventh,
                           std::uint8_t eighth) {
    return {SettingsLetter, number, first.high, first.low, second.high, second.low, seventh, eighth};
}

QChar VersionCharacter(std::uint8_t replyByte) {
    constexpr int digitZero = 48;
    constexpr std::uint8_t largestShown = 255 - digitZero;
    return replyByte > largestShown ? QChar(u'?') : QChar(static_cast<char16_t>(digitZero + replyByte));
}

} // namespace

CountPair EncodeCount(double x) {
    const long long count = std::clamp(RoundHalfEven(x), 0LL, LargestCount);
    const auto low = static_cast<std::uint8_t>(count % 256);
    return {static_cast<std::uint8_t>(count / 256 + (low != 0 ? 1 : 0)), low};
}

KeyerEncoding EncodeKeyerSettings(const KeyerSettings& settings) {
    const int speed = std::clamp(settings.speed, 1, 255);
    const int tone = std::clamp(settings.tone, 92, 32767);
    const Counts counts =
        CountsFor(speed, std::clamp(settings.weight, 0, 255), tone, std::clamp(settings.volume, 0, 255),
                  settings.letterSpace, settings.wordSpace);
    const std::uint8_t paddleMode = PaddleModeFor(settings.paddles);
    const std::uint8_t keyerFeatures = KeyerFeaturesFor(settings.paddles);
    return {{SettingsBlock(0, counts.reload, counts.dot, counts.dash.high, counts.dash.low),
             SettingsBlock(1, counts.volume, counts.elementSpace, paddleMode, keyerFeatures),
             SettingsBlock(2, counts.letterSpace, counts.wordSpace, Filler, Filler)},
            static_cast<int>(RoundHalfEven(1200.0 / speed)),
            paddleMode,
            keyerFeatures};
}

KeyerCommand SendCharacterCommand(std::uint8_t code) {
    KeyerCommand command = FilledCommand('C', 0x00);
    command[1] = code;
    return command;
}

KeyerCommand TuneOnCommand() {
    return FilledCommand('T', Filler);
}

KeyerCommand TuneOffCommand() {
    return FilledCommand('t', Filler);
}

KeyerCommand VersionRequestCommand() {
    return FilledCommand('v', Filler);
}

QString FirmwareText(const std::array<std::uint8_t, 9>& receiveBuffer) {
    return QStringLiteral("Firmware Version: ") + VersionCharacter(receiveBuffer[1]) + u'.' +
           VersionCharacter(receiveBuffer[2]) + u'.' + VersionCharacter(receiveBuffer[3]);
}
