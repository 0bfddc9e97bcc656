#pragma once

#include <string>
#include <vector>

// The main window's resize rule as arithmetic: the window's outer size in twips in, the place of
// every control out. No widget is involved, so the rule is tested on its own numbers.

// The smallest outer size the window keeps, in twips.
inline constexpr double MinimumOuterWidth = 8145;
inline constexpr double MinimumOuterHeight = 6675;

// A control's place in twips, in window coordinates. A label that sizes itself to its text has
// width and height 0; a rule is a line, so one of its two lengths is 0.
struct Placement {
    std::string name;
    float left;
    float top;
    float width;
    float height;
};

struct ResizeOutcome {
    enum class Action { LeaveAlone, SnapTo, Place };
    Action action = Action::LeaveAlone;
    // For SnapTo: the outer size to take instead (the size change then runs the rule again).
    double width = 0;
    double height = 0;
    // For Place: every control, each container before the controls inside it.
    std::vector<Placement> places;
};

ResizeOutcome ResizeRule(double outerWidth, double outerHeight, bool minimised);

// The message strip's pitch for an outer width: the strip spans the width left of the settings panel.
int MessagePitch(double outerWidth);
