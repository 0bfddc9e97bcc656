#include "platform/ReportDescriptor.h"

#include <algorithm>
#include <cstddef>
#include <map>

namespace {

// Item prefixes with the size bits cleared: tag and type only.
constexpr std::uint8_t InputItem = 0x80;
constexpr std::uint8_t OutputItem = 0x90;
constexpr std::uint8_t ReportSizeItem = 0x74;
constexpr std::uint8_t ReportIdItem = 0x84;
constexpr std::uint8_t ReportCountItem = 0x94;
constexpr std::uint8_t PushItem = 0xA4;
constexpr std::uint8_t PopItem = 0xB4;
constexpr std::uint8_t LongItemPrefix = 0xFE;

// Report lengths are 16-bit counts, report ID byte included.
constexpr std::uint64_t LargestReportBits = (0xFFFFULL - 1) * 8;

struct Item {
    std::uint8_t prefix;   // tag and type
    std::uint32_t data;    // little-endian value of the data bytes
    std::size_t totalSize; // bytes taken in the descriptor, prefix included
};

// The item at position; nothing when it runs past the end of the descriptor.
std::optional<Item> ItemAt(const std::vector<std::uint8_t>& descriptor, std::size_t position) {
    const std::size_t remaining = descriptor.size() - position;
    const std::uint8_t prefix = descriptor[position];
    if (prefix == LongItemPrefix) {
        if (remaining < 3) return std::nullopt;
        const std::size_t totalSize = 3 + std::size_t{descriptor[position + 1]};
        if (remaining < totalSize) return std::nullopt;
        return Item{prefix, 0, totalSize};
    }
    const std::size_t sizeCode = prefix & 0x03U;
    const std::size_t dataSize = sizeCode == 3 ? 4 : sizeCode;
    if (remaining < 1 + dataSize) return std::nullopt;
    std::uint32_t data = 0;
    for (std::size_t index = 0; index < dataSize; ++index)
        data |= std::uint32_t{descriptor[position + 1 + index]} << (8 * index);
    return Item{static_cast<std::uint8_t>(prefix & 0xFCU), data, 1 + dataSize};
}

struct GlobalState {
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;
};

using BitsPerReport = std::map<std::uint32_t, std::uint64_t>;

class DescriptorWalk {
public:
    // False when the item makes the descriptor unusable.
    bool Take(const Item& item) {
        switch (item.prefix) {
        case ReportSizeItem:
            state_.reportSize = item.data;
            return true;
        case ReportCountItem:
            state_.reportCount = item.data;
            return true;
        case ReportIdItem:
            state_.reportId = item.data;
            return true;
        case PushItem:
            stack_.push_back(state_);
            return true;
        case PopItem:
            return Pop();
        case InputItem:
            return AddBits(inputBits_);
        case OutputItem:
            return AddBits(outputBits_);
        default:
            return true;
        }
    }

    ReportLengths Lengths() const { return {LengthOf(inputBits_), LengthOf(outputBits_)}; }

private:
    bool Pop() {
        if (stack_.empty()) return false;
        state_ = stack_.back();
        stack_.pop_back();
        return true;
    }

    // Both factors are 32-bit, so their product fits; the running sum is checked before it can grow.
    bool AddBits(BitsPerReport& bits) {
        std::uint64_t& total = bits[state_.reportId];
        total += std::uint64_t{state_.reportSize} * state_.reportCount;
        return total <= LargestReportBits;
    }

    static int LengthOf(const BitsPerReport& bits) {
        std::uint64_t largest = 0;
        for (const auto& [reportId, reportBits] : bits)
            largest = std::max(largest, reportBits);
        return bits.empty() ? 0 : static_cast<int>(1 + (largest + 7) / 8);
    }

    GlobalState state_;
    std::vector<GlobalState> stack_;
    BitsPerReport inputBits_;
    BitsPerReport outputBits_;
};

} // namespace

std::optional<ReportLengths> ReportLengthsFromDescriptor(const std::vector<std::uint8_t>& descriptor) {
    if (descriptor.empty()) return std::nullopt;
    DescriptorWalk walk;
    for (std::size_t position = 0; position < descriptor.size();) {
        const std::optional<Item> item = ItemAt(descriptor, position);
        if (!item || !walk.Take(*item)) return std::nullopt;
        position += item->totalSize;
    }
    return walk.Lengths();
}
