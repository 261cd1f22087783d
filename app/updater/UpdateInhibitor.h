#pragma once

#include <casement/SessionEndInhibitor.h>

#include <string_view>

struct UpdaterDescription;

// Holds off logout, shutdown and suspend while an update runs: the wizard
// shows the stand-by page from the click on UPDATE or RETRY to the end of
// the update, so the lock is taken when that page shows and released when
// any other page does. When the lock cannot be taken the update runs all
// the same, and standard error says so, once in the run.
class UpdateInhibitor {
public:
    explicit UpdateInhibitor(const UpdaterDescription& description);

    void pageShown(std::string_view page);

private:
    Casement::SessionEndInhibitor lock_;
    bool reported_ = false;
};
