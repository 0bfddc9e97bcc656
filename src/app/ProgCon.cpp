#include "app/ProgCon.h"

#include "help/HelpMenu.h"
#include "keyboard/KeyboardHandlers.h"
#include "keyboard/WorkedCall.h"
#include "link/KeyerCommands.h"
#include "operators/OperatorFiles.h"
#include "platform/NumberText.h"
#include "platform/Twips.h"
#include "platform/WindowPlacement.h"
#include "platform/WrappingButton.h"
#include "profile/IniFile.h"
#include "profile/KeyerFeaturesDialog.h"
#include "profile/ProfileFile.h"
#include "profile/SettingsPanel.h"
#include "profile/UpDown.h"
#include "send/MorseTables.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
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
const QString OperatorSection = QStringLiteral("Operator");

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
      monitorTimer(services.clock.CreateTimer(1000, false)), link(services.hid), sent(txtSent),
      services_(services) {
    BuildWindow();
    BuildMenus();
    WireTransmitting();
    WireMessages();
    WireOperators();
    monitorTimer->onTick = [this] { ConnectionMonitorTick(); };
}

ProgCon::~ProgCon() = default;

QString ProgCon::OperatorIniPath() const {
    return QDir(services_.applicationFolder).filePath("Operator.INI");
}

KeyerFeaturesDialog* ProgCon::dlgEditKeyer() {
    if (!keyerFeaturesDialog_) {
        keyerFeaturesDialog_ = new KeyerFeaturesDialog(this);
        connect(keyerFeaturesDialog_, &KeyerFeaturesDialog::okPressed, this, [this] {
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

void ProgCon::WireTransmitting() {
    loop = std::make_unique<TransmitLoop>(
        TransmitLoop::Parts{state, keyboardHandlers->keyboard(), sent, *transmitTimer, *monitorTimer, link,
                            services_.clock, *this, sendingStatus, shutDown});
    loop->pacing = [this] { return CurrentPacing(); };
    loop->runChangeHandling = [this] { keyboardHandlers->Change(); };
    loop->focusKeyboard = [this] { FocusKeyboard(); };
    loop->speed = [this] { return panel->scrSpeed->value(); };
    loop->setSpeed = [this](int wordsPerMinute) { panel->scrSpeed->setValue(wordsPerMinute); };
    keyboardHandlers->stopSending = [this] { loop->Stop(); };
    keyboardHandlers->resumeSending = [this] {
        monitorTimer->SetEnabled(false);
        loop->Kick();
    };
    keyboardHandlers->holdSending = [this] { loop->TakeBack(); };
    connect(cmdTx, &QPushButton::clicked, this, [this] { loop->TransmitButtonClicked(); });
    connect(cmdEnd, &QPushButton::clicked, this, [this] { loop->StopButtonClicked(); });
    connect(cmdClearSend, &QPushButton::clicked, this, [this] { loop->ClearSentButtonClicked(); });
}

void ProgCon::WireMessages() {
    messages = std::make_unique<MessageEditor>(MessageEditor::Parts{state, keyboardHandlers->keyboard(),
                                                                    *transmitTimer, *monitorTimer,
                                                                    services_.prompts, messageTexts, *this});
    messages->macroValues = [this] { return CurrentMacroValues(); };
    // A message is stored only into the profile the settings were loaded from.
    messages->operatorFile = [this] { return ProfileLoaded() ? operatorFile : QString(); };
    messages->focusKeyboard = [this] { FocusKeyboard(); };
    for (int i = 0; i < MessageCount; ++i) {
        connect(cmdMessages[i], &QPushButton::clicked, this, [this, i] { messages->ButtonClicked(i); });
    }
    keyboardHandlers->sendMessageByKey = [this](int number) { messages->SendByKey(number); };
    keyboardHandlers->chooseMessageByKey = [this](int number) { messages->ChooseByKey(number); };
    keyboardHandlers->cancelMessageEdit = [this] { messages->Cancel(); };
    keyboardHandlers->saveMessageEdit = [this] { messages->Save(); };
    keyboardHandlers->stepSpeed = [this](int step) {
        step > 0 ? panel->scrSpeed->StepUp() : panel->scrSpeed->StepDown();
    };

    workedCallEntry->focusKeyboard = [this] { FocusKeyboard(); };
    connect(cmdCaptureCall, &QPushButton::clicked, this, [this] { workedCallEntry->ShowDialog(); });
}

void ProgCon::WireOperators() {
    operators = std::make_unique<OperatorCommands>(OperatorCommands::Parts{
        *this, services_.prompts, services_.applicationFolder, OperatorIniPath(), operatorFile, myCall,
        operatorName, qth, lastChosenFile_, [this](bool makesProfile) { SaveProfile(makesProfile); },
        [this] { LoadProfile(); }, [this] { SendKeyerSettings(); }, [this] { ShowCall(); }});
}

// The call comes from the operator label, which always shows "Operator: " and the call.
MacroValues ProgCon::CurrentMacroValues() {
    return {lblOP->text().mid(10), workedCallEntry->workedCall(), operatorName, qth};
}

Pacing ProgCon::CurrentPacing() const {
    return {dotMilliseconds, ParseLeadingNumber(panel->Shown(Setting::LetterSpace)),
            ParseLeadingNumber(panel->Shown(Setting::WordSpace))};
}

bool ProgCon::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) FocusKeyboard();
    return QMainWindow::eventFilter(watched, event);
}

void ProgCon::ShowNotice(const QString& text) {
    txtInfo->setText(text);
}

void ProgCon::ShowCall() {
    lblOP->setText(QStringLiteral("Operator: ") + myCall);
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
    ShowStatus(firmwareText, Colours::BlueGrey);
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

QString ProgCon::MessageTitle(int number) const {
    return txtMsgTitle[number - 1]->text();
}

void ProgCon::ShowStoredMessage(int number, const QString& title) {
    txtMsgTitle[number - 1]->setText(title);
    cmdMessages[number - 1]->setToolTip(messageTexts[number - 1]);
}

void ProgCon::StartUp() {
    firmwareText = link.With([](UnitLink& unit) { return unit.QueryFirmwareVersion(); });
    const bool found = firmwareText != NoUnitVersion;
    if (!found) firmwareText = NotFoundText;
    // Missing or unreadable, the state file reads as empty: a first run.
    const IniDocument stateFile = LoadIniFile(OperatorIniPath()).document;
    RestoreGeometry(stateFile);
    ShowStatus(firmwareText, found ? Colours::BlueGrey : Colours::Red);
    QDir::setCurrent(services_.applicationFolder);

    // Read whole: a path cut short would name another file.
    operatorFile =
        ProfilePathFromRecord(stateFile.Value(OperatorSection, QStringLiteral("INIFile")).value_or(QString()),
                              services_.applicationFolder);
    // The operator's choice arrives later through the dialogs; until then the window holds the defaults.
    if (operatorFile.endsWith(QLatin1Char('/'))) {
        operators->SelectOperator();
    } else if (!IniFileExists(operatorFile)) {
        operators->SelectInsteadOfMissing();
    }

    LoadProfile();
    SendKeyerSettings();
    setWindowTitle(TitleForOperatorFile(operatorFile));
    panel->RefreshDisplays();
    sent.SetText(QString());
    loop->SetTables(BuildMorseTables());
    state.restartSending = true;
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
    SaveIniFile(OperatorIniPath(), stateFile.document);
}

void ProgCon::closeEvent(QCloseEvent* event) {
    if (!shutDown) {
        shutDown = true;
        transmitTimer->SetEnabled(false);
        monitorTimer->SetEnabled(false);
        // Nothing more goes out; a character on its way is written before the key is released.
        loop->ShutDown();
        // Whatever way the program ends, the transmitter is not left keyed.
        keyboardHandlers->ReleaseTune();
        SaveGeometry();
        SaveProfile();
        helpMenu->CloseAbout();
        link.With([](UnitLink& unit) { unit.CloseUnit(); });
    }
    event->accept();
}

void ProgCon::ShutDownUnattended() {
    unattended_ = true;
    close();
    // A close that waits on its Save As question has not closed the unit yet.
    link.With([](UnitLink& unit) { unit.CloseUnit(); });
}

void ProgCon::SendKeyerSettings() {
    const PaddleFeatures features = dlgEditKeyer()->Features();
    KeyerSettings settings;
    settings.speed = panel->scrSpeed->value();
    settings.weight = panel->scrWeight->value();
    settings.volume = panel->scrVolume->value();
    settings.tone = static_cast<int>(RoundHalfEven(ParseLeadingNumber(panel->Shown(Setting::Tone))));
    settings.letterSpace = ParseLeadingNumber(panel->Shown(Setting::LetterSpace));
    settings.wordSpace = ParseLeadingNumber(panel->Shown(Setting::WordSpace));
    settings.rightHand = features.rightHand;
    settings.iambic = features.iambic;
    settings.dotMemory = features.dotMemory;
    settings.dashMemory = features.dashMemory;

    ShowPaddleFeatures(features);

    const KeyerEncoding encoding = EncodeKeyerSettings(settings);
    dotMilliseconds = encoding.dotMilliseconds;
    sentSpeed = settings.speed;
    sentWeight = settings.weight;
    sentTone = settings.tone;
    sentVolume = settings.volume;
    link.With([&](UnitLink& unit) { unit.WriteSettings(encoding.blocks); });
}

void ProgCon::ShowPaddleFeatures(const PaddleFeatures& features) {
    txtIambic->setText(features.iambic ? "Iambic" : "Dash Override");
    txtDotMemory->setText(features.dotMemory ? "Dot Memory ON" : "Dot Memory OFF");
    txtDashMemory->setText(features.dashMemory ? "Dash Memory ON" : "Dash Memory OFF");
    txtRLPaddles->setText(features.rightHand ? "Right-Hand Paddles" : "Left-Hand Paddles");
}

void ProgCon::ConnectionMonitorTick() {
    // While the transmitter is keyed for tuning the unit hears nothing but the tune commands.
    if (state.tuneActive) return;
    struct Answer {
        std::optional<QString> version; // nothing when the unit is not there
        bool answered = false;
    };
    const Answer answer = link.With([](UnitLink& unit) {
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
    if (answer.answered && loop->HasUnsentText()) {
        monitorTimer->SetEnabled(false);
        loop->Kick();
    }
}

// Fills the window from the profile without talking to the unit: the caller sends the settings once
// everything, the paddle features included, is in place.
void ProgCon::LoadProfile() {
    const ProfileRead read = ReadProfile(operatorFile);
    if (read.problem) services_.prompts.MessageBox(*read.problem, QString(), Prompts::Buttons::Ok);
    loadedProfile_ = read.writable ? operatorFile : QString();
    const ProfileData& profile = read.profile;
    const QScopedValueRollback holdSettings(loadingProfile_, true);
    panel->scrSpeed->setValue(profile.speed);
    panel->scrWeight->setValue(profile.weight);
    panel->scrWordSpace->setValue(profile.wordSpaceTenths);
    panel->scrLetterSpace->setValue(profile.letterSpaceTenths);
    panel->scrVolume->setValue(profile.volume);
    panel->scrTone->setValue(profile.toneTens);

    const PaddleFeatures features{profile.iambic, profile.dotMemory, profile.dashMemory, profile.rightHand};
    dlgEditKeyer()->SetFeatures(features);
    ShowPaddleFeatures(features);

    myCall = profile.myCall;
    ShowCall();
    operatorName = profile.name;
    qth = profile.qth;
    for (int i = 0; i < MessageCount; ++i) {
        messageTexts[i] = profile.messages[i];
        txtMsgTitle[i]->setText(profile.titles[i]);
        cmdMessages[i]->setToolTip(messageTexts[i]);
    }
}

bool ProgCon::ProfileLoaded() const {
    return !operatorFile.isEmpty() && operatorFile == loadedProfile_;
}

void ProgCon::RecordOperatorFile() {
    QString fileName = RecordForProfilePath(operatorFile, services_.applicationFolder);
    WriteIniValue(OperatorIniPath(), OperatorSection, QStringLiteral("INIFile"), fileName);
}

// A profile missing or unusable at its load is left alone, so that it is found as it was when it
// comes back; with no operator chosen a save goes nowhere, which is told only when the program ends.
void ProgCon::SaveProfile(bool makesProfile) {
    RecordOperatorFile();
    if (!ProfileLoaded() && !makesProfile) {
        if (shutDown || !NamesNoProfile(operatorFile))
            TellProfileNotSaved(UnloadedProfileProblem(operatorFile));
        return;
    }
    const ProfileWrite how = ProfileLoaded() ? ProfileWrite::Replace : ProfileWrite::Create;
    if (const ProfileProblem problem = WriteWindowProfile(operatorFile, how)) TellProfileNotSaved(*problem);
}

ProfileProblem ProgCon::WriteWindowProfile(const QString& file, ProfileWrite how) {
    ProfileSave profile;
    const PaddleFeatures features = dlgEditKeyer()->Features();
    profile.iambic = features.iambic;
    profile.dotMemory = features.dotMemory;
    profile.dashMemory = features.dashMemory;
    profile.rightHand = features.rightHand;
    profile.myCall = myCall;
    profile.name = operatorName;
    profile.qth = qth;
    for (int i = 0; i < MessageCount; ++i) {
        profile.messages[i] = messageTexts[i];
        profile.titles[i] = txtMsgTitle[i]->text();
    }
    profile.sentSpeed = sentSpeed;
    profile.sentWeight = sentWeight;
    profile.sentToneHertz = sentTone;
    profile.sentVolume = sentVolume;
    profile.wordSpaceText = panel->Shown(Setting::WordSpace);
    profile.letterSpaceText = panel->Shown(Setting::LetterSpace);
    const ProfileProblem problem = WriteProfile(file, profile, how);
    // Line breaks went into the file as blanks; the messages in memory follow the file.
    std::copy(profile.messages.begin(), profile.messages.end(), messageTexts.begin());
    if (!problem) loadedProfile_ = file;
    return problem;
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
    const QString chosen = services_.prompts.SaveFileName(
        QStringLiteral("Save Current Settings As"), services_.applicationFolder,
        QStringLiteral("Initialization Files (*.INI *.ini)"), lastChosenFile_);
    if (chosen.isEmpty()) return;
    lastChosenFile_ = QFileInfo(chosen).fileName();
    const QString profile = WithIniExtension(chosen);
    if (IsProtectedProfilePath(profile)) {
        services_.prompts.MessageBox(QStringLiteral("Cannot Save as OPERATOR.INI"),
                                     QStringLiteral("Protected File"), Prompts::Buttons::Ok);
        return;
    }
    // Only a new file or another operator profile is written over.
    if (const ProfileProblem problem = WriteWindowProfile(profile, ProfileWrite::Choose))
        return TellProfileNotSaved(*problem);
    // The path stays as chosen: on a case-sensitive file system its capitals would name another file.
    operatorFile = profile;
    operators->ShowIdentity();
    RecordOperatorFile();
}
