#include "cli/Commands.h"
#include "cli/Sentences.h"

#include "logic/UpdaterMessages.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// A Trovix Studio behind the description's callbacks, recording the calls.
struct FakeStudio {
    bool present = true;
    bool updateAvailable = true;
    bool entersUpdateMode = true;
    bool startsWorker = true;
    std::int32_t workerResult = UpdateResult::Done;
    std::string installedAfterUpdate = "33";
    bool updated = false;
    bool interruptsInReboot = false;
    std::string deniedNode;
    std::vector<std::string> calls;

    UpdaterDescription description()
    {
        UpdaterDescription d;
        d.deviceName = "Trovix Studio";
        d.updaterName = "TVS Updater";
        d.isDeviceReady = [this] { return record("isDeviceReady", present); };
        d.isUpdatedDeviceBack = [this] { return record("isUpdatedDeviceBack", present); };
        d.deniedDeviceNode = [this] { return deniedNode; };
        d.readFirmwareInfo = [this](Conduit2::USBDeviceInfo& info, std::string& installed, std::string& newest,
                                    bool& available) {
            calls.emplace_back("readFirmwareInfo");
            info.serialNumber = "TVS0012345";
            installed = updated ? installedAfterUpdate : "32";
            newest = "33";
            available = updateAvailable && !updated;
        };
        d.enterUpdateMode = [this] {
            if (interruptsInReboot) {
                ::raise(SIGINT);
                std::this_thread::sleep_for(std::chrono::milliseconds(250));  // a reboot the watch sees
            }
            return record("enterUpdateMode", entersUpdateMode);
        };
        d.startUpdate = [this](UpdateResult& result) {
            calls.emplace_back("startUpdate");
            updated = startsWorker;
            result.store(startsWorker ? workerResult : UpdateResult::NotInUpdateMode);
            return startsWorker;
        };
        d.stopUpdateThread = [this] { calls.emplace_back("stopUpdateThread"); };
        return d;
    }

    bool record(const char* call, bool answer)
    {
        calls.emplace_back(call);
        return answer;
    }
};

class CommandTest : public ::testing::Test {
protected:
    Cli::eOutcome update(bool yes, const std::string& answer = "")
    {
        in.clear();
        in.str(answer);
        Cli::Console console{in, out, err, false};
        const Cli::UpdateProgress progress{[] { return 0u; }, 100, [] { return eUpdatePhase::WritingImageA; },
                                           [] { return std::nullopt; }};
        return Cli::runUpdate(studio.description(), progress, console, yes);
    }

    Cli::eOutcome check(bool json)
    {
        Cli::Console console{in, out, err, false, 80, json};
        return Cli::runCheck(studio.description(), console);
    }

    static std::string sentence(const char* message, std::int32_t result = 0)
    {
        return UpdaterMessages::format(message, "Trovix Studio", result, "TVS Updater");
    }

    bool said(const std::string& text) const
    {
        return out.str().find(text) != std::string::npos || err.str().find(text) != std::string::npos;
    }

    FakeStudio studio;
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(CommandTest, UpdateFollowsTheWizardSequenceToSuccess)
{
    EXPECT_EQ(update(true), Cli::eOutcome::Done);
    EXPECT_EQ(studio.calls, (std::vector<std::string>{"isDeviceReady", "readFirmwareInfo", "enterUpdateMode",
                                                      "startUpdate", "isUpdatedDeviceBack", "readFirmwareInfo"}));
    // Progress and messages on standard error, the result on standard output.
    EXPECT_NE(err.str().find(sentence(UpdaterMessages::StandBy)), std::string::npos);
    EXPECT_NE(out.str().find(sentence(UpdaterMessages::Success)), std::string::npos);
    EXPECT_EQ(out.str().find(sentence(UpdaterMessages::StandBy)), std::string::npos);
    EXPECT_EQ(err.str().find("[y/N]"), std::string::npos);
}

// The first interruption only warns, naming what a second one would leave.
TEST_F(CommandTest, OneInterruptionWarnsAndTheUpdateGoesOn)
{
    studio.interruptsInReboot = true;
    EXPECT_EQ(update(true), Cli::eOutcome::Done);
    EXPECT_NE(err.str().find("may be waiting there"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("Press Ctrl-C again to end it anyway"), std::string::npos);
}

TEST_F(CommandTest, UpdateAsksFirstAndGoesOnOnlyOnYes)
{
    for (const char* answer : {"n\n", "", "nope\n", "yess\n"}) {
        studio.calls.clear();
        EXPECT_EQ(update(false, answer), Cli::eOutcome::Declined) << answer;
        EXPECT_EQ(studio.calls.size(), 2u) << answer;  // the scan and the version check only
    }
    EXPECT_NE(err.str().find("Update the firmware of your Trovix Studio now? [y/N] "), std::string::npos);
    EXPECT_EQ(update(false, " Yes \n"), Cli::eOutcome::Done);
}

TEST_F(CommandTest, EachFailureHasItsSentenceAndErrorNumber)
{
    studio.entersUpdateMode = false;
    EXPECT_EQ(update(true), Cli::eOutcome::Failed);
    EXPECT_TRUE(said(sentence(Cli::TerminalMessages::FailedToBoot)));
    EXPECT_EQ(studio.calls.back(), "enterUpdateMode");

    struct Case {
        bool startsWorker;
        std::int32_t workerResult;
        const char* installedAfterUpdate;
        std::int32_t errorNumber;
    };
    for (const Case& c : {Case{false, UpdateResult::Done, "33", -1}, Case{true, UpdateResult::NotInUpdateMode, "33", -1},
                          Case{true, UpdateResult::WriteFailed, "33", -2}, Case{true, UpdateResult::Done, "32", 1}}) {
        studio = FakeStudio{};
        studio.startsWorker = c.startsWorker;
        studio.workerResult = c.workerResult;
        studio.installedAfterUpdate = c.installedAfterUpdate;
        err.str("");
        EXPECT_EQ(update(true), Cli::eOutcome::Failed) << c.errorNumber;
        EXPECT_NE(err.str().find(sentence(Cli::TerminalMessages::Error, c.errorNumber) + " "), std::string::npos)
            << err.str();
    }
}

TEST_F(CommandTest, NothingToUpdateOrNoDeviceToOpen)
{
    studio.updateAvailable = false;
    EXPECT_EQ(update(true), Cli::eOutcome::UpToDate);
    EXPECT_TRUE(said(sentence(UpdaterMessages::NoNewerFirmware)));
    EXPECT_EQ(studio.calls.size(), 2u);

    studio.present = false;
    EXPECT_EQ(update(true), Cli::eOutcome::NoDevice);
    EXPECT_EQ(check(false), Cli::eOutcome::NoDevice);
    err.str("");
    out.str("");
    EXPECT_EQ(check(true), Cli::eOutcome::NoDevice);
    EXPECT_EQ(err.str(), "No Trovix Studio was found. Please connect your Trovix Studio to USB.\n");
    EXPECT_EQ(out.str(), R"({"error":"No Trovix Studio was found. Please connect your Trovix Studio to USB.",)"
                         R"("exitCode":3,"meaning":"no Trovix Studio found"})"
                         "\n");

    err.str("");
    studio.deniedNode = "/dev/bus/usb/001/004";
    EXPECT_EQ(update(true), Cli::eOutcome::NoPermission);
    EXPECT_EQ(Cli::exitCode(Cli::eOutcome::NoPermission), 4);
    EXPECT_EQ(err.str(), UpdaterMessages::noPermission("Trovix Studio", "/dev/bus/usb/001/004") + "\n");
}

TEST_F(CommandTest, CheckPrintsTextOrOneJsonLine)
{
    EXPECT_EQ(check(true), Cli::eOutcome::Done);
    EXPECT_EQ(out.str(), R"({"serial":"TVS0012345","installed":"32","newest":"33","updateAvailable":true})"
                         "\n");
    out.str("");
    EXPECT_EQ(check(false), Cli::eOutcome::Done);
    EXPECT_NE(out.str().find("Installed firmware: 32\n"), std::string::npos);
}

} // namespace
