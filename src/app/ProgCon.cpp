#include "app/ProgCon.h"

#include "app/NetworkKeying.h"
#include "help/HelpMenu.h"
#include "keyboard/KeyboardHandlers.h"
#include "keyboard/SerialNumber.h"
#include "keyboard/WorkedCall.h"
#include "link/KeyerCommands.h"
#include "operators/OperatorFiles.h"
#include "platform/NumberText.h"
#include "platform/Twips.h"
#include "platform/WindowPlacement.h"
#include "platform/WrappingButton.h"
#include "profile/Farnsworth.h"
#include "profile/IniFile.h"
#include "profile/KeyerFeaturesDialog.h"
#include "profile/ProfileFile.h"
#include "profile/SettingsPanel.h"
#include "profile/UpDown.h"
#include "send/MorseTables.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTextEdit>
#include <algorithm>

namespace {

const QString NotFoundText = QStringLiteral("Interface Unit Not Found");
const QString PleaseConnectText = QStringLiteral("Please Connect The TANDREL Interface Unit!");
const QString InterfaceNotFoundText = QStringLiteral("TANDREL Interface Not Found");
const QString NoUnitVersion = QStringLiteral("Firmware Version: 0.0.0");
const QString TransmitCaption = QStringLiteral(" Transmit Mode Click to Pause");
const QString PausedCaption = QStringLiteral("     Paused     Click to Transmit");

const QString FormSection = QStringLiteral("Form");

// Geometry is kept in Operator.INI in twips; a first run places and sizes the window at this.
constexpr double FirstRunTwips = 100;

// A hand-edited value that is no number takes the default; an absurd one is held to a sane range.
double ReadTwips(const IniDocument& stateFile, const QString& key) {
    const auto number = ParseNumber(CutIniValue(stateFile.Value(FormSection, key), QString()));
    return std::clamp(number.value_or(FirstRunTwips), -1.0e6, 1.0e6);
}

} // namespace

ProgCon::ProgCon(PlatformServices services, QWidget* parent)
    : QMainWindow(parent), txtSent(new QTextEdit), transmitTimer(services.clock.CreateTimer(100, true)),
      monitorTimer(services.clock.CreateTimer(1000, false)), link_(services.hid), sent_(txtSent),
      services_(services) {
    BuildWindow();
    BuildMenus();
    WireTransmitting();
    WireMessages();
    WireOperators();
    WireSerialNumber();
    WireNetworkKeying();
    monitorTimer->onTick = [this] { ConnectionMonitorTick(); };
}

ProgCon::~ProgCon() = default;

QString ProgCon::OperatorIniPath() const {
    return QDir(services_.applicationFolder).filePath("Operator.INI");
}

KeyerFeaturesDialog* ProgCon::dlgEditKeyer() {
    if (!keyerFeaturesDialog_) {
        keyerFeaturesDialog_ = new KeyerFeaturesDialog(profile_.paddles, this);
        connect(keyerFeaturesDialog_, &KeyerFeaturesDialog::okPressed, this, [this] {
            serialNumber_->SetCutNumbers(keyerFeaturesDialog_->ChosenCutNumbers());
            if (const auto effective = keyerFeaturesDialog_->EffectiveSpeed())
                SetFarnsworthSpacing(*effective);
            SendKeyerSettings();
            keyerFeaturesDialog_->hide();
            FocusKeyboard();
        });
    }
    return keyerFeaturesDialog_;
}

void ProgCon::FocusKeyboard() {
    txtKeyboard->setFocus();
}

// The keys reach the stored messages, the transmit loop and the speed, which are made after them.
KeyboardHandlers::Parts ProgCon::KeyboardParts() {
    return {state_,
            sent_,
            link_,
            services_.prompts,
            sendingStatus_,
            [this](int number) { messages_->SendByKey(number); },
            [this](int number) { messages_->ChooseByKey(number); },
            [this] { messages_->Cancel(); },
            [this] { messages_->Save(); },
            [this] { loop_->Stop(); },
            [this] {
                monitorTimer->SetEnabled(false);
                loop_->Kick();
            },
            [this] { loop_->TakeBack(); },
            [this](int step) { step > 0 ? panel_->scrSpeed->StepUp() : panel_->scrSpeed->StepDown(); }};
}

void ProgCon::WireTransmitting() {
    loop_ = std::make_unique<TransmitLoop>(
        TransmitLoop::Parts{state_, keyboardHandlers_->keyboard(), sent_, *transmitTimer, *monitorTimer,
                            link_, services_.clock, *this, sendingStatus_, shutDown,
                            [this] { return CurrentPacing(); }, [this] { keyboardHandlers_->Change(); },
                            [this] { FocusKeyboard(); }, [this] { return panel_->scrSpeed->value(); },
                            [this](int wordsPerMinute) { panel_->scrSpeed->setValue(wordsPerMinute); },
                            [this] { networkKeying_->AnswerKeyedReplies(); }});
    connect(cmdTx, &QPushButton::clicked, this, [this] { loop_->TransmitButtonClicked(); });
    connect(cmdEnd, &QPushButton::clicked, this, [this] { loop_->StopButtonClicked(); });
    connect(cmdClearSend, &QPushButton::clicked, this, [this] { loop_->ClearSentButtonClicked(); });
}

void ProgCon::WireMessages() {
    messages_ = std::make_unique<MessageEditor>(MessageEditor::Parts{
        state_, keyboardHandlers_->keyboard(), *transmitTimer, *monitorTimer, services_.prompts, profile_,
        *workedCallEntry_, *this, [this] { FocusKeyboard(); }, [this] { serialNumber_->Sent(); }});
    for (int i = 0; i < MessageCount; ++i) {
        connect(cmdMessages[i], &QPushButton::clicked, this, [this, i] { messages_->ButtonClicked(i); });
    }
    connect(cmdCaptureCall, &QPushButton::clicked, this, [this] { workedCallEntry_->ShowDialog(); });
}

void ProgCon::WireOperators() {
    operators_ = std::make_unique<OperatorCommands>(OperatorCommands::Parts{
        *this, services_.prompts, services_.applicationFolder, OperatorIniPath(), profile_, *this,
        [this](bool makesProfile) { SaveProfile(makesProfile); }, [this] { LoadProfile(); }});
}

void ProgCon::WireSerialNumber() {
    connect(workedCallEntry_, &WorkedCall::confirmed, this,
            [this] { serialNumber_->CallConfirmed(workedCallEntry_->workedCall()); });
    connect(serialNumber_, &SerialNumber::changed, this, &ProgCon::StoreContestSettings);
    connect(serialNumber_, &SerialNumber::done, this, &ProgCon::FocusKeyboard);
}

void ProgCon::StoreContestSettings() {
    const ProfileProblem problem = profile_.StoreContest();
    if (problem && !std::exchange(toldContestNotStored_, true))
        services_.prompts.MessageBox(*problem, QString(), Prompts::Buttons::Ok);
}

// The spaces are computed once, from the speed in force, and are ordinary spacing from then on.
void ProgCon::SetFarnsworthSpacing(int effectiveWpm) {
    const FarnsworthSpacing spacing = SpacingForEffectiveSpeed(panel_->scrSpeed->value(), effectiveWpm);
    {
        const QScopedValueRollback holdSettings(loadingProfile_, true);
        panel_->scrWordSpace->setValue(spacing.wordSpaceTenths);
        panel_->scrLetterSpace->setValue(spacing.letterSpaceTenths);
    }
    if (!spacing.reached)
        ShowNotice(QStringLiteral("Farnsworth: the spacing controls cannot slow %1 WPM down to %2 WPM; "
                                  "the nearest spaces are set")
                       .arg(panel_->scrSpeed->value())
                       .arg(effectiveWpm));
}

void ProgCon::WireNetworkKeying() {
    networkKeying_ = std::make_unique<NetworkKeying>(NetworkKeying::Parts{
        state_, keyboardHandlers_->keyboard(), *loop_, *keyboardHandlers_, *panel_, services_.clock, *this,
        profile_, [this] { SendKeyerSettings(); },
        // The unit's status shows the note as it is now; any other text stays until it gives way.
        [this](const QString& before) {
            if (txtInfo->text() == firmwareText + before)
                txtInfo->setText(firmwareText + networkKeying_->Note());
        }});
}

QString ProgCon::ListenForLoggers(const QString& address) {
    return networkKeying_->ListenForThisRun(address);
}

Pacing ProgCon::CurrentPacing() const {
    return {dotMilliseconds, ParseLeadingNumber(panel_->Shown(Setting::LetterSpace)),
            ParseLeadingNumber(panel_->Shown(Setting::WordSpace))};
}

bool ProgCon::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) FocusKeyboard();
    return QMainWindow::eventFilter(watched, event);
}

void ProgCon::ShowNotice(const QString& text) {
    txtInfo->setText(text);
}

void ProgCon::ShowOperator() {
    lblOP->setText(QStringLiteral("Operator: ") + profile_.identity.myCall);
    setWindowTitle(TitleForOperatorFile(profile_.file));
}

void ProgCon::ShowStatus(const QString& text, const QColor& background) {
    SetBackground(txtInfo, background);
    txtInfo->setText(text);
}

void ProgCon::ShowTransmitting(bool transmitting) {
    cmdTx->setText(transmitting ? TransmitCaption : PausedCaption);
    cmdTx->setAccessibleName(transmitting ? QStringLiteral("Transmitting: press to pause")
                                          : QStringLiteral("Paused: press to transmit"));
    SetColour(cmdTx, QPalette::Button, transmitting ? Colours::LightGreen : Colours::LightYellow);
}

bool ProgCon::ShowsClosingWords() const {
    const QString text = txtInfo->text();
    return text.startsWith(QLatin1String("Message Saved")) || text.startsWith(QLatin1String("Message Edit"));
}

void ProgCon::ShowUnitStatus() {
    ShowStatus(firmwareText + networkKeying_->Note(), Colours::BlueGrey);
}

StatusLine ProgCon::ShownStatus() const {
    return {txtInfo->text(), txtInfo->palette().color(QPalette::Base)};
}

void ProgCon::ShowStatusLine(const StatusLine& line) {
    ShowStatus(line.text, line.background);
}

void ProgCon::ShowEditState(bool editing) {
    ShowTransmitting(!editing);
    cmdTx->setEnabled(!editing);
    txtSent->setEnabled(!editing);
    SetBackground(txtKeyboard, editing ? Colours::Grey : Colours::LightYellow);
    if (editing) SetBackground(txtInfo, Colours::LightGreen);
}

void ProgCon::ShowEditStatus(const QString& text) {
    txtInfo->setText(text);
}

void ProgCon::ShowProfileTexts() {
    for (int number = 1; number <= MessageCount; ++number)
        ShowStoredMessage(number);
    serialNumber_->Show();
}

void ProgCon::ShowStoredMessage(int number) {
    txtMsgTitle[number - 1]->setText(profile_.titles[number - 1]);
    cmdMessages[number - 1]->setToolTip(profile_.messages[number - 1]);
}

void ProgCon::StartUp() {
    firmwareText = link_.With([](UnitLink& unit) { return unit.QueryFirmwareVersion(); });
    const bool found = firmwareText != NoUnitVersion;
    if (!found) firmwareText = NotFoundText;
    // Missing or unreadable, the state file reads as empty: a first run.
    const IniDocument stateFile = LoadIniFile(OperatorIniPath()).document;
    RestoreGeometry(stateFile);
    ShowStatus(firmwareText, found ? Colours::BlueGrey : Colours::Red);
    networkKeying_->Restore(stateFile);
    QDir::setCurrent(services_.applicationFolder);

    operators_->TakeRecordedOperatorFile(stateFile);
    // The operator's choice arrives later through the dialogs; until then the window holds the defaults.
    if (profile_.file.endsWith(QLatin1Char('/'))) {
        operators_->SelectOperator();
    } else if (!IniFileExists(profile_.file)) {
        operators_->SelectInsteadOfMissing();
    }

    LoadProfile();
    panel_->RefreshDisplays();
    sent_.SetText(QString());
    loop_->SetTables(BuildMorseTables());
    state_.restartSending = true;
    // Nothing is typed yet: the connection monitor watches the unit until the operator types.
    transmitTimer->SetEnabled(false);
    monitorTimer->SetEnabled(true);
    // The operator's first keystrokes belong in the Keyboard window, not on a message button.
    FocusKeyboard();
}

void ProgCon::RestoreGeometry(const IniDocument& stateFile) {
    const auto stored =
        ParseNumber(CutIniValue(stateFile.Value(FormSection, QStringLiteral("WindowState")), QString()));
    storedWindowState_ = stored && (*stored == 1 || *stored == 2) ? static_cast<int>(*stored) : 0;

    // The stored place is the frame's.
    QPoint frame(TwipsToPixels(ReadTwips(stateFile, QStringLiteral("Left"))),
                 TwipsToPixels(ReadTwips(stateFile, QStringLiteral("Top"))));
    // A window stored on a screen that is no longer there would open out of reach.
    if (!QGuiApplication::screenAt(frame))
        frame = QPoint(TwipsToPixels(FirstRunTwips), TwipsToPixels(FirstRunTwips));
    QSize size(std::max(1, TwipsToPixels(ReadTwips(stateFile, QStringLiteral("Width")))),
               std::max(1, TwipsToPixels(ReadTwips(stateFile, QStringLiteral("Height")))));
    if (const QScreen* screen = QGuiApplication::screenAt(frame))
        size = size.boundedTo(screen->availableSize());
    resize(size);
    PlaceFrameAt(this, frame);
}

void ProgCon::ShowAsStored() {
    if (storedWindowState_ == 2) {
        showMaximized();
    } else if (storedWindowState_ == 1) {
        showMinimized();
    } else {
        show();
    }
}

// One save of the state file for all the keys; an unreadable one is left as it is.
void ProgCon::SaveGeometry() {
    IniLoad stateFile = LoadIniFile(OperatorIniPath());
    if (stateFile.problem) return;
    int windowState = 0;
    if (isMinimized()) {
        windowState = 1;
    } else if (isMaximized()) {
        windowState = 2;
    } else {
        const QRect frame = frameGeometry();
        for (auto [key, pixels] : {std::pair{"Height", height()}, std::pair{"Width", width()},
                                   std::pair{"Top", frame.top()}, std::pair{"Left", frame.left()}}) {
            stateFile.document.SetValue(FormSection, QString::fromLatin1(key),
                                        QString::number(PixelsToTwips(pixels)));
        }
    }
    stateFile.document.SetValue(FormSection, QStringLiteral("WindowState"), QString::number(windowState));
    networkKeying_->Remember(stateFile.document);
    SaveIniFile(OperatorIniPath(), stateFile.document);
}

void ProgCon::closeEvent(QCloseEvent* event) {
    if (!shutDown) {
        shutDown = true;
        networkKeying_->ShutDown();
        transmitTimer->SetEnabled(false);
        monitorTimer->SetEnabled(false);
        // Nothing more goes out; a character on its way is written before the key is released.
        loop_->ShutDown();
        // Whatever way the program ends, the transmitter is not left keyed.
        keyboardHandlers_->ReleaseTune();
        SaveGeometry();
        SaveProfile();
        helpMenu_->CloseAbout();
        link_.With([](UnitLink& unit) { unit.CloseUnit(); });
    }
    event->accept();
}

void ProgCon::ShutDownUnattended() {
    unattended_ = true;
    close();
    // A close that waits on its Save As question has not closed the unit yet.
    link_.With([](UnitLink& unit) { unit.CloseUnit(); });
}

// The settings in the panel and the paddle choice go to the unit, and are what a save writes.
void ProgCon::SendKeyerSettings() {
    profile_.timing = panel_->Timing();
    ShowPaddleFeatures(profile_.paddles);
    const KeyerEncoding encoding = EncodeKeyerSettings(profile_.ToSend());
    dotMilliseconds = encoding.dotMilliseconds;
    link_.With([&](UnitLink& unit) { unit.WriteSettings(encoding.blocks); });
}

void ProgCon::ShowPaddleFeatures(const PaddleFeatures& features) {
    txtIambic->setText(features.iambic ? "Iambic" : "Dash Override");
    txtDotMemory->setText(features.dotMemory ? "Dot Memory ON" : "Dot Memory OFF");
    txtDashMemory->setText(features.dashMemory ? "Dash Memory ON" : "Dash Memory OFF");
    txtRLPaddles->setText(features.rightHand ? "Right-Hand Paddles" : "Left-Hand Paddles");
}

void ProgCon::ConnectionMonitorTick() {
    // While the transmitter is keyed for tuning the unit hears nothing but the tune commands.
    if (state_.tuneActive) return;
    struct Answer {
        std::optional<QString> version; // nothing when the unit is not there
        bool answered = false;
    };
    const Answer answer = link_.With([](UnitLink& unit) {
        if (!unit.FindUnit()) return Answer{};
        const QString version = unit.QueryFirmwareVersion();
        return Answer{version, unit.unitDetected()};
    });
    if (!answer.version) {
        const QString next = txtInfo->text() == PleaseConnectText ? InterfaceNotFoundText : PleaseConnectText;
        ShowStatus(next, Colours::Red);
        return;
    }
    firmwareText = *answer.version;
    ShowUnitStatus();
    // Text the unit could not take while it was away goes on as soon as it answers again.
    if (answer.answered && loop_->HasUnsentText()) {
        monitorTimer->SetEnabled(false);
        loop_->Kick();
    }
}

// The window and the unit take the profile's values together, once everything is in place; what was
// wrong with the file is told once the window shows what is in use.
void ProgCon::LoadProfile() {
    const ProfileProblem problem = profile_.Load();
    {
        const QScopedValueRollback holdSettings(loadingProfile_, true);
        panel_->SetTiming(profile_.timing);
        dlgEditKeyer()->ShowChoice();
        dlgEditKeyer()->SetCutNumbers(profile_.contest.cutNumbers);
        ShowOperator();
        ShowProfileTexts();
        SendKeyerSettings();
    }
    if (problem) services_.prompts.MessageBox(*problem, QString(), Prompts::Buttons::Ok);
}

// A profile missing or unusable at its load is left alone, so that it is found as it was when it
// comes back; with no operator chosen a save goes nowhere, which is told only when the program ends.
void ProgCon::SaveProfile(bool makesProfile) {
    operators_->RecordOperatorFile();
    const ProfileProblem problem = profile_.Save(makesProfile);
    if (problem && (shutDown || !NamesNoProfile(profile_.file))) TellProfileNotSaved(*problem);
}

// At shutdown the operator's changes would be lost with the window: the reason stays on standard error,
// and Save As is offered unless a signal ends the program, which never waits for an answer.
void ProgCon::TellProfileNotSaved(const QString& problem) {
    if (!shutDown) {
        services_.prompts.MessageBox(problem, QString(), Prompts::Buttons::Ok);
        return;
    }
    qWarning().noquote() << problem;
    if (unattended_) return;
    const QString question =
        problem + QStringLiteral("\n\nSave the profile under another name before closing?");
    if (services_.prompts.MessageBox(question, QString(), Prompts::Buttons::YesNo) == Prompts::Answer::Yes)
        SaveAs();
}

void ProgCon::SaveAs() {
    if (const ProfileProblem problem = operators_->SaveAs()) TellProfileNotSaved(*problem);
}
