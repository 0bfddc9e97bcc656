#include "app/ApplicationFolder.h"
#include "app/CommandLine.h"
#include "app/ProgCon.h"
#include "app/SingleCopy.h"
#include "app/TerminationSignals.h"
#include "help/ApplicationIdentity.h"
#include "platform/DesktopShell.h"
#include "platform/HidApiPort.h"
#include "platform/LinkLog.h"
#include "platform/SystemClock.h"
#include "platform/WidgetPrompts.h"
#include "practice/PracticeUnit.h"

#include <QApplication>
#include <QLineEdit>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

void Say(std::FILE* stream, const char* text) {
    std::fprintf(stream, "%s\n", text);
    std::fflush(stream);
}

// The window, and a dialog above it that waits for an answer, come in front of the operator.
void BringForward(QWidget& window) {
    if (window.isVisible()) {
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
        window.raise();
        window.activateWindow();
    }
    if (QWidget* dialog = QApplication::activeModalWidget()) {
        dialog->raise();
        dialog->activateWindow();
    }
}

// The exit status of a start that ends because another copy runs, after saying so; nothing when this
// copy goes on.
std::optional<int> EndForAnotherCopy(SingleCopy& copy) {
    switch (copy.Begin()) {
    case SingleCopy::Start::First:
        return std::nullopt;
    case SingleCopy::Start::Unguarded:
        Say(stderr, "Tandrel cannot lock its runtime folder: it starts without checking for another copy.");
        return std::nullopt;
    case SingleCopy::Start::BroughtForward:
        Say(stdout, "Tandrel is already running: its window was brought forward.");
        return EXIT_SUCCESS;
    case SingleCopy::Start::NoAnswer:
        break;
    }
    Say(stderr, "Tandrel is already running but does not answer. End it before starting it again.");
    return EXIT_FAILURE;
}

} // namespace

int main(int argc, char** argv) {
    QApplication::setApplicationName(ApplicationTitle());
    QApplication::setApplicationVersion(ApplicationVersion());
    CommandLine commandLine;
    commandLine.AnswerHelpAndVersion(argc, argv);

    QApplication application(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("org.tandrel.Tandrel"));
    QApplication::setWindowIcon(ApplicationIcon(128));
    const bool demo = commandLine.Demo(application);
    SetUpLinkLog(commandLine.DebugLink());

    // Before the window is built and the unit touched: a copy that runs already keeps both.
    SingleCopy copy(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    if (const std::optional<int> status = EndForAnotherCopy(copy)) return *status;

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
    copy.comeForward = [&window] {
        BringForward(window);
        Say(stdout, "Another start of Tandrel brought this window forward.");
    };
    bool started = false;
    // Until start-up has finished nothing of the operator's is there to save: a signal only ends.
    EndOnTerminationSignals(&window, [&] {
        if (started) window.ShutDownUnattended();
        copy.Release();
    });
    window.StartUp();
    if (const std::optional<QString> address = commandLine.NetworkKeyer()) {
        const QString refused = window.ListenForLoggers(*address);
        if (!refused.isEmpty()) Say(stderr, qPrintable(QStringLiteral("Network keyer off: ") + refused));
    }
    if (practiceUnit && !practiceUnit->HasSound())
        window.ShowNotice(QStringLiteral("Practice unit: no audio output, the sidetone stays silent"));
    window.ShowAsStored();
    started = true;
    return application.exec();
}
