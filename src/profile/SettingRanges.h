#pragma once

// The ranges of the keyer setting controls, in the units the controls hold: the spacings in tenths
// (the letter space less one), the tone in tens of hertz. A loaded profile is held within them too.
struct ControlRange {
    int minimum;
    int maximum;
};

constexpr ControlRange SpeedRange{5, 50};
constexpr ControlRange WeightRange{30, 70};
constexpr ControlRange WordSpaceRange{30, 200};
constexpr ControlRange LetterSpaceRange{0, 90};
constexpr ControlRange VolumeRange{0, 100};
constexpr ControlRange ToneRange{40, 140};
