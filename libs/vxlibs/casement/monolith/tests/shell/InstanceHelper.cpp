// A program that follows the single-instance rule, for the tests that run two
// copies. It writes what happens to the file named by INSTANCE_HELPER_LOG
// ("running", "another copy runs", "path <path>", "raise", "ended") and uses
// the instance name in INSTANCE_HELPER_NAME. SIGTERM ends a running copy.
#include "casement/AppModule.h"
#include "casement/Application.h"
#include "casement/ShellEvents.h"
#include "casement/SingleInstance.h"
#include "casement/init_casement.h"
#include "casement/runModule.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void note(const std::string& line)
{
    std::ofstream(std::getenv("INSTANCE_HELPER_LOG"), std::ios::app) << line << std::endl;
}

class HelperWindow final : public Casement::EventHandler {
public:
    bool handleEvent(std::uint32_t code, void*, bool) override
    {
        if (code == Casement::RaiseWindowRequest) {
            note("raise");
            return true;
        }
        return false;
    }
};

class HelperApplication final : public Casement::Application {
public:
    bool start() override
    {
        if (Casement::checkOtherInstance(std::getenv("INSTANCE_HELPER_NAME"), 0)) {
            note("another copy runs");
            return false;
        }
        setMainWindow(&window_);
        note("running");
        return true;
    }
    bool onCommand(std::uint32_t code, void* data) override
    {
        if (code == Casement::InstanceArgumentMessage) {
            note("path " + static_cast<std::filesystem::path*>(data)->string());
            return true;
        }
        return Application::onCommand(code, data);
    }

private:
    HelperWindow window_;
};

class HelperModule final : public Casement::AppModule {
public:
    int createApplication() override
    {
        Casement::initCasement(0x04010000, 0x000F0001);
        return attachApplication(std::make_unique<HelperApplication>());
    }
    void destroyApplication(int) override
    {
        releaseApplication();
        Casement::shutdownCasement();
        note("ended");
    }
};

HelperModule module;

} // namespace

int main()
{
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    return Casement::runModule();
}
