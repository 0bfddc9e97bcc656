#include "help/AboutBox.h"

#include "help/ApplicationIdentity.h"
#include "platform/Twips.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Desktop programs that show the machine's hardware and system, in the order they are tried.
const char* const SystemInformationPrograms[] = {"kinfocenter", "hardinfo2", "hardinfo",
                                                 "gnome-system-monitor", "mate-system-monitor"};

QString FirstSystemInformationProgram(Shell& shell) {
    for (const char* name : SystemInformationPrograms) {
        QString program = shell.FindProgram(QString::fromLatin1(name));
        if (!program.isEmpty()) return program;
    }
    return QString();
}

QPushButton* AddButton(QVBoxLayout* column, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setMinimumSize(TwipsToPixels(1260), TwipsToPixels(345));
    column->addWidget(button, 0, Qt::AlignRight);
    return button;
}

} // namespace

// Laid out by Qt from the contents, so every line fits whatever the fonts.
AboutBox::AboutBox(Shell& shell, Prompts& prompts, QWidget* parent) : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About ") + ApplicationTitle());

    auto* picIcon = new QLabel;
    picIcon->setPixmap(ApplicationIcon(TwipsToPixels(540)));
    lblTitle = new QLabel(ApplicationTitle());
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel(QStringLiteral("Version ") + ApplicationVersion());
    auto* notice =
        new QLabel(QStringLiteral("This program keys a radio transmitter; use it within your licence. "
                                  "It comes with no warranty."));
    notice->setWordWrap(true);
    notice->setMinimumWidth(TwipsToPixels(4515));
    auto* rule = new QFrame;
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(TwipsToPixels(120));
    grid->setHorizontalSpacing(TwipsToPixels(240));
    grid->addWidget(picIcon, 0, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Serves as host for the Tandrel Interface")), 2, 1);
    grid->addWidget(notice, 3, 1);
    grid->addWidget(rule, 4, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    grid->addLayout(buttons, 5, 0, 1, 2);
    cmdOK = AddButton(buttons, QStringLiteral("OK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
    cmdSysInfo = AddButton(buttons, QStringLiteral("&System Info..."));
    connect(cmdSysInfo, &QPushButton::clicked, this, [&shell, &prompts] { StartSysInfo(shell, prompts); });
}

void StartSysInfo(Shell& shell, Prompts& prompts) {
    const QString program = FirstSystemInformationProgram(shell);
    if (!program.isEmpty() && shell.StartProgram(program)) return;
    prompts.MessageBox(QStringLiteral("System Information Is Unavailable At This Time"), ApplicationTitle(),
                       Prompts::Buttons::Ok);
}
