#pragma once

#include "DeviceLayerFixture.h"
#include "RecordingModel.h"

#include <logic/TVSUpdaterUpgradeLogic.h>
#include <sim/TrovixStudioModel.h>

#include <memory>

// A logic over a simulated bus in virtual time, with simulated Trovix
// Studios that expect the carried firmware.
class LogicTest : public Conduit2::Testing::DeviceLayerTest {
protected:
    // A device that expects the carried images, recorded.
    std::shared_ptr<Conduit2::Sim::TrovixStudioModel> plugModel(Conduit2::Sim::StudioConfig config = {});
    // Waits (in real time, at most 20 s) until the worker has written a result.
    static std::int32_t waitForResult(const UpdateResult& result);
    // The carried firmware is exactly what the device's flash holds.
    static bool holdsCarriedFirmware(const Conduit2::Sim::TrovixStudioModel& model);

    std::shared_ptr<Conduit2::Testing::RecordingModel> recorder;
    std::unique_ptr<TVSUpdaterUpgradeLogic> logic = std::make_unique<TVSUpdaterUpgradeLogic>();
};
