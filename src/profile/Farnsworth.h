#pragma once

// Farnsworth spacing: characters keep their own speed while longer spaces between them bring the
// text down to a lower effective speed.

struct FarnsworthSpacing {
    // As the spacing controls hold them (SettingRanges.h): word space x 10, (letter space - 1) x 10.
    int wordSpaceTenths = 60;
    int letterSpaceTenths = 10;
    bool reached = true; // false when a space or the effective speed had to be held
};

// The letter and word space that bring characters sent at characterWpm down to effectiveWpm, by ARRL's
// Farnsworth timing (Jon Bloom, KE3Z). The settings count the gap after a character's last element
// less the one dot that element already carries: 2 and 6 make the standard gaps of 3 and 7 dots, and
// are what an effective speed equal to the character speed gives. The character speed is held to the
// speed control's range and the effective speed to 1..the character speed; the spaces are rounded to
// the controls' steps (tenths, whole dot lengths from 10 up) and held to their ranges.
FarnsworthSpacing SpacingForEffectiveSpeed(int characterWpm, int effectiveWpm);
