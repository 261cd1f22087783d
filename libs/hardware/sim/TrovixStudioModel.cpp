#include "sim/TrovixStudioModel.h"

#include "sim/StudioDevice.h"

namespace Conduit2::Sim {

TrovixStudioModel::TrovixStudioModel(Config config)
    : device_(std::make_shared<DETAIL::StudioDevice>(std::move(config)))
{
}

TrovixStudioModel::TrovixStudioModel(Config config, const StudioState& state)
    : TrovixStudioModel(std::move(config))
{
    device_->restore(state);
}

TrovixStudioModel::~TrovixStudioModel() = default;

void TrovixStudioModel::attach(DevicePort* port)
{
    device_->attach(port);
}

ControlReply TrovixStudioModel::control(const SetupPacket& setup, std::span<const std::uint8_t> hostData)
{
    return device_->control(setup, hostData);
}

void TrovixStudioModel::busReset()
{
    device_->busReset();
}

void TrovixStudioModel::replug()
{
    device_->replug();
}

void TrovixStudioModel::clearFaults()
{
    device_->clearFaults();
}

eStudioMode TrovixStudioModel::mode() const
{
    return device_->mode();
}

eDfuState TrovixStudioModel::dfuState() const
{
    return device_->dfuState();
}

std::vector<std::uint8_t> TrovixStudioModel::imageA() const
{
    return device_->imageA();
}

std::vector<std::uint8_t> TrovixStudioModel::imageB() const
{
    return device_->imageB();
}

std::string TrovixStudioModel::serialNumber() const
{
    return device_->serialNumber();
}

std::uint32_t TrovixStudioModel::faultsStruck() const
{
    return device_->faultsStruck();
}

StudioState TrovixStudioModel::state() const
{
    return device_->state();
}

} // namespace Conduit2::Sim
