#pragma once

#include <QLineEdit>

// A setting's display box that takes a typed number. Digits edit it; Enter, Esc, leaving it and the
// mouse wheel are handed to the panel, which applies, restores or steps the setting. A click selects
// the whole text, so what is typed replaces it. Keys pressed with ALT held are no typing. A click
// reaches it, Tab never does.
class SettingBox : public QLineEdit {
    Q_OBJECT
public:
    // Takes up to digits whole digits and, with decimals, one decimal place.
    SettingBox(int digits, bool decimals, QWidget* parent);

signals:
    void entered();
    void escaped();
    void left();
    // Whole notches of the wheel, up positive.
    void wheeled(int steps);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool selectAllOnRelease_ = false;
    int wheelTurn_ = 0;
};
