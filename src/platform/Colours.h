#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>
#include <cmath>

// The program's colours, and the palette roles the text boxes and buttons show them in.
namespace Colours {
inline const QColor Grey{224, 224, 224};
inline const QColor LightYellow{255, 255, 192};
inline const QColor LightGreen{192, 255, 192};
inline const QColor BlueGrey{140, 180, 220};
inline const QColor Red{255, 0, 0};
inline const QColor Black{0, 0, 0};
} // namespace Colours

inline void SetColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// Black or white, whichever stands out more from the background (by relative luminance).
inline QColor ReadableTextOn(const QColor& background) {
    auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const double luminance = 0.2126 * linear(background.redF()) + 0.7152 * linear(background.greenF()) +
                             0.0722 * linear(background.blueF());
    // Where black and white contrast equally: (L + 0.05) / 0.05 == 1.05 / (L + 0.05).
    return luminance > 0.179 ? Colours::Black : QColor(255, 255, 255);
}

// The background of a text box, with a text colour that stays readable on it.
inline void SetBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Text, ReadableTextOn(colour));
    widget->setPalette(palette);
}
