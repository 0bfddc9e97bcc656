#pragma once

#include "platform/HidPort.h"

#include <cstdint>
#include <optional>
#include <vector>

// The report byte lengths a raw HID report descriptor declares, counted the way the HID class driver
// of the other platform counts them: per direction, 1 (the report ID byte) plus the data bytes of the
// largest report, or 0 when the device has no report in that direction. Nothing when the descriptor is
// empty, cut short or malformed (a Pop without a Push, a report too long to count).
std::optional<ReportLengths> ReportLengthsFromDescriptor(const std::vector<std::uint8_t>& descriptor);
