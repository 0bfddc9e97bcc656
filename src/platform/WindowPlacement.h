#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>

class QDialog;
class QWidget;

// Shows a dialog built with a layout at the size its contents need, so no caption is cut whatever
// the fonts, centred on its owner and wholly on the owner's screen. Dialogs that are only hidden
// between showings are fitted again each time, so changed texts still fit.
void ShowCentredOn(QDialog* dialog, const QWidget* owner);

// Where a window goes whose frame (title bar and borders, frameMargins around the client area of
// clientSize) should stand at storedFrame: the frame moved just far enough to lie wholly in the
// screen's available area, or at its top-left corner when larger, and the client area inside it.
struct FramePlace {
    QPoint frame;
    QPoint client;
    bool operator==(const FramePlace&) const = default;
};
FramePlace PlaceFrame(QPoint storedFrame, QSize clientSize, QMargins frameMargins, QRect available);

// Keeps a window's title bar on its screen. A window manager decorates a window only once it is
// shown, and a window placed by its client area before then has its frame above it, perhaps above
// the screen, out of reach of the mouse. So the frame's place is kept until the window manager has
// framed the window, and the window is placed by it then; afterwards it is moved back whenever its
// title bar lands above or left of the screen.
void KeepTitleBarOnScreen(QWidget* window);
// Places the frame of a window whose title bar is kept on the screen at storedFrame, on the screen.
void PlaceFrameAt(QWidget* window, QPoint storedFrame);
