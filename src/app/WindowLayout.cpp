#include "app/WindowLayout.h"

#include "profile/OperatorProfile.h"

#include <cmath>

namespace {

// Only a window this small in either direction is left as it is (a first run's default geometry).
constexpr double TooSmallToArrange = 500;

class Placer {
public:
    explicit Placer(std::vector<Placement>& places) : places_(places) {}

    void Box(const std::string& name, double left, double top, double width, double height) {
        places_.push_back({name, static_cast<float>(left), static_cast<float>(top), static_cast<float>(width),
                           static_cast<float>(height)});
    }
    void Label(const std::string& name, double left, double top) { Box(name, left, top, 0, 0); }
    void Rule(const std::string& name, double left, double top, double width) {
        Box(name, left, top, width, 0);
    }

private:
    std::vector<Placement>& places_;
};

void PlaceMessageStrip(Placer& at, double dw, int pitch) {
    at.Label("lblMessages", 2670 + dw / 2, 30);
    for (int i = 0; i < MessageCount; ++i) {
        const double left = 90.0 + pitch * i;
        at.Box("txtMsgTitle" + std::to_string(i), left + (pitch - 500) / 2.5, 270, 475, 195);
        at.Box("cmdMessages" + std::to_string(i), left, 450, pitch - 50, 350);
    }
}

// The panel keeps its minimum-size lefts plus dw; its rows share the panel's growth in height.
void PlaceSettingsPanel(Placer& at, double dw, double dh) {
    const double x = dw;
    at.Box("panel", 6120 + x, 0, 1920, 2910 + 2 * dh / 3);
    at.Box("LineVertical", 6120 + x, 0, 0, 2910 + 2 * dh / 3);
    at.Label("lblTiming", 6750 + x, 30);

    struct Pair {
        const char* name;
        double boxLeft;
        double boxWidth;
        double controlLeft;
        double labelLeft;
    };
    auto row = [&](Pair first, Pair second, double boxTop, double labelTop) {
        const double controlTop = boxTop - 30;
        for (const Pair& pair : {first, second}) {
            const std::string name = pair.name;
            at.Box("txt" + name, pair.boxLeft + x, boxTop, pair.boxWidth, 315);
            at.Box("scr" + name, pair.controlLeft + x, controlTop, 255, 375);
            at.Label("lbl" + name, pair.labelLeft + x, labelTop);
        }
    };
    const double speedRow = dh / 8;
    row({"Speed", 6300, 405, 6720, 6270}, {"Weight", 7200, 405, 7650, 7230}, 270 + speedRow, 630 + speedRow);
    at.Rule("LineTiming", 6120 + x, 930 + 2 * dh / 9, 1920);
    at.Label("lblSpacing", 6720 + x, 960 + 5 * dh / 18);
    const double spacingRow = dh / 2.9;
    row({"WordSpace", 6240, 465, 6750, 6420}, {"LetterSpace", 7140, 465, 7650, 7320}, 1230 + spacingRow,
        1590 + spacingRow);
    at.Rule("LineSpacing", 6120 + x, 1890 + 4 * dh / 9, 1920);
    at.Label("lblSidetone", 6690 + x, 1980 + dh / 2);
    const double sidetoneRow = 5 * dh / 9;
    row({"Volume", 6210, 435, 6660, 6210}, {"Tone", 7020, 645, 7710, 7200}, 2250 + sidetoneRow,
        2580 + sidetoneRow);
    at.Rule("LineSidetone", 6120 + x, 2910 + 2 * dh / 3, 1920);
}

// The hint row names the prosign keys; each prosign's bar sits over its two letters.
void PlaceHintRow(Placer& at, double dw, double dh) {
    const double top = 3030 + 2 * dh / 3;
    struct Hint {
        const char* prosign;
        double left;
        double barLeft;
        double share;
    };
    for (const Hint& hint : {Hint{"BT", 90, 90, 0.18}, Hint{"SK", 900, 900, 0.2},
                             Hint{"AS", 1710, 1695, 0.22}, Hint{"AR", 5520, 5520, 0.78}}) {
        at.Label(std::string("lbl") + hint.prosign, hint.left + hint.share * dw, top);
        at.Rule(std::string("Line") + hint.prosign, hint.barLeft + hint.share * dw, top, 210);
    }
    at.Label("lblTune", 6300 + 0.8 * dw, top);
    at.Label("lblKeyboard", 3180 + dw / 2, 3000 + 2 * dh / 3);
}

// The option row shares the extra width in fifths, the button row in ninths (buttons and gaps). The
// serial number and its arrows take the right of the worked call's fifth.
void PlaceLowerRows(Placer& at, double dw, double dh) {
    const double optionWidth = 1580 + 0.2 * dw;
    const double callWidth = optionWidth - 690;
    at.Box("txtWrkStation", 60, 4620 + dh, callWidth, 315);
    at.Box("txtSerial", 90 + callWidth, 4620 + dh, 405, 315);
    at.Box("scrSerial", 510 + callWidth, 4590 + dh, 225, 375);
    const char* options[] = {"txtIambic", "txtDotMemory", "txtDashMemory", "txtRLPaddles"};
    for (int i = 0; i < 4; ++i)
        at.Box(options[i], 1635 + 1575 * i + 0.2 * (i + 1) * dw, 4620 + dh, optionWidth, 315);
    at.Box("txtInfo", 60, 4980 + dh, 7905 + dw, 285);
    const char* buttons[] = {"cmdTx", "cmdEnd", "cmdClearSend", "cmdCaptureCall"};
    for (int i = 0; i < 4; ++i)
        at.Box(buttons[i], 180 + 2060 * i + (2 * i + 1) * dw / 9, 5340 + dh, 1515 + dw / 9, 495);
}

} // namespace

int MessagePitch(double outerWidth) {
    return static_cast<int>(std::nearbyint((outerWidth - 2025 - 180) / 12));
}

ResizeOutcome ResizeRule(double outerWidth, double outerHeight, bool minimised) {
    ResizeOutcome outcome;
    if (minimised || outerWidth < TooSmallToArrange || outerHeight < TooSmallToArrange) return outcome;
    if (outerHeight < MinimumOuterHeight || outerWidth < MinimumOuterWidth) {
        // Height first: the size change this causes runs the rule again for the width.
        outcome.action = ResizeOutcome::Action::SnapTo;
        const bool heightFirst = outerHeight < MinimumOuterHeight;
        outcome.width = heightFirst ? outerWidth : MinimumOuterWidth;
        outcome.height = heightFirst ? MinimumOuterHeight : outerHeight;
        return outcome;
    }
    const double dh = std::nearbyint(outerHeight - MinimumOuterHeight);
    const double dw = std::nearbyint(outerWidth - MinimumOuterWidth);
    outcome.action = ResizeOutcome::Action::Place;
    Placer at(outcome.places);
    PlaceMessageStrip(at, dw, MessagePitch(outerWidth));
    at.Box("lblOP", 150, 960, 1995, 225);
    at.Label("lblSent", 2340 + dw / 2, 1080);
    at.Rule("LineSent", 0, 930, 6120 + dw);
    at.Rule("LineTop", -30, 0, 8070 + dw);
    at.Box("txtSent", 60, 1320, 6045 + dw, 1605 + 2 * dh / 3);
    PlaceSettingsPanel(at, dw, dh);
    PlaceHintRow(at, dw, dh);
    at.Box("txtKeyboard", 60, 3240 + 2 * dh / 3, 7920 + dw, 1335 + dh / 3);
    PlaceLowerRows(at, dw, dh);
    return outcome;
}
