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
    };
}

bool matches(const RequestMatch& match, const SetupPacket& setup)
{
    return match.bmRequestType == setup.bmRequestType && match.bRequest == setup.bRequest
        && (!match.wValue || match.wValue == setup.wValue);
}

} // namespace

StudioDevice::StudioDevice(StudioConfig config)
    : config_(std::move(config)),
      release_(config_.installedRelease),
      secondaryRevision_(config_.secondaryRevision),
      installedFirmwareIntact_(!config_.startsInDfuMode),
      faultPointsReached_(config_.faults.size()),
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

std::uint32_t StudioDevice::faultsStruck() const
{
    std::lock_guard guard(lock_);
    return faultsStruck_;
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
    if (mode_ == eStudioMode::Off || hung_) {
        return ControlReply::noAnswer();
    }
    const Fault* fault = faultStriking([&](const Fault& candidate) {
        return (candidate.point == eFaultPoint::Request && matches(candidate.request, setup))
            || (candidate.point == eFaultPoint::Manifestation && engine_.state() == eDfuState::Manifest);
    });
    if (fault && fault->kind == eFaultKind::Stall) {
        return stall(setup);
    }
    if (fault) {
        strike(*fault, after);
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
    if (setup.bRequest == DfuDetach && mode_ == eStudioMode::RunTime && config_.ignoreDetach) {
        return ControlReply::ack();
    }
    auto outcome = engine_.handle(setup, hostData);
    applyEffect(outcome.effect, after);
    return std::move(outcome.reply);
}

// Counts the faults whose point is reached; returns the first that strikes
// now, or null.
const Fault* StudioDevice::faultStriking(const std::function<bool(const Fault&)>& reached)
{
    const Fault* striking = nullptr;
    for (std::size_t i = 0; i < config_.faults.size(); ++i) {
        const Fault& fault = config_.faults[i];
        if (!reached(fault)) {
            continue;
        }
        const std::uint32_t count = ++faultPointsReached_[i];
        if (!striking && (count == fault.occurrence || (fault.repeats && count > fault.occurrence))) {
            striking = &fault;
        }
    }
    faultsStruck_ += striking ? 1 : 0;
    return striking;
}

// A stalled DFU request is a failure of the DFU state machine; a failed
// block is a write error.
ControlReply StudioDevice::stall(const SetupPacket& setup)
{
    if ((setup.bmRequestType & RequestTypeMask) != ClassType) {
        return ControlReply::stall();
    }
    return engine_.refuse(setup.bRequest == DfuDnload ? eDfuStatus::ErrWrite : eDfuStatus::ErrStalledPkt).reply;
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
        ControlReply reply = ControlReply::ack();
        reply.delay = config_.imageBChunkTime;
        return reply;
    }
    return ControlReply::stall();
}

} // namespace Conduit2::Sim::DETAIL
