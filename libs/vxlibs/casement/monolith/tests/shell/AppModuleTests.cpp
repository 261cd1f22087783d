#include "ShellTestSupport.h"

#include "casement/AppModule.h"
#include "casement/Application.h"
#include "casement/LanguageCode.h"
#include "casement/MessageLoop.h"
#include "casement/ShellEvents.h"
#include "casement/init_casement.h"
#include "casement/runModule.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>

namespace {

using Casement::LanguageCode;

TEST(LanguageCodes, ComeFromThePrimaryLanguageOfTheLocale)
{
    EXPECT_EQ(LanguageCode::fromLocaleName("ja_JP.UTF-8"), "JPN");
    EXPECT_EQ(LanguageCode::fromLocaleName("de_DE@euro"), "DEU");
    EXPECT_EQ(LanguageCode::fromLocaleName("es"), "SPA");
    EXPECT_EQ(LanguageCode::fromLocaleName("fr_CA.UTF-8"), "FRA");
    EXPECT_EQ(LanguageCode::fromLocaleName("it_IT"), "ITA");
    EXPECT_EQ(LanguageCode::fromLocaleName("nl_NL.UTF-8"), "ENG");
    EXPECT_EQ(LanguageCode::fromLocaleName("jav_ID"), "ENG");
    EXPECT_EQ(LanguageCode::fromLocaleName("C"), "ENG");
    EXPECT_EQ(LanguageCode::fromLocaleName(""), "ENG");
}

TEST(LanguageCodes, TheFirstSetVariableDecides)
{
    ::setenv("LC_ALL", "", 1);
    ::setenv("LC_MESSAGES", "ja_JP.UTF-8", 1);
    ::setenv("LANG", "de_DE.UTF-8", 1);
    EXPECT_EQ(LanguageCode::userDefault(), "JPN");
    ::setenv("LC_ALL", "fr_FR", 1);
    EXPECT_EQ(LanguageCode::userDefault(), "FRA");
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_MESSAGES");
    EXPECT_EQ(LanguageCode::userDefault(), "DEU");
    ::unsetenv("LANG");
    EXPECT_EQ(LanguageCode::userDefault(), "ENG");
}

// Logs what the module asks of the application, and the application's end.
class LoggingApplication final : public Casement::Application {
public:
    LoggingApplication(std::vector<std::string>& log, bool starts)
        : Application(ShellTest::fakeBridge(bridge_)), log_(log), starts_(starts) {}
    ~LoggingApplication() override { log_.push_back("deleted"); }

    void attach(Casement::AppModule* module) override
    {
        log_.push_back(module != nullptr ? "attach(module)" : "attach(null)");
        Application::attach(module);
    }
    bool start() override
    {
        log_.push_back("start");
        return starts_;
    }
    void stop(int startResult) override { log_.push_back("stop(" + std::to_string(startResult) + ")"); }
    int runLoop() override
    {
        log_.push_back("runLoop");
        return 0;
    }

private:
    ShellTest::tBridgeLog bridge_;
    std::vector<std::string>& log_;
    bool starts_;
};

class LoggingModule final : public Casement::AppModule {
public:
    LoggingModule(std::vector<std::string>& log, bool starts, std::string locale = {})
        : log_(log), starts_(starts), locale_(std::move(locale)) {}

    int createApplication() override
    {
        return attachApplication(std::make_unique<LoggingApplication>(log_, starts_));
    }
    void destroyApplication(int startResult) override
    {
        releaseApplication();
        log_.push_back("destroyApplication(" + std::to_string(startResult) + ")");
    }
    std::string locale(bool) const override { return locale_; }

private:
    std::vector<std::string>& log_;
    bool starts_;
    std::string locale_;
};

TEST(AppModuleLifecycle, StartsRunsAndReleasesInOrder)
{
    std::vector<std::string> log;
    LoggingModule module(log, true);
    EXPECT_EQ(Casement::runModule(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"attach(module)", "start", "runLoop", "stop(1)",
                                             "attach(null)", "deleted", "destroyApplication(1)"}));
    EXPECT_EQ(module.application(), nullptr);
}

TEST(AppModuleLifecycle, AFailedStartSkipsTheLoop)
{
    std::vector<std::string> log;
    LoggingModule module(log, false);
    EXPECT_EQ(Casement::runModule(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"attach(module)", "start", "stop(0)", "stop(0)",
                                             "attach(null)", "deleted", "destroyApplication(0)"}));
}

TEST(AppModuleLifecycle, TheFirstModuleIsTheModuleAndOneApplicationAttaches)
{
    std::vector<std::string> log;
    {
        LoggingModule first(log, true);
        LoggingModule second(log, true);
        EXPECT_EQ(Casement::AppModule::instance(), &first);
        EXPECT_TRUE(first.startModule());
        EXPECT_FALSE(first.attachApplication(std::make_unique<LoggingApplication>(log, true)));
        EXPECT_EQ(Casement::Application::current(), first.application());
        log.clear();
    }
    // The module's destructor released the application it still held.
    EXPECT_EQ(log, (std::vector<std::string>{"stop(1)", "attach(null)", "deleted"}));
    EXPECT_EQ(Casement::AppModule::instance(), nullptr);
}

TEST(AppModuleLifecycle, ALocaleTextIsKeptToFifteenCharacters)
{
    std::vector<std::string> log;
    {
        LoggingModule module(log, true, "ABCDEFGHIJKLMNOPQRST");
        module.startModule();
        EXPECT_EQ(Casement::AppModule::languageCode(), "ABCDEFGHIJKLMNO");
    }
    ::setenv("LC_ALL", "ja_JP.UTF-8", 1);
    LoggingModule module(log, true);
    module.startModule();
    ::unsetenv("LC_ALL");
    EXPECT_EQ(Casement::AppModule::languageCode(), "JPN");
}

// An application whose quit question is answered by `allowQuit`.
class QuittingApplication final : public Casement::Application {
public:
    QuittingApplication() : Application(ShellTest::fakeBridge(bridge_)) {}
    bool onCommand(std::uint32_t code, void* data) override
    {
        if (code == Casement::QueryQuit) {
            ++questions;
            *static_cast<bool*>(data) = allowQuit;
            return true;
        }
        return Application::onCommand(code, data);
    }
    bool allowQuit = true;
    int questions = 0;

private:
    ShellTest::tBridgeLog bridge_;
};

class Quitting : public ::testing::Test {
protected:
    class Module final : public Casement::AppModule {
    public:
        int createApplication() override { return attachApplication(std::make_unique<QuittingApplication>()); }
        void destroyApplication(int) override { releaseApplication(); }
    };

    void SetUp() override
    {
        ASSERT_TRUE(Casement::initCasement(0x04010000, 0x000F0001));
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        module.startModule();
        application().setMainWindow(&window);
    }
    void TearDown() override
    {
        module.destroyApplication(1);
        Casement::shutdownCasement();
    }
    QuittingApplication& application() { return static_cast<QuittingApplication&>(*module.application()); }

    Module module;
    std::vector<std::string> log;
    // A window that leaves commands to the application.
    ShellTest::Recorder window{"window", log, false};
};

TEST_F(Quitting, RequestQuitAsksClosesTheWindowAndEndsTheLoop)
{
    application().requestQuit();
    EXPECT_EQ(application().runLoop(), 0);
    EXPECT_EQ(application().questions, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"window:1200", "window:1000100"}));
}

TEST_F(Quitting, ARefusedQuitCommandKeepsTheWindowAndTheLoop)
{
    application().allowQuit = false;
    Casement::MessageLoop::postCommand(&window, Casement::QuitCommand);
    Casement::MessageLoop::postCommand(&window, 1);
    Casement::MessageLoop::postQuit(0);
    EXPECT_EQ(application().runLoop(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"window:1200", "window:1200"}));
    EXPECT_FALSE(application().isQuitRequested());
    EXPECT_EQ(application().applicationKind(), "Standalone");
}

} // namespace
