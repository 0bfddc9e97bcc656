#pragma once

#include "platform/OkCancelDialog.h"

#include <QObject>
#include <functional>

class QLineEdit;
class QPushButton;

// The small dialog that takes the worked station's call.
class WorkedCallDialog : public OkCancelDialog {
    Q_OBJECT
public:
    explicit WorkedCallDialog(QWidget* parent = nullptr);

    QLineEdit* txtWrkCall;
    QPushButton* OKButton;
    QPushButton* CancelButton;
};

// The call of the station being worked: typed into the main window's box and confirmed with Return,
// or entered through the Capture Call dialog. It goes on the clipboard and into the HISCALL macro,
// and lasts until another call is confirmed; it is never saved.
class WorkedCall : public QObject {
    Q_OBJECT
public:
    // Makes the call box in boxParent; the window, which places the box, parents the dialog. A call
    // confirmed, or the dialog cancelled, hands the focus back to the Keyboard window.
    WorkedCall(QWidget* boxParent, QWidget* window, std::function<void()> focusKeyboard);
    QLineEdit* box() const { return txtWrkStation_; }

    const QString& workedCall() const { return workedCall_; }
    void ShowDialog();

signals:
    // A call was confirmed, perhaps an empty one.
    void confirmed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Created on first use, then only hidden and shown, so a cancelled entry waits for the next time.
    WorkedCallDialog* dlgWrkCall();
    void ConfirmFromDialog();
    void ConfirmFromBox();
    void Confirm(const QString& call);

    QWidget* window_;
    std::function<void()> focusKeyboard_;
    QLineEdit* txtWrkStation_;
    WorkedCallDialog* dialog_ = nullptr;
    QString workedCall_;
};
