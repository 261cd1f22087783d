#pragma once

#include <casement/AppModule.h>

#include <memory>

class TVSUpdaterUpgradeLogic;
struct UpdaterDescription;

// The updater's application module: it initialises the libraries, creates
// the upgrade logic, its description and the application, and tears them
// down in the reverse order when the program ends.
class TVSUpdaterAppModule final : public Casement::AppModule {
public:
    TVSUpdaterAppModule();
    ~TVSUpdaterAppModule() override;

    int createApplication() override;
    void destroyApplication(int startResult) override;

    // 1 when the window system could not be started or refused the window,
    // else 0.
    int exitStatus() const { return exitStatus_; }

private:
    std::unique_ptr<TVSUpdaterUpgradeLogic> logic_;
    std::unique_ptr<UpdaterDescription> description_;
    int exitStatus_ = 0;
};

// The program: runs the module's application until its window is closed.
// Returns 0, or 1 when no display could be reached or no window opened; an
// update ended by a second signal ends the program here with status 1.
int runUpdater();
