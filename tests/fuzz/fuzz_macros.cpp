// Macro expansion. Input: a message, then the call, the worked call, the name and the QTH. Whatever
// they hold, the expansion finishes, in time linear in their length.

#include "FuzzInput.h"
#include "keyboard/Macros.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzParts input(data, size, 5);
    const QString text = input.Text(0);
    const QString expanded = ExpandMacros(text, {input.Text(1), input.Text(2), input.Text(3), input.Text(4)});
    FUZZ_CHECK(text.contains(u'(') || expanded == text);
    return 0;
}
