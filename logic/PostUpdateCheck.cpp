#include "logic/PostUpdateCheck.h"

#include <basalt/Clock.h>

#include <chrono>

bool checkUpdatedDevice(const UpdaterDescription& description, PostUpdateReport& report)
{
    using namespace std::chrono_literals;
    if (!description.isUpdatedDeviceBack()) {
        Basalt::clock().sleepFor(5000ms);
        if (!description.isUpdatedDeviceBack()) {
            return false;
        }
    }
    bool updateAvailable = false;
    description.readFirmwareInfo(report.info, report.installed, report.newest, updateAvailable);
    return report.installed == report.newest;
}
