#include "app/ProgCon.h"

#include "help/HelpMenu.h"
#include "platform/Twips.h"
#include "platform/WrappingButton.h"
#include "profile/KeyerFeaturesDialog.h"
#include "profile/SettingsPanel.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTextEdit>

// The main window's controls at their designed places, and its menus.

namespace {

// The designed client area of the window, in twips.
constexpr double DesignWidth = 8025;
constexpr double DesignHeight = 5865;

QFont DesignFont(const QString& family, double points, int weight = QFont::Normal) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

} // namespace

void ProgCon::BuildWindow() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    client->setMinimumSize(TwipsToPixels(DesignWidth), TwipsToPixels(DesignHeight));
    SetColour(client, QPalette::Window, Colours::Grey);
    client->setAutoFillBackground(true);
    setFont(DesignFont(QStringLiteral("Lucida Sans"), 8.25));

    BuildMessageStrip(client);
    BuildLabels(client);
    lblOP = new QLabel(client);
    PlaceInTwips(lblOP, 150, 960, 1995, 225);

    txtSent->setParent(client);
    txtSent->setReadOnly(true);
    txtSent->setFont(DesignFont(QStringLiteral("Lucida Sans"), 9.75, 600));
    PlaceInTwips(txtSent, 60, 1320, 6045, 1605);

    panel = new SettingsPanel(client);
    PlaceInTwips(panel, 6120, 0, DesignWidth - 6120, 2910);
    connect(panel, &SettingsPanel::settingChanged, this, [this] {
        if (loadingProfile_) return;
        SendKeyerSettings();
        FocusKeyboard();
    });

    txtKeyboard->setParent(client);
    txtKeyboard->setAcceptRichText(false);
    txtKeyboard->setFont(DesignFont(QStringLiteral("Lucida Sans"), 11.25));
    SetBackground(txtKeyboard, Colours::LightYellow);
    PlaceInTwips(txtKeyboard, 60, 3240, 7920, 1335);

    txtWrkStation = new QLineEdit(client);
    txtWrkStation->setFont(DesignFont(QStringLiteral("MS Sans Serif"), 8.25));
    PlaceInTwips(txtWrkStation, 60, 4620, 1580, 315);
    txtIambic = AddCaptionBox(1635);
    txtDotMemory = AddCaptionBox(3210);
    txtDashMemory = AddCaptionBox(4785);
    txtRLPaddles = AddCaptionBox(6360);

    txtInfo = new QLineEdit(client);
    txtInfo->setReadOnly(true);
    txtInfo->setFocusPolicy(Qt::NoFocus);
    PlaceInTwips(txtInfo, 60, 4980, 7905, 285);

    cmdTx = AddButton(QStringLiteral(" Transmit Mode Click to Pause"), 180);
    cmdEnd = AddButton(QStringLiteral("Clear Keyboard Window (Stop)"), 2240);
    cmdClearSend = AddButton(QStringLiteral("Clear Sent Window"), 4300);
    cmdCaptureCall = AddButton(QStringLiteral("Capture Call"), 6360);
    SetColour(cmdTx, QPalette::Button, Colours::LightGreen);
    SetColour(cmdEnd, QPalette::Button, Colours::Red);

    // A click on a box that only shows something hands the focus back to the Keyboard window.
    for (QWidget* box :
         {static_cast<QWidget*>(panel->txtSpeed), static_cast<QWidget*>(panel->txtWeight),
          static_cast<QWidget*>(panel->txtWordSpace), static_cast<QWidget*>(panel->txtLetterSpace),
          static_cast<QWidget*>(txtIambic), static_cast<QWidget*>(txtDotMemory),
          static_cast<QWidget*>(txtDashMemory), static_cast<QWidget*>(txtRLPaddles),
          static_cast<QWidget*>(txtInfo), txtSent->viewport()}) {
        box->installEventFilter(this);
    }
}

QLineEdit* ProgCon::AddCaptionBox(double left) {
    auto* box = new QLineEdit(centralWidget());
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setAlignment(Qt::AlignCenter);
    // "Right-Hand Paddles" must fit whole in the designed width, whatever font stands in for the design's.
    box->setTextMargins(-2, 0, -2, 0);
    box->setFont(DesignFont(QStringLiteral("Lucida Sans"), 7.5));
    PlaceInTwips(box, left, 4620, 1580, 315);
    return box;
}

QPushButton* ProgCon::AddButton(const QString& caption, double left) {
    auto* button = new WrappingButton(caption, centralWidget());
    PlaceInTwips(button, left, 5340, 1515, 495);
    return button;
}

// Captions, rules and the hint row that names the prosign keys and the tune key.
void ProgCon::BuildLabels(QWidget* client) {
    const QFont heading = DesignFont(QStringLiteral("Lucida Sans"), 9.75, 600);
    auto addLabel = [client](const QString& text, double left, double top) {
        auto* label = new QLabel(text, client);
        label->move(TwipsToPixels(left), TwipsToPixels(top));
        return label;
    };
    auto addRule = [client](double left, double top, double width) {
        auto* rule = new QFrame(client);
        rule->setFrameShape(QFrame::HLine);
        rule->setFrameShadow(QFrame::Plain);
        rule->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), 1);
    };
    addLabel(QStringLiteral("Sent"), 2340, 1080)->setFont(heading);
    addLabel(QStringLiteral("Keyboard"), 3180, 3000)->setFont(heading);
    addRule(0, 930, 6120);
    addRule(0, 0, 8040);
    auto* vertical = new QFrame(client);
    vertical->setFrameShape(QFrame::VLine);
    vertical->setFrameShadow(QFrame::Plain);
    vertical->setGeometry(TwipsToPixels(6120), 0, 1, TwipsToPixels(2910));
    for (double top : {930.0, 1890.0, 2910.0})
        addRule(6120, top, 1920);

    struct Hint {
        const char* text;
        double left;
        double barEnd;
    };
    for (const Hint& hint : {Hint{"BT --> ;", 90, 300}, Hint{"SK --> =", 900, 1110},
                             Hint{"AS --> '", 1695, 1905}, Hint{"AR --> [", 5520, 5730}}) {
        addLabel(QString::fromLatin1(hint.text), hint.left, 3030);
        // The bar over the two letters marks them as one prosign.
        addRule(hint.left, 3030, hint.barEnd - hint.left);
    }
    addLabel(QStringLiteral("Tune --> ALT"), 6300, 3030);
}

void ProgCon::BuildMessageStrip(QWidget* client) {
    auto* caption = new QLabel(QStringLiteral("Messages"), client);
    caption->setFont(DesignFont(QStringLiteral("Lucida Sans"), 9.75, 600));
    caption->move(TwipsToPixels(2670), TwipsToPixels(30));
    const QStringList startTitles{"Mine", "Resp", "Lead", "End",  "Name",  "QTH",
                                  "--",   "--",   "--",   "CQ 5", "CQ 12", "His"};
    // The strip's pitch at the window's designed width.
    constexpr double Pitch = 495;
    for (int i = 0; i < MessageCount; ++i) {
        QLineEdit* title = new QLineEdit(startTitles[i], client);
        title->setReadOnly(true);
        title->setFocusPolicy(Qt::NoFocus);
        title->setFrame(false);
        title->setAlignment(Qt::AlignCenter);
        title->setFont(DesignFont(QStringLiteral("Lucida Sans"), 6.75));
        SetBackground(title, Colours::Grey);
        PlaceInTwips(title, 90 + Pitch * i + (Pitch - 500) / 2.5, 270, 475, 195);
        title->installEventFilter(this);
        txtMsgTitle[i] = title;

        auto* button = new QPushButton(QString::number(i + 1), client);
        PlaceInTwips(button, 90 + Pitch * i, 450, Pitch - 50, 350);
        cmdMessages[i] = button;
    }
}

void ProgCon::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFileSave = file->addAction(QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), this,
                                  [this] { SaveProfile(); });
    mnuFileSaveAs = file->addAction(QStringLiteral("Save As"), this, [this] { SaveAs(); });
    mnuFileExit =
        file->addAction(QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q), this, &QWidget::close);
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEditKeyer =
        edit->addAction(QStringLiteral("Keyer Features"), this, [this] { dlgEditKeyer()->show(); });
    mnuEditMessages =
        edit->addAction(QStringLiteral("Messages"), this, [this] { messages->EnterEditState(); });
    helpMenu = new HelpMenu(menuBar(), services_.shell, services_.prompts, this);
    // F10 opens the menus from any control but the Keyboard window, where it is message 10.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        menuBar()->setActiveAction(menuBar()->actions().constFirst());
    });
}
