#pragma once

#include "keyboard/KeyboardHandlers.h"
#include "keyboard/MessageEditor.h"
#include "link/SharedLink.h"
#include "operators/OperatorCommands.h"
#include "platform/Clock.h"
#include "platform/Colours.h"
#include "platform/Prompts.h"
#include "platform/RichText.h"
#include "platform/Shell.h"
#include "profile/OperatorProfile.h"
#include "send/SendingStatus.h"
#include "send/TransmitLoop.h"
#include "send/TransmitState.h"

#include <QMainWindow>
#include <memory>
#include <vector>

class HelpMenu;
class IniDocument;
class NetworkKeying;
struct Placement;
class KeyerFeaturesDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class SerialNumber;
class SettingsPanel;
class WorkedCall;

// The platform services the main window works through; main wires the real ones, tests fakes.
struct PlatformServices {
    HidPort& hid;
    Clock& clock;
    Prompts& prompts;
    QString applicationFolder;
    Shell& shell;
};

// The main window is the program: it owns the operator's profile and the sending state, composes the
// subsystems and shows what they report through the display interfaces.
class ProgCon : public QMainWindow, private TransmitDisplay, private MessageDisplay, private OperatorDisplay {
    Q_OBJECT
public:
    explicit ProgCon(PlatformServices services, QWidget* parent = nullptr);
    ~ProgCon() override;

    // Everything between creating the window and showing it, in its fixed order.
    void StartUp();
    // Shows the window in the state the last session left it in.
    void ShowAsStored();

    // A note for the operator in the status box, until the unit's next news replaces it.
    void ShowNotice(const QString& text);
    // Closes as a signal asks: nothing is asked, what is not saved is said on standard error, and the
    // unit is closed, also when a close already waits on its question.
    void ShutDownUnattended();
    // Lets loggers key the unit for this run, as --network-keyer asks; why not, when it cannot.
    QString ListenForLoggers(const QString& address);

protected:
    void closeEvent(QCloseEvent* event) override;
    // The resize rule places every control on each size change, maximised and restored too.
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SendKeyerSettings();
    void LoadProfile();
    void SaveProfile(bool makesProfile = false);
    void SaveAs();
    void ConnectionMonitorTick();
    KeyerFeaturesDialog* dlgEditKeyer();
    QString OperatorIniPath() const;
    void BuildWindow();
    void BuildMenus();
    void BuildLabels(QWidget* client);
    void BuildMessageStrip(QWidget* client);
    KeyboardHandlers::Parts KeyboardParts();
    void WireMessages();
    void WireOperators();
    void WireNetworkKeying();
    void WireSerialNumber();
    void StoreContestSettings();
    void SetFarnsworthSpacing(int effectiveWpm);
    void SetTabOrder();
    void SpeakOfControls();
    void PlaceControls(const std::vector<Placement>& places);
    QLineEdit* AddCaptionBox(const QString& name);
    QPushButton* AddButton(const QString& caption, const QString& name);
    void ShowStatus(const QString& text, const QColor& background);
    void ShowTransmitting(bool transmitting) override;
    bool ShowsClosingWords() const override;
    void ShowUnitStatus() override;
    StatusLine ShownStatus() const override;
    void ShowStatusLine(const StatusLine& line) override;
    void ShowEditState(bool editing) override;
    void ShowEditStatus(const QString& text) override;
    void ShowStoredMessage(int number) override;
    void ShowOperator() override;
    void ShowProfileTexts() override;
    void RestoreGeometry(const IniDocument& stateFile);
    void SaveGeometry();
    void FocusKeyboard();
    void TellProfileNotSaved(const QString& problem);
    // The four caption boxes under the Keyboard window show the paddle features.
    void ShowPaddleFeatures(const PaddleFeatures& features);
    void WireTransmitting();
    Pacing CurrentPacing() const;

    // Controls, named as the operator's documentation names them.
    SettingsPanel* panel_;
    QLineEdit* txtInfo;
    QLineEdit* txtIambic;
    QLineEdit* txtDotMemory;
    QLineEdit* txtDashMemory;
    QLineEdit* txtRLPaddles;
    QLineEdit* txtWrkStation;
    QLabel* lblOP;
    QTextEdit* txtKeyboard;
    QTextEdit* txtSent;
    QPushButton* cmdTx;
    QPushButton* cmdEnd;
    QPushButton* cmdClearSend;
    QPushButton* cmdCaptureCall;
    std::array<QPushButton*, MessageCount> cmdMessages;
    std::array<QLineEdit*, MessageCount> txtMsgTitle;
    HelpMenu* helpMenu_;

    std::unique_ptr<Timer> transmitTimer;
    std::unique_ptr<Timer> monitorTimer;

    SharedLink link_;
    RichText sent_;
    TransmitState state_;
    SendingStatus sendingStatus_{*this};

    bool shutDown = false;
    bool unattended_ = false;
    QString firmwareText;
    int dotMilliseconds = 0;
    OperatorProfile profile_;

    // Owned here rather than by the widget tree, so they go before the Keyboard window they watch.
    std::unique_ptr<KeyboardHandlers> keyboardHandlers_;
    std::unique_ptr<TransmitLoop> loop_;
    std::unique_ptr<MessageEditor> messages_;
    WorkedCall* workedCallEntry_;
    SerialNumber* serialNumber_;
    std::unique_ptr<OperatorCommands> operators_;
    std::unique_ptr<NetworkKeying> networkKeying_;

    PlatformServices services_;
    KeyerFeaturesDialog* keyerFeaturesDialog_ = nullptr;
    int storedWindowState_ = 0;
    // Set while a profile fills the controls, whose changes then wait for one settings transfer.
    bool loadingProfile_ = false;
    // A serial number that could not be stored is told once; the save at the end tells it again.
    bool toldContestNotStored_ = false;
};
