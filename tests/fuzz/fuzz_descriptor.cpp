// The report descriptor parser. Input: a raw descriptor. Lengths, when there are any, are 16-bit
// counts that include the report ID byte.

#include "FuzzInput.h"
#include "platform/ReportDescriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto lengths = ReportLengthsFromDescriptor(std::vector<std::uint8_t>(data, data + size));
    const auto isLength = [](int length) { return length >= 0 && length <= 0xFFFF; };
    FUZZ_CHECK(!lengths || (isLength(lengths->input) && isLength(lengths->output)));
    FUZZ_CHECK(size > 0 || !lengths);
    return 0;
}
