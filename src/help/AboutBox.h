#pragma once

#include "platform/Prompts.h"
#include "platform/Shell.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: the program's title and version, and a button that starts the system-information
// program. It is not modal and is discarded when closed; Return and Esc both press OK.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(Shell& shell, Prompts& prompts, QWidget* parent);

    QLabel* lblTitle;
    QLabel* lblVersion;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;
};

// Starts the first system-information program found on PATH; when there is none, or it does not
// start, says that system information is unavailable.
void StartSysInfo(Shell& shell, Prompts& prompts);
