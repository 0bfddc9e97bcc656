#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

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

// The background of a text box.
inline void SetBackground(QWidget* widget, const QColor& colour) {
    SetColour(widget, QPalette::Base, colour);
}

inline void SetColours(QWidget* widget, const QColor& background, const QColor& text) {
    SetBackground(widget, background);
    SetColour(widget, QPalette::Text, text);
}
