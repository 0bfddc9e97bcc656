#pragma once

#include "profile/SettingRanges.h"

#include <QString>
#include <optional>

// The six keyer settings of the panel, each held by a control in the units of SettingRanges.h.
enum class Setting { Speed, Weight, WordSpace, LetterSpace, Volume, Tone };

ControlRange RangeOf(Setting setting);

// What the setting's display box shows for a control value: speed and weight with a leading blank,
// volume plain, tone in hertz, the spacings in dot lengths with a leading blank, whole from 10 up.
QString DisplayText(Setting setting, int value);

// The control value for a number the operator typed in the display's own units (a decimal comma
// taken as a point), held within the range: the tone to its 10 Hz step, a spacing to its tenth, and
// from 10 up to the whole dot length the display would show. Nothing when the text is no number.
std::optional<int> ValueForTyped(Setting setting, const QString& typed);
