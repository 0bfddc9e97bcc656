#include "app/ApplicationFolder.h"
#include "app/ProgCon.h"
#include "app/TerminationSignals.h"
#include "platform/HidApiPort.h"
#include "platform/SystemClock.h"
#include "platform/WidgetPrompts.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tandrel"));
    QApplication::setApplicationVersion(QStringLiteral("0.2.8"));

    HidApiPort hid;
    SystemClock clock;
    WidgetPrompts prompts;
    ProgCon window({hid, clock, prompts, ApplicationFolder()});
    prompts.SetParent(&window);
    window.StartUp();
    window.ShowAsStored();
    CloseOnTerminationSignals(&window);
    return application.exec();
}
