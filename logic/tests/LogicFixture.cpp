#include "LogicFixture.h"

#include <firmware/FirmwareImageSet.h>

#include <thread>

std::shared_ptr<Conduit2::Sim::TrovixStudioModel> LogicTest::plugModel(Conduit2::Sim::StudioConfig config)
{
    const auto a = FirmwareImageSet::imageA();
    const auto b = FirmwareImageSet::imageB();
    config.expectedImageA.assign(a.begin(), a.end());
    config.expectedImageB.assign(b.begin(), b.end());
    auto model = std::make_shared<Conduit2::Sim::TrovixStudioModel>(std::move(config));
    recorder = std::make_shared<Conduit2::Testing::RecordingModel>(model);
    bus->attach(recorder);
    return model;
}

std::int32_t LogicTest::waitForResult(const UpdateResult& result)
{
    for (int i = 0; i < 20000 && result.load() == UpdateResult::Running; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return result.load();
}

bool LogicTest::holdsCarriedFirmware(const Conduit2::Sim::TrovixStudioModel& model)
{
    const auto a = FirmwareImageSet::imageA();
    const auto b = FirmwareImageSet::imageB();
    return model.imageA() == std::vector<std::uint8_t>(a.begin(), a.end())
        && model.imageB() == std::vector<std::uint8_t>(b.begin(), b.end());
}
