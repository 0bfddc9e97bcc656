#include "app/CommandLine.h"

#include <QCoreApplication>

namespace {

const QString NetworkKeyerOption = QStringLiteral("--network-keyer");

// The parser knows no option whose value may be left out: alone, --network-keyer has an empty one.
QStringList WithOptionalValues(QStringList arguments) {
    for (QString& argument : arguments) {
        if (argument == NetworkKeyerOption) argument += QLatin1Char('=');
    }
    return arguments;
}

} // namespace

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
                                "every failure with its reason.")),
      networkKeyer_(
          QStringLiteral("network-keyer"),
          QStringLiteral("Let loggers key the unit over the network for this run, with the cwdaemon "
                         "protocol: --network-keyer listens at 127.0.0.1:6789, "
                         "--network-keyer=ADDRESS:PORT where given. Anyone who can reach that "
                         "port can key the transmitter."),
          QStringLiteral("ADDRESS:PORT")) {
    parser_.setApplicationDescription(
        QStringLiteral("Host program for the Tandrel interface unit, a USB keyer that sends Morse code."));
    parser_.addOption(demo_);
    parser_.addOption(debugLink_);
    parser_.addOption(networkKeyer_);
}

void CommandLine::AnswerHelpAndVersion(int& argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Options of the window system are unknown here; they are checked once the application has them.
    parser_.parse(WithOptionalValues(arguments));
    if (!parser_.isSet(help_) && !parser_.isSet(version_)) return;
    // The usage line names the program as the application object reports it.
    const QCoreApplication application(argc, argv);
    if (parser_.isSet(help_)) parser_.showHelp();
    parser_.showVersion();
}

bool CommandLine::Demo(const QCoreApplication& application) {
    parser_.process(WithOptionalValues(application.arguments()));
    return parser_.isSet(demo_);
}

std::optional<QString> CommandLine::NetworkKeyer() const {
    if (!parser_.isSet(networkKeyer_)) return std::nullopt;
    return parser_.value(networkKeyer_);
}
