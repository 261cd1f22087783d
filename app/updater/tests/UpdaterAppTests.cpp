// The updater's own pieces around the wizard: its options, the page trace,
// the icon, the documentation's address and the warning printer.
#include "DocumentationUrl.h"
#include "PageTrace.h"
#include "ProgramIcon.h"
#include "UpdaterOptions.h"
#include "WarningPrinter.h"

#include "logic/UpdaterDescription.h"
#include "wizard/UpdateWizardMainWidget.h"

#include <trellis/ManagerContainer.h>
#include <trellis/Warnings.h>

#include <basalt/ResourceModule.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(UpdaterOptions, TheSimulatedDeviceIsUsedOnlyWhenAskedFor)
{
    EXPECT_EQ(parseUpdaterOptions({}).simulated, nullptr);
    EXPECT_EQ(parseUpdaterOptions({"--simulate"}).simulated->name, "update-available");
    EXPECT_EQ(parseUpdaterOptions({"--simulate=write-fails"}).simulated->name, "write-fails");
    const UpdaterOptions unknown = parseUpdaterOptions({"--simulate=nonsense"});
    EXPECT_EQ(unknown.action, UpdaterOptions::UsageError);
    EXPECT_EQ(unknown.error, "unknown scenario: nonsense");
    EXPECT_EQ(parseUpdaterOptions({"--help"}).action, UpdaterOptions::Help);
    EXPECT_EQ(parseUpdaterOptions({"--version"}).action, UpdaterOptions::Version);
    EXPECT_EQ(parseUpdaterOptions({"/some/file"}).action, UpdaterOptions::Run) << "for the first copy";
}

TEST(UpdaterOptions, TheStateFileGoesWithTheSimulatedDevice)
{
    EXPECT_EQ(parseUpdaterOptions({"--simulate", "--simulate-state", "s.state"}).simulationState, "s.state");
    EXPECT_EQ(parseUpdaterOptions({"--simulate-state=s.state", "--simulate"}).simulationState, "s.state");
    const std::vector<std::pair<std::vector<std::string_view>, std::string>> refused{
        {{"--simulate-state", "s.state"}, "--simulate-state goes with --simulate only"},
        {{"--simulate", "--simulate-state"}, "--simulate-state needs a file"},
        {{"--simulate", "--simulate-state="}, "--simulate-state needs a file"},
    };
    for (const auto& [arguments, error] : refused) {
        const UpdaterOptions options = parseUpdaterOptions(arguments);
        EXPECT_EQ(options.action, UpdaterOptions::UsageError) << error;
        EXPECT_EQ(options.error, error);
    }
}

TEST(PageTrace, ALineHoldsThePageMessageAndButtonsAsJson)
{
    Trellis::ManagerContainer resources(Basalt::ResourceModule::program());
    UpdaterDescription description;
    description.deviceName = "Trovix \"Studio\"";
    auto wizard = std::make_shared<UpdateWizardMainWidget>(description);
    wizard->message().setText("say \"hi\"\\");
    wizard->quitButton().setAttribute("hasFocus", "true");
    EXPECT_EQ(pageTraceLine("connect", *wizard),
              "{\"page\":\"connect\",\"message\":\"say \\\"hi\\\"\\\\\","
              "\"action\":{\"shown\":true,\"text\":\"?ACTION?\",\"focus\":false},"
              "\"quit\":{\"shown\":true,\"text\":\"QUIT\",\"focus\":true},\"installed\":\"\"}");
}

TEST(ProgramIcon, TheEntryNearestInSizeIsDecodedAndBrokenEntriesArePassedOver)
{
    const auto icon = programIcon(64);
    ASSERT_TRUE(icon.has_value());
    EXPECT_EQ(icon->width(), 64);
    std::vector<unsigned char> broken = {0, 0, 1, 0, 1, 0, 48, 48, 0, 0, 1, 0, 32, 0, 0xFF, 0xFF, 0, 0, 22, 0, 0, 0};
    EXPECT_FALSE(iconEntry(broken, 48).has_value()) << "an entry past the end of the file";
    EXPECT_FALSE(iconEntry({0, 0, 2, 0}, 48).has_value());
}

// An installed tree, wherever it was copied to, opens its own README; a
// program without one beside it opens the installed place.
TEST(DocumentationUrl, TheReadmeBesideTheProgramUnlessAnAddressWasConfigured)
{
    const auto tree = std::filesystem::path(::testing::TempDir()) / "documentation-url";
    std::filesystem::remove_all(tree);
    const auto bin = tree / "usr/bin";
    std::filesystem::create_directories(bin);
    EXPECT_EQ(documentationUrl("", bin), "file://" TVS_INSTALLED_README);
    const auto readme = std::filesystem::weakly_canonical(bin / TVS_README_FROM_PROGRAM);
    std::filesystem::create_directories(readme.parent_path());
    std::ofstream(readme) << "# TVS Updater\n";
    EXPECT_EQ(documentationUrl("", bin), "file://" + readme.string());
    EXPECT_EQ(documentationUrl("https://example.org/kb", bin), "https://example.org/kb");
    std::filesystem::remove_all(tree);
}

// A broken skin is reported on standard error once per distinct warning,
// however often the toolkit meets it, and only while the printer listens.
TEST(WarningPrinter, PrintsEachDistinctWarningOnceWhileItListens)
{
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* file = ::open_memstream(&buffer, &size);
    ASSERT_NE(file, nullptr);
    const std::string parser = "Stylesheet error: skin/stylesheets/a.txt:3 - PARSER ERROR at line 3: Expecting } or ;";
    const std::string picture = "Trellis::ManagerContainer::getResourceStream - can't find resource: skin/pictures/x.png";
    {
        WarningPrinter printer(file);
        for (const std::string& text : {parser, picture, parser, picture, parser}) {
            Trellis::reportWarning(text);
        }
    }
    Trellis::reportWarning("after the printer");
    std::fclose(file);
    EXPECT_EQ(std::string(buffer, size), "tvs-updater: " + parser + "\ntvs-updater: " + picture + "\n");
    std::free(buffer);
}

} // namespace
