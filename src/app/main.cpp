#include "app/ApplicationFolder.h"
#include "app/CommandLine.h"
#include "app/ProgCon.h"
#include "app/TerminationSignals.h"
#include "help/ApplicationIdentity.h"
#include "platform/DesktopShell.h"
#include "platform/HidApiPort.h"
#include "platform/SystemClock.h"
#include "platform/WidgetPrompts.h"
#include "practice/PracticeUnit.h"

#include <QApplication>
#include <QLineEdit>
#include <optional>

int main(int argc, char** argv) {
    QApplication::setApplicationName(ApplicationTitle());
    QApplication::setApplicationVersion(ApplicationVersion());
    CommandLine commandLine;
    commandLine.AnswerHelpAndVersion(argc, argv);

    QApplication application(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("org.tandrel.Tandrel"));
    QApplication::setWindowIcon(ApplicationIcon(128));
    const bool demo = commandLine.Demo(application);

    SystemClock clock;
    std::optional<PracticeUnit> practiceUnit;
    std::optional<HidApiPort> hidApi;
    if (demo) {
        practiceUnit.emplace(clock);
        // The title bar shows this after the window's own title.
        QApplication::setApplicationDisplayName(QStringLiteral("Practice Unit"));
    } else {
        hidApi.emplace();
    }
    HidPort& hid = demo ? static_cast<HidPort&>(*practiceUnit) : *hidApi;

    WidgetPrompts prompts;
    DesktopShell shell;
    ProgCon window({hid, clock, prompts, ApplicationFolder(), shell});
    prompts.SetParent(&window);
    bool started = false;
    // Until start-up has finished nothing of the operator's is there to save: a signal only ends.
    EndOnTerminationSignals(&window, [&] {
        if (started) window.ShutDownUnattended();
    });
    window.StartUp();
    if (practiceUnit && !practiceUnit->HasSound())
        window.ShowNotice(QStringLiteral("Practice unit: no audio output, the sidetone stays silent"));
    window.ShowAsStored();
    started = true;
    return application.exec();
}
