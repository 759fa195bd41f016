#pragma once

#include <string>
#include <vector>

namespace tavren::program {

// What differs between the Linux and the Windows program's command lines: where
// the help says the settings live, where --press finds the running Tavren, and
// Windows' own "/?" for help.
struct ProgramConventions {
    std::string settingsFile;
    std::string pressReach;
    bool slashQuestionMarkAsksHelp = false;
};

extern const ProgramConventions kLinuxProgram;
extern const ProgramConventions kWindowsProgram;

// What the command line asks for. Tavren takes no configuration from it: only
// the help, the version, whether ignored failures are reported, and a press
// for the Tavren already running.
struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse, Press };
    Action action = Action::Run;
    bool verbose = false;
    std::string text; // UTF-8: the help, the version line or the one-line refusal, with its newline
    int pressNumber = 0; // Press: the button, 1 to 81
    bool pressRight = false;
};

// `arguments` in UTF-8, the program first; `logVariable` is TAVREN_LOG's value,
// which turns reporting on like --verbose.
CommandLine readCommandLine(const std::vector<std::string>& arguments,
                            const std::string& logVariable, const ProgramConventions& program);

} // namespace tavren::program
