// The program against the software unit instead of the real one: for trying the window without the
// hardware, and for screenshots. The unit answers every command at once.
#include "app/ProgCon.h"
#include "emulator/UnitEmulator.h"
#include "platform/DesktopShell.h"
#include "platform/SystemClock.h"
#include "platform/WidgetPrompts.h"

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tandrel"));
    QTemporaryDir folder;
    SystemClock clock;
    UnitEmulator unit(clock);
    WidgetPrompts prompts;
    DesktopShell shell;
    ProgCon window({unit, clock, prompts, folder.path(), shell});
    prompts.SetParent(&window);
    window.StartUp();
    window.ShowAsStored();
    return application.exec();
}
