#pragma once

#include <QWidget>

struct ControlRange;
class QLineEdit;
class UpDown;

// The keyer settings panel: six spin controls, each with its display box. The displays are what the
// settings transfer reads for tone and spacing, so they always follow their controls.
class SettingsPanel : public QWidget {
    Q_OBJECT
public:
    explicit SettingsPanel(QWidget* parent = nullptr);

    // Writes every display from its control, without announcing a change.
    void RefreshDisplays();

    UpDown* scrSpeed;
    UpDown* scrWeight;
    UpDown* scrTone;
    UpDown* scrVolume;
    UpDown* scrWordSpace;
    UpDown* scrLetterSpace;
    QLineEdit* txtSpeed;
    QLineEdit* txtWeight;
    QLineEdit* txtTone;
    QLineEdit* txtVolume;
    QLineEdit* txtWordSpace;
    QLineEdit* txtLetterSpace;

signals:
    // A setting changed and its display follows it: the settings must go to the unit.
    void settingChanged();

private:
    void ShowSpacing(UpDown* control, QLineEdit* display, double dotLengths);
    void ShowAll();
    QLineEdit* AddDisplay(const QString& setting);
    UpDown* AddControl(ControlRange range, int start, const QString& setting);
    void AddLabel(const QString& text, const QString& name);
};
