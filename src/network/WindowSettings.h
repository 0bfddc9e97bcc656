#pragma once

#include <optional>

// Where a setting that the network asks for lands on the window's controls, in the controls' units
// (profile/SettingRanges.h). Values beyond a control's range are held at its ends.

// Words per minute as they are.
int SpeedControlValue(int wordsPerMinute);
// Hertz to the nearest 10 Hz (the control holds tens of hertz); nothing for 0 Hz, which turns the
// sidetone volume off instead.
std::optional<int> ToneControlValue(int hertz);
// cwdaemon's weighting -50..50 onto the window's 30..70, linearly: -50 -> 30, 0 -> 50, 50 -> 70.
int WeightControlValue(int weighting);
// Per cent as they are.
int VolumeControlValue(int percent);
