// The INI reader and writer. Input: the section, key and value of an edit, a second key of that
// section, then a file. A file is written back unchanged byte for byte; after the edit the value reads
// back as written and the other key as before.

#include "FuzzInput.h"
#include "profile/IniFile.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzParts input(data, size, 5);
    auto parsed = IniDocument::Parse(input.Bytes(4));
    auto* document = std::get_if<IniDocument>(&parsed);
    if (!document) return 0;
    FUZZ_CHECK(document->FileBytes() == input.Bytes(4));

    // The program's own names: no brackets, "=", line break or leading ";", no blanks around them.
    const auto isPlainName = [](const QString& name) {
        return BareName(name) == name && !name.startsWith(u';') &&
               std::none_of(name.begin(), name.end(),
                            [](QChar c) { return QStringView(u"[]=\r\n").contains(c); });
    };
    const QString section = input.Text(0), key = input.Text(1), otherKey = input.Text(3);
    if (!isPlainName(section) || !isPlainName(key)) return 0;
    const std::optional<QString> other = document->Value(section, otherKey);
    QString value = input.Text(2);
    ReplaceLineBreaks(value);
    document->SetValue(section, key, value);

    auto reread = IniDocument::Parse(document->FileBytes());
    const auto* written = std::get_if<IniDocument>(&reread);
    FUZZ_CHECK(written && written->Value(section, key) == WithoutBlankEnds(value));
    const bool sameKey = BareName(key).toCaseFolded() == BareName(otherKey).toCaseFolded();
    FUZZ_CHECK(sameKey || written->Value(section, otherKey) == other);
    return 0;
}
