// Macro expansion. Input: a message, then the call, the worked call, the name, the QTH, the serial
// number's stored text and the cut-number choice (by its length). Whatever they hold, the expansion
// finishes, in time linear in their length, and every guillemet it gives belongs to a speed mark: an
// absolute one within the speed range, a step no wider than it, or the one back to the operator's speed.

#include "FuzzInput.h"
#include "keyboard/Macros.h"
#include "send/InlineMarks.h"

// The speed marks the expansion may make: to 5..50, by at most 45 either way, or back ("").
const QRegularExpression
    SpeedMarks(QStringLiteral("\u2039(|[5-9]|[1-4][0-9]|50|[+-]([0-9]|[1-3][0-9]|4[0-5]))\u203A"));

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzParts input(data, size, 7);
    const QString text = input.Text(0);
    constexpr CutNumbers cuts[] = {CutNumbers::Off, CutNumbers::ZeroNine, CutNumbers::ZeroNineOne};
    MacroValues values{input.Text(1), input.Text(2), input.Text(3), input.Text(4)};
    values.serialNumber = ReadSerialNumber(input.Text(5)).serial;
    values.cutNumbers = cuts[input.Bytes(6).size() % 3];
    const QString expanded = ExpandMacros(text, values);
    FUZZ_CHECK(text.contains(u'(') ||
               expanded == QString(text).remove(InlineMark::Open).remove(InlineMark::Close));
    const QString unmarked = QString(expanded).remove(SpeedMarks);
    FUZZ_CHECK(!unmarked.contains(InlineMark::Open) && !unmarked.contains(InlineMark::Close));
    return 0;
}
