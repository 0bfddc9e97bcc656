// The profile loader and saver. Input: a profile file, and the same bytes as a message text. What
// loads is within the controls' ranges; saving it and loading again gives the same profile; any
// message stored reads back as the store left it, and storing it again changes nothing.

#include "FuzzInput.h"
#include "profile/ProfileFile.h"
#include "profile/SettingRanges.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzParts input(data, size, 1);
    auto parsed = IniDocument::Parse(input.Bytes(0));
    auto* document = std::get_if<IniDocument>(&parsed);
    if (!document) return 0;
    ProfileValues expected = ProfileFromDocument(*document);
    const KeyerTiming& loaded = expected.timing;
    for (const auto& [value, range] : {std::pair{loaded.speed, SpeedRange},
                                       {loaded.weight, WeightRange},
                                       {loaded.wordSpaceTenths, WordSpaceRange},
                                       {loaded.volume, VolumeRange},
                                       {loaded.letterSpaceTenths, LetterSpaceRange},
                                       {loaded.toneTens, ToneRange}})
        FUZZ_CHECK(value == std::clamp(value, range.minimum, range.maximum));

    PutProfile(*document, expected);
    // A second load gives the messages as the save left them (overlong runs of blanks shortened), the
    // word space as its display shows it (whole from 10 dot lengths up), and no text with blanks at
    // its ends, which a value cut at 254 characters may have.
    int& wordSpace = expected.timing.wordSpaceTenths;
    if (wordSpace >= 100) wordSpace -= wordSpace % 10;
    OperatorIdentity& identity = expected.identity;
    for (QString* text : {&identity.myCall, &identity.name, &identity.qth})
        *text = WithoutBlankEnds(*text);
    for (MessageSlots* texts : {&expected.messages, &expected.titles})
        std::transform(texts->begin(), texts->end(), texts->begin(), WithoutBlankEnds);
    auto reread = IniDocument::Parse(document->FileBytes());
    auto* saved = std::get_if<IniDocument>(&reread);
    FUZZ_CHECK(saved && ProfileFromDocument(*saved) == expected);

    QString message = input.Text(0);
    PutStoredMessage(*saved, 12, message);
    const QByteArray once = saved->FileBytes();
    FUZZ_CHECK(StoredMessage(*saved, 12) == WithoutBlankEnds(message));
    PutStoredMessage(*saved, 12, message);
    FUZZ_CHECK(saved->FileBytes() == once);
    return 0;
}
