#include "profile/SettingText.h"

#include "platform/NumberText.h"

#include <algorithm>
#include <cmath>

namespace {

// Below 10 dot lengths a spacing shows in tenths; from 10 up it shows whole.
double ShownDotLengths(double dotLengths) {
    return ParseLeadingNumber(WithLeadingBlank(dotLengths)) >= 10 ? std::floor(dotLengths) : dotLengths;
}

// A typed spacing to the tenth its control holds; from 10 dot lengths up, to the whole one shown.
double SpacingTenths(double dotLengths) {
    const double tenths = std::nearbyint(dotLengths * 10);
    return tenths >= 100 ? std::floor(tenths / 10) * 10 : tenths;
}

// The letter space control holds tenths above one dot length.
constexpr double LetterSpaceOffset = 1.0;

} // namespace

ControlRange RangeOf(Setting setting) {
    switch (setting) {
    case Setting::Speed:
        return SpeedRange;
    case Setting::Weight:
        return WeightRange;
    case Setting::WordSpace:
        return WordSpaceRange;
    case Setting::LetterSpace:
        return LetterSpaceRange;
    case Setting::Volume:
        return VolumeRange;
    case Setting::Tone:
        return ToneRange;
    }
    return SpeedRange;
}

QString DisplayText(Setting setting, int value) {
    switch (setting) {
    case Setting::Speed:
    case Setting::Weight:
        return WithLeadingBlank(value);
    case Setting::Volume:
        return QString::number(value);
    case Setting::Tone:
        return QString::number(value * 10);
    case Setting::WordSpace:
        return WithLeadingBlank(ShownDotLengths(value / 10.0));
    case Setting::LetterSpace:
        return WithLeadingBlank(ShownDotLengths(value / 10.0 + LetterSpaceOffset));
    }
    return QString();
}

std::optional<int> ValueForTyped(Setting setting, const QString& typed) {
    const std::optional<double> number = ParseNumber(QString(typed).replace(u',', u'.'));
    if (!number) return std::nullopt;
    double value = *number;
    if (setting == Setting::Tone) value /= 10;
    if (setting == Setting::WordSpace) value = SpacingTenths(value);
    if (setting == Setting::LetterSpace) value = SpacingTenths(value) - LetterSpaceOffset * 10;
    const ControlRange range = RangeOf(setting);
    return static_cast<int>(std::clamp<long long>(RoundHalfEven(value), range.minimum, range.maximum));
}
