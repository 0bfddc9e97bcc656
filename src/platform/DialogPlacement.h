#pragma once

class QDialog;
class QWidget;

// Shows a dialog built with a layout at the size its contents need, so no caption is cut whatever
// the fonts, centred on its owner and wholly on the owner's screen. Dialogs that are only hidden
// between showings are fitted again each time, so changed texts still fit.
void ShowCentredOn(QDialog* dialog, const QWidget* owner);
