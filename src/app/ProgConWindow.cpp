#include "app/ProgCon.h"

#include "app/NetworkKeying.h"
#include "app/WindowLayout.h"
#include "help/HelpMenu.h"
#include "keyboard/KeyboardHandlers.h"
#include "keyboard/SerialNumber.h"
#include "keyboard/WorkedCall.h"
#include "platform/Twips.h"
#include "platform/WindowPlacement.h"
#include "platform/WrappingButton.h"
#include "profile/KeyerFeaturesDialog.h"
#include "profile/SettingBox.h"
#include "profile/SettingsPanel.h"
#include "profile/UpDown.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QTextEdit>

// The main window's controls, placed by the resize rule, and its menus.

namespace {

// The window's outer size less its client area, as the resize rule counts it: the rule's sizes
// include a frame, caption and menu bar of these lengths, whatever the desktop draws.
constexpr double FrameWidth = 120;
constexpr double FrameHeight = 810;

// The window was laid out for faces a Linux desktop does not have, and the usual stand-in is wider,
// so captions were cut. Liberation Sans is as wide as the layout needs; its Narrow cut fits the
// smallest boxes. DejaVu Sans Condensed, of about Liberation Sans's width, stands in where it is missing.
enum class Cut { Regular, Narrow };

QFont WindowFont(double points, int weight = QFont::Normal, Cut cut = Cut::Regular) {
    QFont font;
    font.setFamilies(
        {cut == Cut::Narrow ? QStringLiteral("Liberation Sans Narrow") : QStringLiteral("Liberation Sans"),
         QStringLiteral("DejaVu Sans Condensed")});
    font.setPointSizeF(points);
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

QFont HeadingFont() {
    return WindowFont(9.75, 600);
}

template <typename Control> Control* Named(Control* control, const QString& name) {
    control->setObjectName(name);
    return control;
}

QFrame* AddRule(QWidget* client, const QString& name, QFrame::Shape shape) {
    auto* rule = Named(new QFrame(client), name);
    rule->setFrameShape(shape);
    rule->setFrameShadow(QFrame::Plain);
    return rule;
}

// What a screen reader says for a control.
void Speak(QWidget* control, const QString& name, const QString& description = QString()) {
    control->setAccessibleName(name);
    control->setAccessibleDescription(description);
}

// A box that only shows something: the focus never rests there.
QLineEdit* AddShowingBox(QWidget* client, const QString& name) {
    auto* box = Named(new QLineEdit(client), name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

} // namespace

void ProgCon::BuildWindow() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    client->setMinimumSize(TwipsToPixels(MinimumOuterWidth - FrameWidth),
                           TwipsToPixels(MinimumOuterHeight - FrameHeight));
    SetColour(client, QPalette::Window, Colours::Grey);
    client->setAutoFillBackground(true);
    setFont(WindowFont(8.25));

    BuildMessageStrip(client);
    BuildLabels(client);
    lblOP = Named(new QLabel(client), QStringLiteral("lblOP"));

    txtSent->setParent(client);
    txtSent->setObjectName(QStringLiteral("txtSent"));
    txtSent->setReadOnly(true);
    // Nobody undoes in a read-only box; a history would keep every character of the session twice.
    txtSent->setUndoRedoEnabled(false);
    txtSent->setFont(WindowFont(9.75, 600));

    panel_ = Named(new SettingsPanel(client), QStringLiteral("panel"));
    connect(panel_, &SettingsPanel::settingChanged, this, [this] {
        if (!loadingProfile_) SendKeyerSettings();
    });
    connect(panel_, &SettingsPanel::done, this, [this] {
        if (!loadingProfile_) FocusKeyboard();
    });

    keyboardHandlers_ = std::make_unique<KeyboardHandlers>(KeyboardParts(), client);
    txtKeyboard = keyboardHandlers_->window();
    txtKeyboard->setFont(WindowFont(11.25));
    SetBackground(txtKeyboard, Colours::LightYellow);

    workedCallEntry_ = new WorkedCall(client, this, [this] { FocusKeyboard(); });
    txtWrkStation = workedCallEntry_->box();
    serialNumber_ = new SerialNumber(client, profile_.contest);
    txtIambic = AddCaptionBox(QStringLiteral("txtIambic"));
    txtDotMemory = AddCaptionBox(QStringLiteral("txtDotMemory"));
    txtDashMemory = AddCaptionBox(QStringLiteral("txtDashMemory"));
    txtRLPaddles = AddCaptionBox(QStringLiteral("txtRLPaddles"));
    txtInfo = AddShowingBox(client, QStringLiteral("txtInfo"));

    cmdTx = AddButton(QStringLiteral(" Transmit Mode Click to Pause"), QStringLiteral("cmdTx"));
    cmdEnd = AddButton(QStringLiteral("Clear Keyboard Window (Stop)"), QStringLiteral("cmdEnd"));
    cmdClearSend = AddButton(QStringLiteral("Clear Sent Window"), QStringLiteral("cmdClearSend"));
    cmdCaptureCall = AddButton(QStringLiteral("Capture Call"), QStringLiteral("cmdCaptureCall"));
    ShowTransmitting(true);
    SetColour(cmdEnd, QPalette::Button, Colours::Red);
    SpeakOfControls();

    // A click on a box that only shows something hands the focus back to the Keyboard window.
    for (QWidget* box : {static_cast<QWidget*>(txtIambic), static_cast<QWidget*>(txtDotMemory),
                         static_cast<QWidget*>(txtDashMemory), static_cast<QWidget*>(txtRLPaddles),
                         static_cast<QWidget*>(txtInfo), txtSent->viewport()}) {
        box->installEventFilter(this);
    }
    SetTabOrder();
    KeepTitleBarOnScreen(this);
    PlaceControls(ResizeRule(MinimumOuterWidth, MinimumOuterHeight, false).places);
}

// From the Keyboard window one Tab reaches the speed; after a change the focus comes back there. Tab
// passes the setting boxes by, but from one it goes on as from its spin control.
void ProgCon::SetTabOrder() {
    QWidget* order[] = {txtKeyboard,
                        panel_->scrSpeed,
                        panel_->txtSpeed,
                        panel_->scrWeight,
                        panel_->txtWeight,
                        panel_->scrWordSpace,
                        panel_->txtWordSpace,
                        panel_->scrLetterSpace,
                        panel_->txtLetterSpace,
                        panel_->scrVolume,
                        panel_->txtVolume,
                        panel_->scrTone,
                        panel_->txtTone,
                        txtWrkStation,
                        serialNumber_->control(),
                        serialNumber_->box(),
                        cmdTx,
                        cmdEnd,
                        cmdClearSend,
                        cmdCaptureCall};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void ProgCon::SpeakOfControls() {
    Speak(txtKeyboard, QStringLiteral("Keyboard"),
          QStringLiteral("What is typed here is sent as Morse. ALT held keys the transmitter for tuning; "
                         "F1 to F12 send the stored messages."));
    Speak(txtSent, QStringLiteral("Sent"), QStringLiteral("The text the unit has sent."));
    Speak(txtWrkStation, QStringLiteral("Worked station's call"), QStringLiteral("Enter confirms the call."));
    Speak(txtInfo, QStringLiteral("Status"));
    Speak(txtIambic, QStringLiteral("Iambic or dash override"));
    Speak(txtDotMemory, QStringLiteral("Dot memory"));
    Speak(txtDashMemory, QStringLiteral("Dash memory"));
    Speak(txtRLPaddles, QStringLiteral("Paddle hand"));
    Speak(cmdEnd, QStringLiteral("Clear Keyboard window and stop"));
    Speak(cmdClearSend, QStringLiteral("Clear Sent window"));
    Speak(cmdCaptureCall, QStringLiteral("Capture call"));
    for (int i = 0; i < MessageCount; ++i) {
        Speak(cmdMessages[i], QStringLiteral("Message %1").arg(i + 1),
              QStringLiteral("Sends stored message %1, as F%1 does in the Keyboard window.").arg(i + 1));
        Speak(txtMsgTitle[i], QStringLiteral("Title of message %1").arg(i + 1));
    }
}

void ProgCon::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    const QSize client = centralWidget()->size();
    const double outerWidth = PixelsToTwips(client.width()) + FrameWidth;
    const double outerHeight = PixelsToTwips(client.height()) + FrameHeight;
    const ResizeOutcome outcome = ResizeRule(outerWidth, outerHeight, isMinimized());
    if (outcome.action == ResizeOutcome::Action::SnapTo) {
        resize(size() +
               QSize(TwipsToPixels(outcome.width - outerWidth), TwipsToPixels(outcome.height - outerHeight)));
    } else if (outcome.action == ResizeOutcome::Action::Place) {
        PlaceControls(outcome.places);
    }
}

void ProgCon::PlaceControls(const std::vector<Placement>& places) {
    QWidget* client = centralWidget();
    for (const Placement& place : places) {
        auto* control = client->findChild<QWidget*>(QString::fromStdString(place.name));
        Q_ASSERT(control);
        QRect rect(TwipsToPixels(place.left), TwipsToPixels(place.top),
                   std::max(1, TwipsToPixels(place.width)), std::max(1, TwipsToPixels(place.height)));
        if (place.width == 0 && place.height == 0) {
            control->adjustSize();
            rect.setSize(control->size());
        }
        // The settings panel's controls are placed in window coordinates, the panel itself first.
        if (control->parentWidget() != client) rect.translate(-control->parentWidget()->pos());
        control->setGeometry(rect);
    }
}

QLineEdit* ProgCon::AddCaptionBox(const QString& name) {
    QLineEdit* box = AddShowingBox(centralWidget(), name);
    box->setAlignment(Qt::AlignCenter);
    box->setFont(WindowFont(8.25, QFont::Normal, Cut::Narrow));
    return box;
}

QPushButton* ProgCon::AddButton(const QString& caption, const QString& name) {
    return Named(new WrappingButton(caption, centralWidget()), name);
}

// Captions, rules and the hint row that names the prosign keys, the tune key and the speed keys.
void ProgCon::BuildLabels(QWidget* client) {
    auto addLabel = [client](const QString& text, const QString& name) {
        return Named(new QLabel(text, client), name);
    };
    addLabel(QStringLiteral("Sent"), QStringLiteral("lblSent"))->setFont(HeadingFont());
    addLabel(QStringLiteral("Keyboard"), QStringLiteral("lblKeyboard"))->setFont(HeadingFont());
    for (const char* name : {"LineSent", "LineTop", "LineTiming", "LineSpacing", "LineSidetone"})
        AddRule(client, QString::fromLatin1(name), QFrame::HLine);
    AddRule(client, QStringLiteral("LineVertical"), QFrame::VLine);

    const QString keys = QStringLiteral(
        "In the Keyboard window these keys send the prosigns and ALT held keys the transmitter to tune; "
        "Page Up and Page Down make the speed one word per minute faster or slower, as on many keyers.");
    struct Hint {
        const char* prosign;
        const char* key;
    };
    for (const Hint& hint : {Hint{"BT", ";"}, Hint{"SK", "="}, Hint{"AS", "'"}, Hint{"AR", "["}}) {
        const QString prosign = QString::fromLatin1(hint.prosign);
        addLabel(prosign + QStringLiteral(" --> ") + QLatin1String(hint.key), QStringLiteral("lbl") + prosign)
            ->setToolTip(keys);
        // The bar over the two letters marks them as one prosign.
        AddRule(client, QStringLiteral("Line") + prosign, QFrame::HLine);
    }
    addLabel(QStringLiteral("Tune --> ALT"), QStringLiteral("lblTune"))->setToolTip(keys);
}

void ProgCon::BuildMessageStrip(QWidget* client) {
    Named(new QLabel(QStringLiteral("Messages"), client), QStringLiteral("lblMessages"))
        ->setFont(HeadingFont());
    const QStringList startTitles{"Mine", "Resp", "Lead", "End",  "Name",  "QTH",
                                  "--",   "--",   "--",   "CQ 5", "CQ 12", "His"};
    for (int i = 0; i < MessageCount; ++i) {
        QLineEdit* title = AddShowingBox(client, QStringLiteral("txtMsgTitle%1").arg(i));
        title->setText(startTitles[i]);
        title->setFrame(false);
        title->setAlignment(Qt::AlignCenter);
        title->setFont(WindowFont(6.75, QFont::Normal, Cut::Narrow));
        SetBackground(title, Colours::Grey);
        title->installEventFilter(this);
        txtMsgTitle[i] = title;
        cmdMessages[i] =
            Named(new QPushButton(QString::number(i + 1), client), QStringLiteral("cmdMessages%1").arg(i));
    }
}

void ProgCon::BuildMenus() {
    // Each entry is named for what it does, so it can be found without its caption.
    auto add = [this](QMenu* menu, const QString& text, const QString& name, const QKeySequence& key,
                      auto command) {
        QAction* action = menu->addAction(text, key, this, command);
        action->setObjectName(name);
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    add(file, QStringLiteral("&Select Operator"), QStringLiteral("mnuFileSelectOperator"),
        QKeySequence(Qt::CTRL | Qt::Key_O), [this] { operators_->SelectOperator(); });
    add(file, QStringLiteral("&New Operator"), QStringLiteral("mnuFileNewOperator"),
        QKeySequence(Qt::CTRL | Qt::Key_N), [this] { operators_->NewOperator(); });
    add(file, QStringLiteral("&Save"), QStringLiteral("mnuFileSave"), QKeySequence(Qt::CTRL | Qt::Key_S),
        [this] { SaveProfile(); });
    add(file, QStringLiteral("Save As"), QStringLiteral("mnuFileSaveAs"), QKeySequence(),
        [this] { SaveAs(); });
    add(file, QStringLiteral("E&xit"), QStringLiteral("mnuFileExit"), QKeySequence(Qt::CTRL | Qt::Key_Q),
        [this] { close(); });
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    add(edit, QStringLiteral("Keyer Features"), QStringLiteral("mnuEditKeyer"), QKeySequence(),
        [this] { ShowCentredOn(dlgEditKeyer(), this); });
    add(edit, QStringLiteral("Messages"), QStringLiteral("mnuEditMessages"), QKeySequence(), [this] {
        loop_->TakeBack();
        messages_->EnterEditState();
    });
    add(edit, QStringLiteral("Operator"), QStringLiteral("mnuEditOperator"), QKeySequence(),
        [this] { operators_->EditOperator(); });
    add(edit, QStringLiteral("Network Keyer\u2026"), QStringLiteral("mnuEditNetworkKeyer"), QKeySequence(),
        [this] { networkKeying_->ShowDialog(); });
    helpMenu_ = new HelpMenu(menuBar(), services_.shell, services_.prompts, this);
    // F10 opens the menus from any control but the Keyboard window, where it is message 10.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this,
            [this] { menuBar()->setActiveAction(menuBar()->actions().constFirst()); });
}
