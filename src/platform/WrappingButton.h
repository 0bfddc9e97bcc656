#pragma once

#include <QPushButton>

// A push button whose caption wraps onto as many lines as the button needs, as the window's long
// captions ("Clear Keyboard Window (Stop)") expect.
class WrappingButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};
