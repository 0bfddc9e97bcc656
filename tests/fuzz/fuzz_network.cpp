// The network keyer's reading of a datagram, and of a listening address. Whatever the bytes, a
// datagram over the limit is refused whole; a setting lands inside its window range; the text holds
// only what the Keyboard window keys (never the repeat marker "<") and marks the protocol asks for, the
// last of them back to the operator's speed when the speed marks do not add up to nothing; nothing after
// a line end is keyed; an address that is read writes back as the same address.

#include "FuzzInput.h"
#include "network/CwDaemonProtocol.h"
#include "network/ListenAddress.h"
#include "network/NetworkText.h"
#include "network/WindowSettings.h"
#include "profile/SettingRanges.h"
#include "send/InlineMarks.h"

#include <algorithm>

namespace {

void CheckKeyable(const QString& text) {
    int speedChange = 0;
    for (qsizetype at = 0; at < text.size();) {
        if (const std::optional<FoundMark> found = ReadMark(text, at)) {
            const auto* speed = std::get_if<SpeedMark>(&found->mark);
            FUZZ_CHECK(!speed || speed->change != SpeedMark::Change::To);
            FUZZ_CHECK(!std::holds_alternative<ProsignMark>(found->mark) ||
                       std::get<ProsignMark>(found->mark).name == u"SN");
            if (speed && speed->change == SpeedMark::Change::BackToOperator)
                FUZZ_CHECK(speedChange != 0 && at + found->length == text.size());
            if (speed) speedChange += speed->wordsPerMinute;
            at += found->length;
            continue;
        }
        FUZZ_CHECK(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ,./?\":@)([;='").contains(text[at]));
        ++at;
    }
}

bool Within(int value, ControlRange range) {
    return value >= range.minimum && value <= range.maximum;
}

void CheckRequest(const CwDaemon::Request& request, qsizetype size) {
    FUZZ_CHECK(size <= CwDaemon::MaxDatagramBytes || std::holds_alternative<CwDaemon::Refused>(request));
    if (const auto* text = std::get_if<CwDaemon::SendText>(&request)) CheckKeyable(text->keyboardText);
    if (const auto* tune = std::get_if<CwDaemon::Tune>(&request))
        FUZZ_CHECK(tune->seconds >= 0 && tune->seconds <= CwDaemon::MaxTuneSeconds);
    // Whichever setting it is, every mapping holds the value inside its control's range.
    if (const auto* change = std::get_if<CwDaemon::ChangeSetting>(&request)) {
        FUZZ_CHECK(Within(SpeedControlValue(change->value), speedRange));
        FUZZ_CHECK(Within(WeightControlValue(change->value), weightRange));
        FUZZ_CHECK(Within(VolumeControlValue(change->value), volumeRange));
        FUZZ_CHECK(Within(ToneControlValue(change->value).value_or(toneRange.minimum), toneRange));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    CheckRequest(CwDaemon::ParseDatagram(bytes), bytes.size());

    const QString text = KeyboardTextFromNetwork(bytes);
    CheckKeyable(text);
    const qsizetype lineEnd =
        std::ranges::find_if(bytes, [](char c) { return c == '\r' || c == '\n'; }) - bytes.begin();
    FUZZ_CHECK(text == KeyboardTextFromNetwork(bytes.first(lineEnd)));

    const ParsedListenAddress parsed = ParseListenAddress(QString::fromUtf8(bytes));
    FUZZ_CHECK(parsed.address.has_value() == parsed.error.isEmpty());
    if (parsed.address)
        FUZZ_CHECK(parsed.address->port > 0 &&
                   ParseListenAddress(ListenAddressText(*parsed.address)).address == parsed.address);
    return 0;
}
