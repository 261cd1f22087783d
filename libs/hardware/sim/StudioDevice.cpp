#include "sim/StudioDevice.h"

#include "sim/Bytes.h"

namespace Conduit2::Sim::DETAIL {
namespace {

constexpr std::uint8_t RequestTypeMask = 0x60;
constexpr std::uint8_t StandardType = 0x00;
constexpr std::uint8_t ClassType = 0x20;
constexpr std::uint8_t VendorType = 0x40;
constexpr std::uint8_t RecipientMask = 0x1F;
constexpr std::uint8_t InterfaceRecipient = 0x01;

constexpr std::uint8_t VendorReadType = 0xC0;
constexpr std::uint8_t VendorReadRequest = 0xB3;
constexpr std::uint8_t VendorWriteType = 0x41;
constexpr std::uint8_t VendorSelectorBase = 0x1C;
constexpr std::uint8_t SecondarySelector = 1;

DfuEngine::tSettings engineSettings(const StudioConfig& config)
{
    return {
        config.dfuAttributes,
        config.transferSize,
        StudioImageARoom,
        config.busyAnswersPerBlock,
        config.busyPollTimeoutMs,
        static_cast<std::uint32_t>(config.manifestationTime.count()),
        config.waitResetAfterClosingBlock,
        config.stallAtBlock,
        config.stallsOnlyOnce,
    };
}

bool matches(const std::optional<RequestMatch>& match, const SetupPacket& setup)
{
    return match && match->bmRequestType == setup.bmRequestType && match->bRequest == setup.bRequest;
}

} // namespace

StudioDevice::StudioDevice(StudioConfig config)
    : config_(std::move(config)),
      release_(config_.installedRelease),
      secondaryRevision_(config_.secondaryRevision),
      installedFirmwareIntact_(!config_.startsInDfuMode),
      engine_(engineSettings(config_)),
      imageB_(StudioImageBRoom)
{
    if (config_.startsInDfuMode) {
        startDfuMode();
    } else {
        startRunTime(release_, secondaryRevision_);
    }
}

void StudioDevice::attach(DevicePort* port)
{
    std::lock_guard guard(lock_);
    port_ = port;
}

ControlReply StudioDevice::control(const SetupPacket& setup, std::span<const std::uint8_t> hostData)
{
    ControlReply reply;
    runLocked([&](Followups& after) { reply = controlLocked(setup, hostData, after); });
    return reply;
}

eStudioMode StudioDevice::mode() const
{
    std::lock_guard guard(lock_);
    return mode_;
}

eDfuState StudioDevice::dfuState() const
{
    std::lock_guard guard(lock_);
    return engine_.state();
}

std::vector<std::uint8_t> StudioDevice::imageA() const
{
    std::lock_guard guard(lock_);
    return engine_.image();
}

std::vector<std::uint8_t> StudioDevice::imageB() const
{
    std::lock_guard guard(lock_);
    return imageB_.bytes();
}

std::string StudioDevice::serialNumber() const
{
    std::lock_guard guard(lock_);
    return serialNumber_;
}

void StudioDevice::runLocked(const std::function<void(Followups&)>& body)
{
    Followups after;
    {
        std::lock_guard guard(lock_);
        body(after);
    }
    for (const auto& followup : after) {
        followup();
    }
}

ControlReply StudioDevice::controlLocked(const SetupPacket& setup, std::span<const std::uint8_t> hostData,
                                         Followups& after)
{
    if (mode_ == eStudioMode::Off || matches(config_.noAnswerTo, setup)) {
        return ControlReply::noAnswer();
    }
    switch (setup.bmRequestType & RequestTypeMask) {
    case StandardType:
        return standard_.handle(setup);
    case ClassType:
        return classRequest(setup, hostData, after);
    case VendorType:
        return vendorRequest(setup, hostData);
    default:
        return ControlReply::stall();
    }
}

ControlReply StudioDevice::classRequest(const SetupPacket& setup, std::span<const std::uint8_t> hostData,
                                        Followups& after)
{
    if ((setup.bmRequestType & RecipientMask) != InterfaceRecipient
        || setup.wIndex != standard_.descriptors().dfuInterface) {
        return ControlReply::stall();
    }
    if (setup.bRequest == DfuDnload && mode_ == eStudioMode::Dfu && !unplugAtBlockDone_
        && config_.unplugAtBlock == setup.wValue) {
        unplugAtBlockDone_ = true;
        leaveBus(after);
        return ControlReply::noAnswer();
    }
    if (setup.bRequest == DfuDetach && mode_ == eStudioMode::RunTime && config_.ignoreDetach) {
        return ControlReply::ack();
    }
    auto outcome = engine_.handle(setup, hostData);
    applyEffect(outcome.effect, after);
    return std::move(outcome.reply);
}

// 0xB3 reads a 16-bit value of the run-time firmware (selector 1: the
// secondary revision); 0x1C + 1 writes ImageB in DFU mode, between downloads.
ControlReply StudioDevice::vendorRequest(const SetupPacket& setup, std::span<const std::uint8_t> hostData)
{
    if (setup.bmRequestType == VendorReadType && setup.bRequest == VendorReadRequest) {
        const bool secondary = setup.wValue == 0 && setup.wIndex == VendorSelectorBase + SecondarySelector;
        if (mode_ != eStudioMode::RunTime || !secondary) {
            return ControlReply::stall();
        }
        std::vector<std::uint8_t> value;
        appendLe16(value, secondaryRevision_);
        return inAnswer(std::move(value), setup.wLength);
    }
    const bool writesImageB = setup.bmRequestType == VendorWriteType
        && setup.bRequest == VendorSelectorBase + SecondarySelector && setup.wIndex == 0;
    if (writesImageB && mode_ == eStudioMode::Dfu && engine_.state() == eDfuState::DfuIdle
        && imageB_.write(setup.wValue, hostData)) {
        return ControlReply::ack();
    }
    return ControlReply::stall();
}

} // namespace Conduit2::Sim::DETAIL
