#include "command_line.h"

#include "app/version.h"

namespace tavren::program {

namespace {

const char kHelp[] =
    "Usage: tavren [options]\n"
    "Tavren, a one-click order board: each button types its caption and Enter into\n"
    "the window picked as the send destination. Tavren reads the order file\n"
    "tavren.txt in the current directory and keeps its settings in\n"
    "%APPDATA%\\Tavren\\QVRL2.ini.\n"
    "\n"
    "Options:\n"
    "  -h, --help     Show this help and exit.\n"
    "  -v, --version  Show the version and exit.\n"
    "  --verbose      Report on standard error, one line each, the failures Tavren\n"
    "                 passes over silently (a link that did not open, an order that\n"
    "                 was not typed, a window that did not come to the front, a\n"
    "                 settings file that could not be written, a line that stopped\n"
    "                 the order file). TAVREN_LOG=1 does the same.\n";

CommandLine refuse(const std::string& why) {
    return {CommandLine::Action::Refuse, false, "tavren: " + why + " (try 'tavren --help')\n"};
}

} // namespace

CommandLine readCommandLine(const std::vector<std::string>& arguments,
                            const std::string& logVariable) {
    bool help = false;
    bool version = false;
    bool verbose = !logVariable.empty() && logVariable != "0";
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "-h" || argument == "--help" || argument == "/?")
            help = true;
        else if (argument == "-v" || argument == "--version")
            version = true;
        else if (argument == "--verbose")
            verbose = true;
        else if (argument.size() > 1 && argument[0] == '-')
            return refuse("unknown option '" + argument + "'");
        else
            return refuse("unexpected argument '" + argument + "'");
    }
    if (help) return {CommandLine::Action::ShowHelp, false, kHelp};
    if (version)
        return {CommandLine::Action::ShowVersion, false,
                "tavren " + std::to_string(app::kVersionMajor) + "." +
                    std::to_string(app::kVersionMinor) + "." +
                    std::to_string(app::kVersionRevision) + "\n"};
    return {CommandLine::Action::Run, verbose, {}};
}

} // namespace tavren::program
