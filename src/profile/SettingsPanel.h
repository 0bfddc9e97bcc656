#pragma once

#include "profile/OperatorProfile.h"
#include "profile/SettingText.h"

#include <QWidget>
#include <utility>
#include <vector>

class NumberEntry;
class SettingBox;
class UpDown;

// The keyer settings panel: six spin controls, each with its display box. A display follows its
// control; a number typed into it goes to the control on Enter or on leaving the box, Esc restores
// it, and the wheel over it steps the control. The unit and the profile take the settled values
// (Shown), never a half-typed text.
class SettingsPanel : public QWidget {
    Q_OBJECT
public:
    explicit SettingsPanel(QWidget* parent = nullptr);

    // Writes every display from its control, without announcing a change.
    void RefreshDisplays();
    // The setting as its display shows the control's value.
    QString Shown(Setting setting) const;
    // The six controls' values, and new ones for them, each announced as a change.
    KeyerTiming Timing() const;
    void SetTiming(const KeyerTiming& timing);

    UpDown* scrSpeed;
    UpDown* scrWeight;
    UpDown* scrTone;
    UpDown* scrVolume;
    UpDown* scrWordSpace;
    UpDown* scrLetterSpace;
    SettingBox* txtSpeed;
    SettingBox* txtWeight;
    SettingBox* txtTone;
    SettingBox* txtVolume;
    SettingBox* txtWordSpace;
    SettingBox* txtLetterSpace;

signals:
    // A setting changed and its display follows it: the settings must go to the unit.
    void settingChanged();
    // The operator is done with the panel (an arrow, Enter, Esc, the wheel): the focus goes back to
    // the Keyboard window. Leaving a box applies it and leaves the focus where it went.
    void done();

private:
    struct Row {
        Setting setting;
        NumberEntry* entry;
    };
    std::pair<UpDown*, SettingBox*> AddRow(Setting setting, const char* name, const QString& spoken,
                                           int start);
    void FollowStep(const Row& row);
    void AddLabel(const QString& text, const QString& name);

    std::vector<Row> rows_;
};
