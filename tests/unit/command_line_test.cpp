#include "program/command_line.h"

#include <gtest/gtest.h>

namespace tavren::program {

void PrintTo(CommandLine::Action action, std::ostream* out) {
    static const char* const names[] = {"Run", "ShowHelp", "ShowVersion", "Refuse", "Press"};
    *out << names[static_cast<int>(action)];
}

namespace {

using Action = CommandLine::Action;

struct Program {
    const char* name;
    const ProgramConventions* conventions;
};

void PrintTo(const Program& program, std::ostream* out) {
    *out << program.name;
}

class CommandLineTest : public testing::TestWithParam<Program> {
protected:
    CommandLine read(std::vector<std::string> arguments, const std::string& log = "") {
        arguments.insert(arguments.begin(), "tavren");
        return readCommandLine(arguments, log, *GetParam().conventions);
    }
};

TEST_P(CommandLineTest, NoArgumentsRunsQuietlyAndTheLogVariableOrOptionMakesItVerbose) {
    EXPECT_EQ(read({}).action, Action::Run);
    EXPECT_FALSE(read({}).verbose);
    EXPECT_TRUE(read({"--verbose"}).verbose);
    EXPECT_TRUE(read({}, "1").verbose);
    EXPECT_FALSE(read({}, "0").verbose);
}

TEST_P(CommandLineTest, VersionAndHelpAnswerWithTheProgramsOwnText) {
    EXPECT_EQ(read({"-v"}).text, "tavren 1.3.1\n");
    const CommandLine help = read({"--help"});
    EXPECT_EQ(help.action, Action::ShowHelp);
    EXPECT_EQ(help.text.rfind("Usage: tavren [options]\n", 0), 0u);
    EXPECT_NE(help.text.find(GetParam().conventions->settingsFile), std::string::npos);
    EXPECT_NE(help.text.find(GetParam().conventions->pressReach), std::string::npos);
    for (std::string_view line = help.text; !line.empty();) {
        const auto end = line.find('\n');
        EXPECT_LE(line.substr(0, end).size(), 80u) << line.substr(0, end);
        line.remove_prefix(end + 1);
    }
}

TEST_P(CommandLineTest, PressTakesAButtonNumberAndRightOnlyWithIt) {
    const CommandLine press = read({"--press", "81", "--right"});
    EXPECT_EQ(press.action, Action::Press);
    EXPECT_EQ(press.pressNumber, 81);
    EXPECT_TRUE(press.pressRight);
    EXPECT_EQ(read({"--press=3"}).pressNumber, 3);
    for (const char* bad : {"0", "82", "3x", ""})
        EXPECT_EQ(read({"--press", bad}).action, Action::Refuse) << bad;
    EXPECT_EQ(read({"--press"}).action, Action::Refuse);
    EXPECT_EQ(read({"--right"}).text, "tavren: --right goes with --press (try 'tavren --help')\n");
}

TEST_P(CommandLineTest, AnythingElseIsRefusedOnOneLine) {
    EXPECT_EQ(read({"--settings=x"}).text,
              "tavren: unknown option '--settings=x' (try 'tavren --help')\n");
    EXPECT_EQ(read({"注文.txt"}).text,
              "tavren: unexpected argument '注文.txt' (try 'tavren --help')\n");
    // A refusal wins over a help asked for before it.
    EXPECT_EQ(read({"--help", "x"}).action, Action::Refuse);
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, CommandLineTest,
                         testing::Values(Program{"Linux", &kLinuxProgram},
                                         Program{"Windows", &kWindowsProgram}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, SlashQuestionMarkAsksForHelpOnWindowsOnly) {
    EXPECT_EQ(readCommandLine({"tavren.exe", "/?"}, "", kWindowsProgram).action, Action::ShowHelp);
    EXPECT_EQ(readCommandLine({"tavren", "/?"}, "", kLinuxProgram).action, Action::Refuse);
}

} // namespace
} // namespace tavren::program
