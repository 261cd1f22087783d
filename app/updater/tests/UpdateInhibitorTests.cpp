// The updater's inhibitor lock without a system bus: the updates run on, and
// standard error says so once in the run, however many updates it has.
#include "UpdateInhibitor.h"

#include "logic/UpdaterDescription.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(UpdateInhibitor, WithoutASystemBusTheFirstUpdateOfTheRunSaysSoAndNoOtherDoes)
{
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent", 1);
    UpdaterDescription description;
    description.deviceName = "Trovix Studio";
    UpdateInhibitor inhibitor(description);
    testing::internal::CaptureStderr();
    for (const char* page : {"update-available", "stand-by", "failed-to-boot", "stand-by", "error"}) {
        inhibitor.pageShown(page);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tvs-updater: logout, shutdown and suspend are not held off during the update "
              "(the system bus cannot be reached: No such file or directory)\n");
    ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
}
