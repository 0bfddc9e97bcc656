#pragma once

#include <QColor>
#include <QString>

// A text of the status line and the background it shows on.
struct StatusLine {
    QString text;
    QColor background;
};

// What the transmit loop shows, through the window that owns the controls.
class TransmitDisplay {
public:
    virtual ~TransmitDisplay() = default;
    // The transmit button's caption and colour tell the transmitting or paused state.
    virtual void ShowTransmitting(bool transmitting) = 0;
    // The status line still shows the closing words of the message editor.
    virtual bool ShowsClosingWords() const = 0;
    // The status line goes back to the unit's firmware version.
    virtual void ShowUnitStatus() = 0;
    // The status line as it stands, and another text for it.
    virtual StatusLine ShownStatus() const = 0;
    virtual void ShowStatusLine(const StatusLine& line) = 0;
};
