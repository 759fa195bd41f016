#pragma once

#include <QString>
#include <QStringList>

namespace tavren::program {

// What the command line asks for. Tavren takes no configuration from it: only
// the help, the version, whether ignored failures are reported, and a press
// for the Tavren already running.
struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse, Press };
    Action action = Action::Run;
    bool verbose = false;
    QString text;        // the help, the version line or the one-line refusal, with its newline
    int pressNumber = 0; // Press: the button, 1 to 81
    bool pressRight = false;
};

// `arguments` as QCoreApplication::arguments() gives them (the program first);
// `logVariable` is TAVREN_LOG's value, which turns reporting on like --verbose.
CommandLine readCommandLine(const QStringList& arguments, const QString& logVariable);

} // namespace tavren::program
