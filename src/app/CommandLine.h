#pragma once

#include <QCommandLineParser>
#include <optional>

// The program's options: --help, --version, --demo, which runs it against the practice unit,
// --debug-link, which logs the link to the unit, and --network-keyer[=ADDRESS:PORT], which lets
// loggers key the unit for this run.
class CommandLine {
public:
    CommandLine();

    // Answers --help and --version and ends the program. It runs before the application object exists,
    // so that it answers in a terminal without a display.
    void AnswerHelpAndVersion(int& argc, char** argv);
    // Reads the options once the application has taken its own; an unknown option ends the program
    // with a message. True when the practice unit was asked for.
    bool Demo(const QCoreApplication& application);
    // Once the options are read: true when the link's log was asked for.
    bool DebugLink() const { return parser_.isSet(debugLink_); }
    // Once the options are read: where the network keyer is to listen (empty for the default), or
    // nothing when it was not asked for.
    std::optional<QString> NetworkKeyer() const;

private:
    QCommandLineParser parser_;
    QCommandLineOption help_;
    QCommandLineOption version_;
    QCommandLineOption demo_;
    QCommandLineOption debugLink_;
    QCommandLineOption networkKeyer_;
};
