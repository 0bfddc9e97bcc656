#include "network/WindowSettings.h"

#include "profile/SettingRanges.h"

#include <algorithm>
#include <cmath>

namespace {

int Held(int value, ControlRange range) {
    return std::clamp(value, range.minimum, range.maximum);
}

} // namespace

int SpeedControlValue(int wordsPerMinute) {
    return Held(wordsPerMinute, SpeedRange);
}

std::optional<int> ToneControlValue(int hertz) {
    if (hertz == 0) return std::nullopt;
    return Held(int(std::lround(hertz / 10.0)), ToneRange);
}

int WeightControlValue(int weighting) {
    constexpr double windowStepsPerStep = (WeightRange.maximum - WeightRange.minimum) / 100.0;
    constexpr int middle = (WeightRange.minimum + WeightRange.maximum) / 2;
    return Held(middle + int(std::lround(weighting * windowStepsPerStep)), WeightRange);
}

int VolumeControlValue(int percent) {
    return Held(percent, VolumeRange);
}
