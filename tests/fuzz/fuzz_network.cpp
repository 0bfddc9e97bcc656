// The network keyer's reading of a datagram and of a listening address. Whatever the bytes: a datagram
// over the limit is refused whole; a text holds only what the Keyboard window keys (never the repeat
// marker "<") and the marks the protocol asks for, ending back at the operator's speed when its speed
// marks do not add up to nothing; nothing after a line end is keyed; an address that is read writes
// back as the same address.

#include "FuzzInput.h"
#include "network/CwDaemonProtocol.h"
#include "network/ListenAddress.h"
#include "network/NetworkText.h"
#include "send/InlineMarks.h"

#include <algorithm>

namespace {

void CheckKeyable(const QString& text) {
    static const QString keyable = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ,./?\":@)([;='");
    int speedChange = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const std::optional<FoundMark> found = ReadMark(text, at);
        FUZZ_CHECK(found || keyable.contains(text[at]));
        if (!found) continue;
        at += found->length - 1;
        const auto* speed = std::get_if<SpeedMark>(&found->mark);
        FUZZ_CHECK(speed || found->mark == Mark{HalfSpaceMark{}} || found->mark == Mark{ProsignMark{"SN"}});
        if (!speed) continue;
        FUZZ_CHECK(speed->change == SpeedMark::Change::By ||
                   (speed->change == SpeedMark::Change::BackToOperator && speedChange != 0 &&
                    at == text.size() - 1));
        speedChange += speed->wordsPerMinute;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const CwDaemon::Request request = CwDaemon::ParseDatagram(bytes);
    FUZZ_CHECK(size <= CwDaemon::MaxDatagramBytes || std::holds_alternative<CwDaemon::Refused>(request));
    const QString text = KeyboardTextFromNetwork(bytes);
    CheckKeyable(text);
    const auto lineEnd = std::ranges::find_if(bytes, [](char c) { return c == '\r' || c == '\n'; });
    FUZZ_CHECK(text == KeyboardTextFromNetwork(bytes.first(lineEnd - bytes.begin())));

    const ParsedListenAddress parsed = ParseListenAddress(QString::fromUtf8(bytes));
    if (parsed.address)
        FUZZ_CHECK(parsed.address->port > 0 &&
                   ParseListenAddress(ListenAddressText(*parsed.address)).address == parsed.address);
    return 0;
}
