#include "command_line.h"

#include <gtest/gtest.h>

namespace tavren::program {
namespace {

using Action = CommandLine::Action;

TEST(Win32CommandLine, NoArgumentsRunsQuietly) {
    const CommandLine line = readCommandLine({"tavren.exe"}, "");
    EXPECT_EQ(line.action, Action::Run);
    EXPECT_FALSE(line.verbose);
}

TEST(Win32CommandLine, VersionIsTheProjects) {
    const CommandLine line = readCommandLine({"tavren.exe", "--version"}, "");
    EXPECT_EQ(line.action, Action::ShowVersion);
    EXPECT_EQ(line.text, "tavren 1.3.1\n");
}

TEST(Win32CommandLine, HelpNamesTheSettingsFileAndTheOptions) {
    for (const char* option : {"--help", "-h", "/?"}) {
        const CommandLine line = readCommandLine({"tavren.exe", option}, "");
        EXPECT_EQ(line.action, Action::ShowHelp) << option;
        EXPECT_NE(line.text.find("%APPDATA%\\Tavren\\QVRL2.ini"), std::string::npos);
        EXPECT_NE(line.text.find("--verbose"), std::string::npos);
    }
}

TEST(Win32CommandLine, VerboseFromTheOptionOrTheVariable) {
    EXPECT_TRUE(readCommandLine({"tavren.exe", "--verbose"}, "").verbose);
    EXPECT_TRUE(readCommandLine({"tavren.exe"}, "1").verbose);
    EXPECT_FALSE(readCommandLine({"tavren.exe"}, "0").verbose);
}

TEST(Win32CommandLine, AnythingElseIsRefusedOnOneLine) {
    const CommandLine option = readCommandLine({"tavren.exe", "--settings=x"}, "");
    EXPECT_EQ(option.action, Action::Refuse);
    EXPECT_EQ(option.text, "tavren: unknown option '--settings=x' (try 'tavren --help')\n");
    const CommandLine file = readCommandLine({"tavren.exe", "注文.txt"}, "");
    EXPECT_EQ(file.action, Action::Refuse);
    EXPECT_EQ(file.text, "tavren: unexpected argument '注文.txt' (try 'tavren --help')\n");
    // A refusal wins over a help asked for before it.
    EXPECT_EQ(readCommandLine({"tavren.exe", "--help", "x"}, "").action, Action::Refuse);
}

} // namespace
} // namespace tavren::program
