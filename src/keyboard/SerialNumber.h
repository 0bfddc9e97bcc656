#pragma once

#include "profile/ContestSettings.h"

#include <QObject>
#include <QString>

class NumberEntry;
class QWidget;
class SettingBox;
class UpDown;

// The contest serial number beside the worked call: a spin control and a box that takes a typed
// number as the setting boxes do. It goes up when a worked call is confirmed once the number has gone
// out in a message, so the first contact sends 001 and a call corrected before the exchange skips none.
class SerialNumber : public QObject {
    Q_OBJECT
public:
    // The settings are the profile's, which this changes.
    SerialNumber(QWidget* boxParent, ContestSettings& settings);

    const ContestSettings& settings() const { return settings_; }
    // Shows the number after the profile's values were replaced: nothing to store.
    void Show();
    void SetCutNumbers(CutNumbers cut);
    // A message put the number into the Keyboard window.
    void Sent();
    // An empty call clears the worked call and ends no contact.
    void CallConfirmed(const QString& call);

    UpDown* control() const;
    SettingBox* box() const;

signals:
    // The settings changed otherwise than by Set: the profile should keep them.
    void changed();
    // The operator is done with the entry: the focus goes back to the Keyboard window.
    void done();

private:
    void Change(const ContestSettings& settings);

    NumberEntry* entry_;
    ContestSettings& settings_;
    // Set while the control shows a number that is no change.
    bool setting_ = false;
};
