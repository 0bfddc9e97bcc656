#include "app/CommandLine.h"

#include <QCoreApplication>

CommandLine::CommandLine()
    : help_(parser_.addHelpOption()), version_(parser_.addVersionOption()),
      demo_(
          QStringLiteral("demo"),
          QStringLiteral("Run against the practice unit instead of the interface unit: a software keyer that "
                         "plays the Morse it is sent on the computer's speakers, for trying the program "
                         "without the hardware.")),
      debugLink_(QStringLiteral("debug-link"),
                 QStringLiteral("Log the link to the unit on standard error, each line with its time: every "
                                "report written and read, every device found, opened and closed, and "
                                "every failure with its reason.")) {
    parser_.setApplicationDescription(
        QStringLiteral("Host program for the Tandrel interface unit, a USB keyer that sends Morse code."));
    parser_.addOption(demo_);
    parser_.addOption(debugLink_);
}

void CommandLine::AnswerHelpAndVersion(int& argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Options of the window system are unknown here; they are checked once the application has them.
    parser_.parse(arguments);
    if (!parser_.isSet(help_) && !parser_.isSet(version_)) return;
    // The usage line names the program as the application object reports it.
    const QCoreApplication application(argc, argv);
    if (parser_.isSet(help_)) parser_.showHelp();
    parser_.showVersion();
}

bool CommandLine::Demo(const QCoreApplication& application) {
    parser_.process(application);
    return parser_.isSet(demo_);
}
