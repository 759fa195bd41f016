#include "command_line.h"

#include "app/version.h"

#include <charconv>
#include <optional>

namespace tavren::program {

const ProgramConventions kLinuxProgram{
    "$XDG_CONFIG_HOME/tavren/QVRL2.ini (normally ~/.config/tavren/QVRL2.ini)", "in this session",
    false};
const ProgramConventions kWindowsProgram{"%APPDATA%\\Tavren\\QVRL2.ini", "on this desktop", true};

namespace {

std::string helpText(const ProgramConventions& program) {
    return "Usage: tavren [options]\n"
           "Tavren, a one-click order board: each button types its caption and Enter into\n"
           "the window picked as the send destination. Tavren reads the order file\n"
           "tavren.txt in the current directory and keeps its settings in\n" +
           program.settingsFile +
           ".\n"
           "\n"
           "Options:\n"
           "  -h, --help     Show this help and exit.\n"
           "  -v, --version  Show the version and exit.\n"
           "  --verbose      Report on standard error, one line each, the failures Tavren\n"
           "                 passes over silently (a link that did not open, an order that\n"
           "                 was not typed, a window that did not come to the front, a\n"
           "                 settings file that could not be written, a line that stopped\n"
           "                 the order file). TAVREN_LOG=1 does the same.\n"
           "  --press N      Ask the Tavren running " +
           program.pressReach +
           " to press\n"
           "                 order button N (1 to 81, counted as the board shows them) as a\n"
           "                 left click does, wait until the press has ended, and exit;\n"
           "                 nothing is started. Exits 1 when no Tavren runs or its board\n"
           "                 does not show that button.\n"
           "  --right        With --press: as the right mouse button presses (\\ sent as\n"
           "                 @, \xEF\xBF\xA5 as \xEF\xBC\xA0).\n";
}

CommandLine refuse(const std::string& why) {
    return {CommandLine::Action::Refuse, false, "tavren: " + why + " (try 'tavren --help')\n"};
}

} // namespace

CommandLine readCommandLine(const std::vector<std::string>& arguments,
                            const std::string& logVariable, const ProgramConventions& program) {
    bool help = false;
    bool version = false;
    bool verbose = !logVariable.empty() && logVariable != "0";
    std::optional<std::string> press;
    bool right = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--press") {
            if (i + 1 == arguments.size()) return refuse("--press needs a button number");
            press = arguments[++i];
        } else if (argument.rfind("--press=", 0) == 0) {
            press = argument.substr(8);
        } else if (argument == "--right") {
            right = true;
        } else if (argument == "-h" || argument == "--help" ||
                   (argument == "/?" && program.slashQuestionMarkAsksHelp)) {
            help = true;
        } else if (argument == "-v" || argument == "--version") {
            version = true;
        } else if (argument == "--verbose") {
            verbose = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            return refuse("unknown option '" + argument + "'");
        } else {
            return refuse("unexpected argument '" + argument + "'");
        }
    }
    if (help) return {CommandLine::Action::ShowHelp, false, helpText(program)};
    if (version)
        return {CommandLine::Action::ShowVersion, false,
                std::string("tavren ") + app::kVersionText + "\n"};
    if (press) {
        int number = 0;
        const auto [end, error] =
            std::from_chars(press->data(), press->data() + press->size(), number);
        if (error != std::errc() || end != press->data() + press->size() || number < 1 ||
            number > 81)
            return refuse("--press takes a button number from 1 to 81, not '" + *press + "'");
        CommandLine pressing{CommandLine::Action::Press, false, {}};
        pressing.pressNumber = number;
        pressing.pressRight = right;
        return pressing;
    }
    if (right) return refuse("--right goes with --press");
    return {CommandLine::Action::Run, verbose, {}};
}

} // namespace tavren::program
