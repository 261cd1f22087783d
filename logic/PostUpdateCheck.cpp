#include "logic/PostUpdateCheck.h"

#include <basalt/Clock.h>

eUpdatedDevice lookAtUpdatedDevice(const UpdatedDeviceQuestions& ask, bool afterWait, PostUpdateReport& report)
{
    if (!ask.isUpdatedDeviceBack()) {
        return afterWait ? eUpdatedDevice::NotBack : eUpdatedDevice::WaitForReturn;
    }
    bool updateAvailable = false;
    ask.readFirmwareInfo(report.info, report.installed, report.newest, updateAvailable);
    return report.installed == report.newest ? eUpdatedDevice::Current : eUpdatedDevice::NotCurrent;
}

bool checkUpdatedDevice(const UpdaterDescription& description, PostUpdateReport& report)
{
    const UpdatedDeviceQuestions ask{description.isUpdatedDeviceBack, description.readFirmwareInfo};
    eUpdatedDevice found = lookAtUpdatedDevice(ask, false, report);
    if (found == eUpdatedDevice::WaitForReturn) {
        Basalt::clock().sleepFor(UpdatedDeviceReturnWait);
        found = lookAtUpdatedDevice(ask, true, report);
    }
    return found == eUpdatedDevice::Current;
}
