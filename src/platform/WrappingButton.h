#pragma once

#include <QPushButton>

// A push button whose caption wraps onto as many lines as the button needs, as the window's long
// captions ("Clear Keyboard Window (Stop)") expect. A run of blanks inside a caption starts a new
// line. A button given a colour of its own shows it flat, whatever the style.
class WrappingButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

    // The caption as drawn, and the area it is drawn in.
    QString Caption() const;
    QRect CaptionArea() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintFlatFace(QPainter& painter);
};
