#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class SettingBox;
class UpDown;

// A spin control and its display box, as the settings panel and the serial number use them. The display
// follows the control; a number typed into the box goes to the control on Enter or on leaving the box,
// Esc restores it, and the wheel over it steps the control. Whatever is typed stays in the box.
class NumberEntry : public QObject {
    Q_OBJECT
public:
    struct Texts {
        std::function<QString(int value)> display;
        // The control value for a typed text, within the control's range; nothing when it is no number.
        std::function<std::optional<int>(const QString& typed)> typed;
    };

    NumberEntry(UpDown* upDown, SettingBox* settingBox, Texts texts, QObject* parent);

    // Writes the display from the control.
    void Show();

    UpDown* const control;
    SettingBox* const box;

signals:
    // The control's value changed and the display follows it.
    void changed();
    // The operator is done with the entry (an arrow, Enter, Esc, the wheel): the focus goes back to the
    // Keyboard window. Leaving the box applies it and leaves the focus where it went.
    void done();

private:
    void Apply();

    Texts texts_;
    // Set while a typed value goes to the control.
    bool applying_ = false;
};
