#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>
#include <algorithm>
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

// Relative luminance of a colour as the eye weighs its channels (0 black, 1 white).
inline double Luminance(const QColor& colour) {
    auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

// How far apart two colours stand, from 1 (the same) to 21 (black on white); text reads well from 4.5.
inline double ContrastRatio(const QColor& one, const QColor& other) {
    const double first = Luminance(one);
    const double second = Luminance(other);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// Black or white, whichever stands out more from the background.
inline QColor ReadableTextOn(const QColor& background) {
    // Where black and white contrast equally: (L + 0.05) / 0.05 == 1.05 / (L + 0.05).
    return Luminance(background) > 0.179 ? Colours::Black : QColor(255, 255, 255);
}

// The role whose text is drawn on a background role.
inline QPalette::ColorRole TextRoleOn(QPalette::ColorRole background) {
    switch (background) {
    case QPalette::Window:
        return QPalette::WindowText;
    case QPalette::Button:
        return QPalette::ButtonText;
    default:
        return QPalette::Text;
    }
}

// A background the program chooses, with the text on it chosen for it, so that it reads whatever the
// desktop's palette: black or white, and halfway to the background on a disabled control.
inline void SetColour(QWidget* widget, QPalette::ColorRole background, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(background, colour);
    const QColor text = ReadableTextOn(colour);
    palette.setColor(TextRoleOn(background), text);
    const QColor halfway((text.red() + colour.red()) / 2, (text.green() + colour.green()) / 2,
                         (text.blue() + colour.blue()) / 2);
    palette.setColor(QPalette::Disabled, TextRoleOn(background), halfway);
    widget->setPalette(palette);
}

// The background of a text box, with a text colour that stays readable on it.
inline void SetBackground(QWidget* widget, const QColor& colour) {
    SetColour(widget, QPalette::Base, colour);
}
