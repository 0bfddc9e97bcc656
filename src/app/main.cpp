#include "app/ApplicationFolder.h"
#include "app/ProgCon.h"
#include "app/TerminationSignals.h"
#include "help/ApplicationIdentity.h"
#include "platform/DesktopShell.h"
#include "platform/HidApiPort.h"
#include "platform/SystemClock.h"
#include "platform/WidgetPrompts.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(ApplicationTitle());
    QApplication::setApplicationVersion(ApplicationVersion());

    HidApiPort hid;
    SystemClock clock;
    WidgetPrompts prompts;
    DesktopShell shell;
    ProgCon window({hid, clock, prompts, ApplicationFolder(), shell});
    prompts.SetParent(&window);
    window.StartUp();
    window.ShowAsStored();
    CloseOnTerminationSignals(&window);
    return application.exec();
}
