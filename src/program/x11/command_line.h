#pragma once

#include <QString>
#include <QStringList>

namespace tavren::program {

// What the command line asks for. Tavren takes no configuration from it: only
// the help, the version, and whether ignored failures are reported.
struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Run;
    bool verbose = false;
    QString text; // the help, the version line or the one-line refusal, with its newline
};

// `arguments` as QCoreApplication::arguments() gives them (the program first);
// `logVariable` is TAVREN_LOG's value, which turns reporting on like --verbose.
CommandLine readCommandLine(const QStringList& arguments, const QString& logVariable);

} // namespace tavren::program
