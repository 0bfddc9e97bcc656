#include "network/CwDaemonProtocol.h"

#include "network/NetworkText.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace CwDaemon {

namespace {

constexpr long long LargestMagnitude = 999'999'999;

struct SettingRule {
    Setting setting;
    const char* name;
    int minimum;
    int maximum;
};

// The ranges cwdaemon's documentation gives. For the tone its README says 300..1000 Hz while
// "cwdaemon -h" says 0..4000; the wider one is taken, as the window holds the tone to its own range.
constexpr SettingRule SettingRules[] = {
    {Setting::Speed, "speed", 5, 60},
    {Setting::Tone, "tone", 0, 4000},
    {Setting::Weight, "weight", -50, 50},
    {Setting::Volume, "volume", 0, 100},
};

std::optional<int> ReadNumber(QByteArrayView text) {
    text = text.trimmed();
    const bool negative = text.startsWith('-');
    if (negative || text.startsWith('+')) text = text.sliced(1);
    if (text.isEmpty()) return std::nullopt;
    long long magnitude = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9') return std::nullopt;
        magnitude = std::min(magnitude * 10 + (digit - '0'), LargestMagnitude);
    }
    return int(negative ? -magnitude : magnitude);
}

Request NotANumber(const char* name) {
    return Refused{QStringLiteral("the %1 is not a number").arg(name)};
}

Request ChangeSettingRequest(Setting setting, QByteArrayView valueText) {
    const SettingRule& rule =
        *std::ranges::find(SettingRules, setting, [](const SettingRule& each) { return each.setting; });
    const std::optional<int> value = ReadNumber(valueText);
    if (!value) return NotANumber(rule.name);
    if (*value < rule.minimum || *value > rule.maximum)
        return Refused{QStringLiteral("%1 %2 is outside %3..%4")
                           .arg(rule.name)
                           .arg(*value)
                           .arg(rule.minimum)
                           .arg(rule.maximum)};
    return ChangeSetting{setting, *value};
}

Request TuneRequest(QByteArrayView valueText) {
    const std::optional<int> seconds = ReadNumber(valueText);
    if (!seconds) return NotANumber("tune time");
    if (*seconds < 0) return Refused{QStringLiteral("tune time %1 is below 0").arg(*seconds)};
    return Tune{std::min(*seconds, MaxTuneSeconds)};
}

// The letter as the status line can show it, whatever byte it is.
QString LetterText(char letter) {
    if (letter > ' ' && letter < '\x7f') return QString(QLatin1Char(letter));
    return QStringLiteral("byte %1").arg(static_cast<unsigned char>(letter), 2, 16, QLatin1Char('0'));
}

// Requests that mean nothing for this unit: accepted, and named in the status line.
constexpr std::pair<char, const char*> IgnoredRequests[] = {
    {'5', "exit"},      {'6', "word mode"},  {'8', "keying device"},
    {'9', "port"},      {'a', "PTT"},        {'b', "SSB audio source"},
    {'d', "PTT delay"}, {'e', "band index"}, {'f', "sound system"}};

Request EscapeRequest(char letter, QByteArrayView value) {
    switch (letter) {
    case '0':
        return Reset{};
    case '2':
        return ChangeSettingRequest(Setting::Speed, value);
    case '3':
        return ChangeSettingRequest(Setting::Tone, value);
    case '4':
        return Abort{};
    case '7':
        return ChangeSettingRequest(Setting::Weight, value);
    case 'c':
        return TuneRequest(value);
    case 'g':
        return ChangeSettingRequest(Setting::Volume, value);
    case 'h':
        return AskReply{value.toByteArray()};
    }
    for (const auto& [ignored, name] : IgnoredRequests) {
        if (letter == ignored) return Ignored{QString::fromLatin1(name)};
    }
    return Refused{QStringLiteral("unknown request ESC %1").arg(LetterText(letter))};
}

} // namespace

Request ParseDatagram(QByteArrayView datagram) {
    if (datagram.isEmpty()) return Nothing{};
    if (datagram.size() > MaxDatagramBytes)
        return Refused{QStringLiteral("a datagram longer than %1 bytes").arg(MaxDatagramBytes)};
    if (datagram.front() != Escape) return SendText{KeyboardTextFromNetwork(datagram)};
    if (datagram.size() == 1) return Refused{QStringLiteral("an ESC without a request letter")};
    return EscapeRequest(datagram[1], datagram.sliced(2));
}

} // namespace CwDaemon
