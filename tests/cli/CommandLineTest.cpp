#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/CliRun.h"
#include "settings/SettingsStore.h"
#include "support/TempDir.h"

namespace pelko::cli {
namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

// Value options of two made-up commands, as their Command objects would give them.
std::span<const std::string_view> ValueOptions(std::string_view command) {
    static constexpr std::string_view kScan[] = {"--memo", "--name"};
    if (command == "scan") return kScan;
    return {};
}

TEST(CommandLineTest, GlobalOptionsAnywhereCommandOptionsStayTheCommands) {
    struct Case {
        const char* name;
        Words args;
        const char* command;
        Words commandArgs;
        const char* catalog;  // nullptr: none
        Words settings;
        bool passwordFromStdin;
    };
    const Case cases[] = {
        {"before the command", {"--catalog", "D", "tree"}, "tree", {}, "D", {}, false},
        {"after the command", {"tree", "--catalog", "D"}, "tree", {}, "D", {}, false},
        {"between arguments",
         {"scan", "X", "--password-stdin", "--name", "N", "--set", "K=1"},
         "scan", {"X", "--name", "N"}, nullptr, {"K=1"}, true},
        {"settings keep their order", {"--set", "A=1", "scan", "--set", "A=2"}, "scan", {}, nullptr,
         {"A=1", "A=2"}, false},
        {"the last catalog wins", {"--catalog", "A", "tree", "--catalog", "B"}, "tree", {}, "B", {}, false},
        {"a value of the command's own option is the command's",
         {"scan", "X", "--memo", "--catalog", "--name", "--set"}, "scan",
         {"X", "--memo", "--catalog", "--name", "--set"}, nullptr, {}, false},
        {"-- ends the global options", {"scan", "--catalog", "D", "--", "--set", "--password-stdin"}, "scan",
         {"--set", "--password-stdin"}, "D", {}, false},
        {"a second -- goes to the command", {"scan", "--", "a", "--", "b"}, "scan", {"a", "--", "b"}, nullptr,
         {}, false},
        {"-- before the command", {"--catalog", "D", "--", "scan", "--catalog", "E"}, "scan",
         {"--catalog", "E"}, "D", {}, false},
        {"a command's value option given last keeps its usage error", {"scan", "X", "--memo"}, "scan",
         {"X", "--memo"}, nullptr, {}, false},
        {"-h after the command is the command's", {"tree", "-h"}, "tree", {"-h"}, nullptr, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandLineParse parsed = ParseCommandLine(c.args, ValueOptions);
        ASSERT_TRUE(parsed.line) << parsed.error;
        const CommandLine& line = *parsed.line;
        EXPECT_FALSE(line.help);
        ASSERT_TRUE(line.command);
        EXPECT_EQ(*line.command, c.command);
        EXPECT_EQ(line.commandArgs, c.commandArgs);
        EXPECT_EQ(line.catalogFolder.has_value(), c.catalog != nullptr);
        if (c.catalog && line.catalogFolder) {
            EXPECT_EQ(*line.catalogFolder, c.catalog);
        }
        EXPECT_EQ(line.settings, c.settings);
        EXPECT_EQ(line.passwordFromStdin, c.passwordFromStdin);
    }
}

TEST(CommandLineTest, HelpMissingValuesAndNoCommand) {
    const struct {
        Words args;
        const char* error;  // nullptr: parsed
    } cases[] = {
        {{"tree", "--catalog"}, "--catalog needs a value"},
        {{"scan", "X", "--set"}, "--set needs a value"},
        {{"--set"}, "--set needs a value"},
    };
    for (const auto& c : cases) {
        const CommandLineParse parsed = ParseCommandLine(c.args, ValueOptions);
        EXPECT_FALSE(parsed.line);
        EXPECT_EQ(parsed.error, c.error);
    }
    const CommandLineParse help = ParseCommandLine(Words{"--catalog", "D", "--help", "tree"}, ValueOptions);
    ASSERT_TRUE(help.line);
    EXPECT_TRUE(help.line->help);
    const CommandLineParse version = ParseCommandLine(Words{"--set", "A=1", "--version"}, ValueOptions);
    ASSERT_TRUE(version.line);
    EXPECT_TRUE(version.line->version);
    const CommandLineParse commandsOwn = ParseCommandLine(Words{"find", "--version"}, ValueOptions);
    ASSERT_TRUE(commandsOwn.line);
    EXPECT_FALSE(commandsOwn.line->version) << "after the command the word is the command's";
    for (const Words& args : {Words{"--catalog", "D", "--password-stdin"}, Words{"--"}, Words{}}) {
        const CommandLineParse none = ParseCommandLine(args, ValueOptions);
        ASSERT_TRUE(none.line);
        EXPECT_FALSE(none.line->command);
        EXPECT_TRUE(none.line->commandArgs.empty());
    }
}

// The whole program: options after the command reach the run, and the old forms and statuses hold.
TEST(CommandLineTest, ProgramTakesGlobalOptionsAfterTheCommand) {
    const test::TempDir catalogDir;
    settings::MemorySettingsStore settings;
    const auto run = [&](const Words& args, const std::string& input = {}) {
        std::istringstream in(input);
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCli(args, in, out, err, settings, false);
        return test::CliResult{status, out.str(), err.str()};
    };
    const std::string dir = catalogDir.path();
    ASSERT_EQ(run({"init", "--catalog", dir}).status, 0);
    EXPECT_TRUE(fs::exists(catalogDir / "tnk.dat")) << "--catalog after the command names the catalog";
    EXPECT_EQ(run({"tree", "--catalog", dir}).out.rfind("Pelko/\n", 0), 0u);

    ASSERT_EQ(run({"--catalog", dir, "passwd"}, "secret\n").status, 0);
    EXPECT_EQ(run({"tree", "--catalog", dir}).status, 1) << "locked without the password";
    EXPECT_EQ(run({"tree", "--catalog", dir, "--password-stdin"}, "secret\n").status, 0);

    const struct {
        Words args;
        int status;
        const char* errPart;
    } refused[] = {
        {{"tree", "--catalog", dir, "--set", "NoSuchKey=1"}, 2, "unknown setting 'NoSuchKey'"},
        {{"tree", "--catalog"}, 2, "pelko-cli: --catalog needs a value"},
        {{"--catalog", dir}, 2, "usage:"},
        {{"frobnicate", "--catalog", dir}, 2, "unknown command 'frobnicate'"},
        {{"find", "--catalog", dir, "x", "--what"}, 2, "--what needs a value"},
    };
    for (const auto& c : refused) {
        const test::CliResult result = run(c.args);
        EXPECT_EQ(result.status, c.status) << c.errPart;
        EXPECT_NE(result.err.find(c.errPart), std::string::npos) << result.err;
    }
}

}  // namespace
}  // namespace pelko::cli
