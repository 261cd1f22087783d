#include "sim/DfuEngine.h"

#include "sim/Bytes.h"

#include <array>

namespace Conduit2::Sim {
namespace {

constexpr std::uint8_t bit(eDfuRequest request)
{
    return static_cast<std::uint8_t>(1u << request);
}

constexpr std::uint8_t Polls = bit(DfuGetStatus) | bit(DfuGetState);

// The requests each state accepts, by state number. Every other request
// stalls; in DFU mode it also moves the device to dfuERROR. A device that
// cannot upload never accepts DFU_UPLOAD.
constexpr std::array<std::uint8_t, 11> Accepted{
    Polls | bit(DfuDetach),                 // appIDLE
    Polls,                                  // appDETACH
    Polls | bit(DfuDnload) | bit(DfuAbort), // dfuIDLE
    Polls,                                  // dfuDNLOAD-SYNC
    bit(DfuGetStatus),                      // dfuDNBUSY
    Polls | bit(DfuDnload) | bit(DfuAbort), // dfuDNLOAD-IDLE
    Polls,                                  // dfuMANIFEST-SYNC
    Polls,                                  // dfuMANIFEST
    Polls,                                  // dfuMANIFEST-WAIT-RESET
    Polls | bit(DfuAbort),                  // dfuUPLOAD-IDLE
    Polls | bit(DfuClrStatus),              // dfuERROR
};

bool isDeviceToHostRequest(std::uint8_t request)
{
    return request == DfuUpload || request == DfuGetStatus || request == DfuGetState;
}

} // namespace

void DfuEngine::enterRunTime()
{
    state_ = eDfuState::AppIdle;
    status_ = eDfuStatus::Ok;
}

void DfuEngine::enterDfuMode()
{
    state_ = eDfuState::DfuIdle;
    status_ = eDfuStatus::Ok;
}

void DfuEngine::detachTimedOut()
{
    if (state_ == eDfuState::AppDetach) {
        state_ = eDfuState::AppIdle;
    }
}

DfuEngine::eEffect DfuEngine::finishManifestation()
{
    if (state_ != eDfuState::Manifest) {
        return NoEffect;
    }
    imageComplete_ = true;
    if ((settings_.bmAttributes & DfuManifestationTolerant) != 0) {
        manifested_ = true;
        state_ = eDfuState::ManifestSync;
        return NoEffect;
    }
    state_ = eDfuState::ManifestWaitReset;
    return WaitingForReset;
}

DfuEngine::tOutcome DfuEngine::handle(const SetupPacket& setup, std::span<const std::uint8_t> data)
{
    if (!isAllowed(setup.bRequest) || isDeviceToHostRequest(setup.bRequest) != setup.isDeviceToHost()) {
        return refuse(eDfuStatus::ErrStalledPkt);
    }
    switch (setup.bRequest) {
    case DfuDetach:
        return detach();
    case DfuDnload:
        return download(setup.wValue, data);
    case DfuGetStatus:
        return getStatus(setup.wLength);
    case DfuGetState:
        return {DETAIL::inAnswer({static_cast<std::uint8_t>(state_)}, setup.wLength)};
    case DfuClrStatus:
        return clearStatus();
    default:
        return abort();
    }
}

bool DfuEngine::isAllowed(std::uint8_t request) const
{
    return request <= DfuAbort && (Accepted[static_cast<std::size_t>(state_)] & (1u << request)) != 0;
}

// The run-time interface only stalls (and leaves appDETACH); in DFU mode the
// first failure is kept in bStatus until DFU_CLRSTATUS.
DfuEngine::tOutcome DfuEngine::refuse(eDfuStatus status)
{
    if (state_ == eDfuState::AppIdle || state_ == eDfuState::AppDetach) {
        state_ = eDfuState::AppIdle;
    } else if (state_ != eDfuState::Error) {
        state_ = eDfuState::Error;
        status_ = status;
    }
    return {ControlReply::stall()};
}

DfuEngine::tOutcome DfuEngine::detach()
{
    state_ = eDfuState::AppDetach;
    return {ControlReply::ack(), DetachRequested};
}

DfuEngine::tOutcome DfuEngine::download(std::uint16_t block, std::span<const std::uint8_t> data)
{
    if ((settings_.bmAttributes & DfuCanDownload) == 0) {
        return refuse(eDfuStatus::ErrStalledPkt);
    }
    if (data.empty()) {
        return closeDownload(block);
    }
    if (data.size() > settings_.wTransferSize) {
        return refuse(eDfuStatus::ErrStalledPkt);
    }
    return writeBlock(block, data);
}

// Blocks are numbered from 0 and written one after the other; the first block
// of a download erases the image.
DfuEngine::tOutcome DfuEngine::writeBlock(std::uint16_t block, std::span<const std::uint8_t> data)
{
    const bool starting = state_ == eDfuState::DfuIdle;
    const auto expected = starting ? std::uint16_t{0} : static_cast<std::uint16_t>(lastBlock_ + 1);
    if (block != expected) {
        return refuse(eDfuStatus::ErrStalledPkt);
    }
    if (starting) {
        image_.clear();
        imageComplete_ = false;
    }
    if (image_.size() + data.size() > settings_.imageRoom) {
        return refuse(eDfuStatus::ErrAddress);
    }
    image_.insert(image_.end(), data.begin(), data.end());
    lastBlock_ = block;
    busyLeft_ = settings_.busyAnswersPerBlock;
    state_ = eDfuState::DnloadSync;
    return {ControlReply::ack()};
}

// The zero-length block ends the download. Its number may repeat the last
// block's (after a short block) or follow it.
DfuEngine::tOutcome DfuEngine::closeDownload(std::uint16_t block)
{
    if (state_ == eDfuState::DfuIdle) {
        return refuse(eDfuStatus::ErrNotDone);
    }
    if (block != lastBlock_ && block != static_cast<std::uint16_t>(lastBlock_ + 1)) {
        return refuse(eDfuStatus::ErrStalledPkt);
    }
    manifested_ = false;
    if (settings_.waitResetAfterClosingBlock) {
        imageComplete_ = true;
        state_ = eDfuState::ManifestWaitReset;
        return {ControlReply::ack(), WaitingForReset};
    }
    state_ = eDfuState::ManifestSync;
    return {ControlReply::ack()};
}

// bState is the state the device enters with this answer.
DfuEngine::tOutcome DfuEngine::getStatus(std::uint16_t wLength)
{
    eEffect effect = NoEffect;
    if (state_ == eDfuState::DnloadSync || state_ == eDfuState::DnBusy) {
        state_ = busyLeft_ > 0 ? eDfuState::DnBusy : eDfuState::DnloadIdle;
        busyLeft_ -= busyLeft_ > 0 ? 1 : 0;
    } else if (state_ == eDfuState::ManifestSync) {
        state_ = manifested_ ? eDfuState::DfuIdle : eDfuState::Manifest;
        effect = manifested_ ? NoEffect : ManifestationStarted;
    }
    // bStatus, bwPollTimeout (24 bits), bState, iString.
    std::vector<std::uint8_t> answer{static_cast<std::uint8_t>(status_)};
    DETAIL::appendLe16(answer, static_cast<std::uint16_t>(pollTimeoutMs() & 0xFFFF));
    answer.push_back(static_cast<std::uint8_t>((pollTimeoutMs() >> 16) & 0xFF));
    answer.insert(answer.end(), {static_cast<std::uint8_t>(state_), 0});
    return {DETAIL::inAnswer(std::move(answer), wLength), effect};
}

std::uint32_t DfuEngine::pollTimeoutMs() const
{
    switch (state_) {
    case eDfuState::DnBusy:
        return settings_.busyPollTimeoutMs;
    case eDfuState::Manifest:
        return settings_.manifestationPollTimeoutMs;
    default:
        return 0;
    }
}

DfuEngine::tOutcome DfuEngine::clearStatus()
{
    status_ = eDfuStatus::Ok;
    state_ = eDfuState::DfuIdle;
    return {ControlReply::ack()};
}

// Ends a download that has not been closed; what was written stays in flash.
DfuEngine::tOutcome DfuEngine::abort()
{
    state_ = eDfuState::DfuIdle;
    return {ControlReply::ack()};
}

} // namespace Conduit2::Sim
