#pragma once

class QDialog;
class QWidget;

// Shows a dialog built with a layout at the size its contents need, so no caption is cut whatever
// the fonts, centred on its owner and wholly on the owner's screen. Dialogs that are only hidden
// between showings are fitted again each time, so changed texts still fit.
void ShowCentredOn(QDialog* dialog, const QWidget* owner);

// Keeps a window's title bar on its screen. A window manager may decorate a window placed near the
// top edge by putting its frame above the screen, out of reach of the mouse; the frame is known only
// once the window is shown, so the window is moved back whenever it lands there.
void KeepTitleBarOnScreen(QWidget* window);
