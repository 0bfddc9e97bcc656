#include "profile/Farnsworth.h"

#include "platform/NumberText.h"
#include "profile/SettingRanges.h"

#include <algorithm>

namespace {

// The control steps: tenths of a dot length, and whole dot lengths from 10 up.
int ControlTenths(double dotLengths) {
    const long long tenths = RoundHalfEven(dotLengths * 10.0);
    return static_cast<int>(tenths >= 100 ? RoundHalfEven(dotLengths) * 10 : tenths);
}

struct HeldTenths {
    int tenths;
    bool held;
};

HeldTenths HoldToRange(int tenths, ControlRange range) {
    const int heldTenths = std::clamp(tenths, range.minimum, range.maximum);
    return {heldTenths, heldTenths != tenths};
}

} // namespace

FarnsworthSpacing SpacingForEffectiveSpeed(int characterWpm, int effectiveWpm) {
    const int c = std::clamp(characterWpm, SpeedRange.minimum, SpeedRange.maximum);
    const int s = std::clamp(effectiveWpm, 1, c);
    // The delay added to a standard word, ta = (60c - 37.2s) / (sc) seconds, is (60c - 37.2s) / (1.2s)
    // dots of 1.2 / c seconds, spread over 19 units: a character space takes 3 of them, a word space 7.
    const double unitDots = (60.0 * c - 37.2 * s) / (1.2 * s) / 19.0;
    // The letter space control holds the space less one dot length more.
    const HeldTenths letter = HoldToRange(ControlTenths(3.0 * unitDots - 1.0) - 10, LetterSpaceRange);
    const HeldTenths word = HoldToRange(ControlTenths(7.0 * unitDots - 1.0), WordSpaceRange);
    return {word.tenths, letter.tenths, s == effectiveWpm && !letter.held && !word.held};
}
