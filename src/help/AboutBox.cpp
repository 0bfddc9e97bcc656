#include "help/AboutBox.h"

#include "help/ApplicationIdentity.h"
#include "platform/Twips.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

// Desktop programs that show the machine's hardware and system, in the order they are tried.
const char* const SystemInformationPrograms[] = {"kinfocenter", "hardinfo2", "hardinfo",
                                                 "gnome-system-monitor", "mate-system-monitor"};

QLabel* AddLabel(QWidget* box, const QString& text, double left, double top, double width, double height) {
    auto* label = new QLabel(text, box);
    label->setWordWrap(true);
    PlaceInTwips(label, left, top, width, height);
    return label;
}

} // namespace

AboutBox::AboutBox(Shell& shell, Prompts& prompts, QWidget* parent) : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About ") + ApplicationTitle());
    setFixedSize(TwipsToPixels(5730), TwipsToPixels(3555));

    auto* picIcon = new QLabel(this);
    PlaceInTwips(picIcon, 240, 240, 540, 540);
    picIcon->setPixmap(ApplicationIcon(picIcon->width()));
    lblTitle = AddLabel(this, ApplicationTitle(), 1020, 240, 3885, 480);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = AddLabel(this, QStringLiteral("Version ") + ApplicationVersion(), 1050, 780, 3885, 225);
    AddLabel(this, QStringLiteral("Serves as host for the Tandrel Interface"), 1080, 1200, 4335, 255);
    AddLabel(
        this,
        QStringLiteral("This program keys a radio transmitter; use it within your licence. It comes with "
                       "no warranty."),
        1080, 1770, 4515, 615);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(TwipsToPixels(90), TwipsToPixels(2445), TwipsToPixels(5654 - 90), 2);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    PlaceInTwips(cmdOK, 4245, 2625, 1260, 345);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    PlaceInTwips(cmdSysInfo, 4260, 3075, 1245, 345);
    connect(cmdSysInfo, &QPushButton::clicked, this, [&shell, &prompts] { StartSysInfo(shell, prompts); });
}

void StartSysInfo(Shell& shell, Prompts& prompts) {
    for (const char* name : SystemInformationPrograms) {
        const QString program = shell.FindProgram(QString::fromLatin1(name));
        if (program.isEmpty()) continue;
        if (shell.StartProgram(program)) return;
        break;
    }
    prompts.MessageBox(QStringLiteral("System Information Is Unavailable At This Time"), ApplicationTitle(),
                       Prompts::Buttons::Ok);
}
