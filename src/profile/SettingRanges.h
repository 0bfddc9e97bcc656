#pragma once

// The ranges of the keyer setting controls, in the units the controls hold: the spacings in tenths
// (the letter space less one), the tone in tens of hertz. A loaded profile is held within them too.
struct ControlRange {
    int minimum;
    int maximum;
};

constexpr ControlRange speedRange{5, 50};
constexpr ControlRange weightRange{30, 70};
constexpr ControlRange wordSpaceRange{30, 200};
constexpr ControlRange letterSpaceRange{0, 90};
constexpr ControlRange volumeRange{0, 100};
constexpr ControlRange toneRange{40, 140};
