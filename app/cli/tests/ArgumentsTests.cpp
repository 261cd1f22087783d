#include "cli/Arguments.h"
#include "cli/Outcome.h"
#include "cli/Usage.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {

using Cli::ParsedArguments;

ParsedArguments parse(std::initializer_list<std::string_view> arguments)
{
    const std::vector<std::string_view> list(arguments);
    return Cli::parseArguments(list);
}

TEST(Arguments, OptionsMayStandBeforeOrAfterTheCommand)
{
    auto parsed = parse({"check", "--json"});
    ASSERT_EQ(parsed.kind, ParsedArguments::Run);
    EXPECT_EQ(parsed.options.command, Cli::eCommand::Check);
    EXPECT_TRUE(parsed.options.json);
    EXPECT_EQ(parsed.options.simulated, nullptr);

    parsed = parse({"--simulate", "-y", "update"});
    ASSERT_EQ(parsed.kind, ParsedArguments::Run);
    EXPECT_EQ(parsed.options.command, Cli::eCommand::Update);
    EXPECT_TRUE(parsed.options.yes);
    ASSERT_NE(parsed.options.simulated, nullptr);
    EXPECT_EQ(parsed.options.simulated->name, Conduit2::Sim::DefaultScenarioName);

    parsed = parse({"list", "--simulate=in-dfu-mode"});
    ASSERT_EQ(parsed.kind, ParsedArguments::Run);
    EXPECT_EQ(parsed.options.command, Cli::eCommand::List);
    ASSERT_NE(parsed.options.simulated, nullptr);
    EXPECT_EQ(parsed.options.simulated->name, "in-dfu-mode");
}

TEST(Arguments, TheStateFileFollowsItsOptionOrItsEqualsSign)
{
    auto parsed = parse({"--simulate", "--simulate-state", "studio.state", "check"});
    ASSERT_EQ(parsed.kind, ParsedArguments::Run);
    EXPECT_EQ(parsed.options.simulationState, "studio.state");
    EXPECT_EQ(parsed.options.command, Cli::eCommand::Check);

    parsed = parse({"update", "--simulate-state=dir/check", "--simulate=write-fails-once"});
    ASSERT_EQ(parsed.kind, ParsedArguments::Run);
    EXPECT_EQ(parsed.options.simulationState, "dir/check");
    EXPECT_EQ(parsed.options.command, Cli::eCommand::Update);
    EXPECT_TRUE(parse({"--simulate", "list"}).options.simulationState.empty());
}

TEST(Arguments, EveryScenarioCanBeNamed)
{
    for (const auto& scenario : Conduit2::Sim::allScenarios()) {
        const std::string option = "--simulate=" + std::string(scenario.name);
        const auto parsed = parse({option, "check"});
        ASSERT_EQ(parsed.kind, ParsedArguments::Run) << option;
        EXPECT_EQ(parsed.options.simulated, &scenario);
    }
}

TEST(Arguments, UnknownScenarioIsAUsageErrorThatListsTheScenarios)
{
    for (const std::string_view option : {"--simulate=nope", "--simulate="}) {
        const auto parsed = parse({option, "check"});
        ASSERT_EQ(parsed.kind, ParsedArguments::UsageError) << option;
        for (const auto& scenario : Conduit2::Sim::allScenarios()) {
            EXPECT_NE(parsed.error.find(scenario.name), std::string::npos) << scenario.name;
        }
    }
}

TEST(Arguments, MalformedCommandLinesAreUsageErrors)
{
    const std::vector<std::vector<std::string_view>> cases = {
        {},                    // no command
        {"--simulate"},        // still no command
        {"flash"},             // unknown command
        {"check", "--force"},  // unknown option
        {"check", "-"},        // a lone dash is no option
        {"check", "update"},   // two commands
        {"list", "--json"},    // --json belongs to check and update
        {"list", "--yes"},     // --yes belongs to update
        {"check", "--simulate-state", "s"},              // a state file without --simulate
        {"check", "--simulate", "--simulate-state"},     // no file
        {"check", "--simulate", "--simulate-state", ""}, // an empty name
        {"check", "--simulate", "--simulate-state="},
    };
    for (const auto& arguments : cases) {
        const auto parsed = Cli::parseArguments(arguments);
        EXPECT_EQ(parsed.kind, ParsedArguments::UsageError) << testing::PrintToString(arguments);
        EXPECT_FALSE(parsed.error.empty()) << testing::PrintToString(arguments);
    }
}

TEST(Arguments, HelpAndVersionEndTheParse)
{
    EXPECT_EQ(parse({"--help"}).kind, ParsedArguments::Help);
    EXPECT_EQ(parse({"update", "-h", "--bogus"}).kind, ParsedArguments::Help);
    EXPECT_EQ(parse({"--version"}).kind, ParsedArguments::Version);
    EXPECT_EQ(parse({"--bogus", "--version"}).kind, ParsedArguments::UsageError);
}

TEST(Usage, NamesEveryScenarioAndTheVersion)
{
    const std::string usage = Cli::usageText();
    for (const auto& scenario : Conduit2::Sim::allScenarios()) {
        EXPECT_NE(usage.find(scenario.name), std::string::npos) << scenario.name;
    }
    EXPECT_TRUE(Cli::versionText().starts_with("tvs-updater-cli "));
    EXPECT_GT(Cli::versionText().size(), std::string_view("tvs-updater-cli ").size());
    EXPECT_EQ(Cli::usageErrorText("no command given"),
              "tvs-updater-cli: no command given\nTry 'tvs-updater-cli --help' for more information.\n");
}

TEST(Outcome, ExitCodes)
{
    using Cli::eOutcome;
    EXPECT_EQ(Cli::exitCode(eOutcome::Done), 0);
    EXPECT_EQ(Cli::exitCode(eOutcome::UpToDate), 0);
    EXPECT_EQ(Cli::exitCode(eOutcome::Declined), 0);
    EXPECT_EQ(Cli::exitCode(eOutcome::Failed), 1);
    EXPECT_EQ(Cli::exitCode(eOutcome::Stopped), 1);
    EXPECT_EQ(Cli::exitCode(eOutcome::UsageError), 2);
    EXPECT_EQ(Cli::exitCode(eOutcome::NoDevice), 3);
}

} // namespace
