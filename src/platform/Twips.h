#pragma once

#include <QWidget>
#include <cmath>

// Window positions are designed in twips: 15 to one logical pixel (1440 to the inch at 96 dpi).
constexpr double TwipsPerPixel = 15.0;

inline int TwipsToPixels(double twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}
inline double PixelsToTwips(int pixels) {
    return pixels * TwipsPerPixel;
}

inline void PlaceInTwips(QWidget* widget, double left, double top, double width, double height) {
    widget->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}
