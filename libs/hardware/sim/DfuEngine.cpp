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
    memory_.state = eDfuState::AppIdle;
    memory_.status = eDfuStatus::Ok;
}

void DfuEngine::enterDfuMode()
{
    memory_.state = eDfuState::DfuIdle;
    memory_.status = eDfuStatus::Ok;
}

void DfuEngine::detachTimedOut()
{
    if (memory_.state == eDfuState::AppDetach) {
        memory_.state = eDfuState::AppIdle;
    }
}

DfuEngine::eEffect DfuEngine::finishManifestation()
{
    if (memory_.state != eDfuState::Manifest) {
        return NoEffect;
    }
    memory_.imageComplete = true;
    if ((settings_.bmAttributes & DfuManifestationTolerant) != 0) {
        memory_.manifested = true;
        memory_.state = eDfuState::ManifestSync;
        return NoEffect;
    }
    memory_.state = eDfuState::ManifestWaitReset;
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
        return {DETAIL::inAnswer({static_cast<std::uint8_t>(memory_.state)}, setup.wLength)};
    case DfuClrStatus:
        return clearStatus();
    default:
        return abort();
    }
}

bool DfuEngine::isAllowed(std::uint8_t request) const
{
    return request <= DfuAbort && (Accepted[static_cast<std::size_t>(memory_.state)] & (1u << request)) != 0;
}

// The run-time interface only stalls (and leaves appDETACH); in DFU mode the
// first failure is kept in bStatus until DFU_CLRSTATUS.
DfuEngine::tOutcome DfuEngine::refuse(eDfuStatus status)
{
    if (memory_.state == eDfuState::AppIdle || memory_.state == eDfuState::AppDetach) {
        memory_.state = eDfuState::AppIdle;
    } else if (memory_.state != eDfuState::Error) {
        memory_.state = eDfuState::Error;
        memory_.status = status;
    }
    return {ControlReply::stall()};
}

DfuEngine::tOutcome DfuEngine::detach()
{
    memory_.state = eDfuState::AppDetach;
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
    const bool starting = memory_.state == eDfuState::DfuIdle;
    const auto expected = starting ? std::uint16_t{0} : static_cast<std::uint16_t>(memory_.lastBlock + 1);
    if (block != expected) {
        return refuse(eDfuStatus::ErrStalledPkt);
    }
    if (starting) {
        memory_.image.clear();
        memory_.imageComplete = false;
    }
    if (memory_.image.size() + data.size() > settings_.imageRoom) {
        return refuse(eDfuStatus::ErrAddress);
    }
    memory_.image.insert(memory_.image.end(), data.begin(), data.end());
    memory_.lastBlock = block;
    memory_.busyLeft = settings_.busyAnswersPerBlock;
    memory_.state = eDfuState::DnloadSync;
    return {ControlReply::ack()};
}

// The zero-length block ends the download. Its number may repeat the last
// block's (after a short block) or follow it.
DfuEngine::tOutcome DfuEngine::closeDownload(std::uint16_t block)
{
    if (memory_.state == eDfuState::DfuIdle) {
        return refuse(eDfuStatus::ErrNotDone);
    }
    if (block != memory_.lastBlock && block != static_cast<std::uint16_t>(memory_.lastBlock + 1)) {
        return refuse(eDfuStatus::ErrStalledPkt);
    }
    memory_.manifested = false;
    if (settings_.waitResetAfterClosingBlock) {
        memory_.imageComplete = true;
        memory_.state = eDfuState::ManifestWaitReset;
        return {ControlReply::ack(), WaitingForReset};
    }
    memory_.state = eDfuState::ManifestSync;
    return {ControlReply::ack()};
}

// bState is the state the device enters with this answer.
DfuEngine::tOutcome DfuEngine::getStatus(std::uint16_t wLength)
{
    eEffect effect = NoEffect;
    if (memory_.state == eDfuState::DnloadSync || memory_.state == eDfuState::DnBusy) {
        memory_.state = memory_.busyLeft > 0 ? eDfuState::DnBusy : eDfuState::DnloadIdle;
        memory_.busyLeft -= memory_.busyLeft > 0 ? 1 : 0;
    } else if (memory_.state == eDfuState::ManifestSync) {
        memory_.state = memory_.manifested ? eDfuState::DfuIdle : eDfuState::Manifest;
        effect = memory_.manifested ? NoEffect : ManifestationStarted;
    }
    // bStatus, bwPollTimeout (24 bits), bState, iString.
    std::vector<std::uint8_t> answer{static_cast<std::uint8_t>(memory_.status)};
    DETAIL::appendLe16(answer, static_cast<std::uint16_t>(pollTimeoutMs() & 0xFFFF));
    answer.push_back(static_cast<std::uint8_t>((pollTimeoutMs() >> 16) & 0xFF));
    answer.insert(answer.end(), {static_cast<std::uint8_t>(memory_.state), 0});
    return {DETAIL::inAnswer(std::move(answer), wLength), effect};
}

std::uint32_t DfuEngine::pollTimeoutMs() const
{
    switch (memory_.state) {
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
    memory_.status = eDfuStatus::Ok;
    memory_.state = eDfuState::DfuIdle;
    return {ControlReply::ack()};
}

// Ends a download that has not been closed; what was written stays in flash.
DfuEngine::tOutcome DfuEngine::abort()
{
    memory_.state = eDfuState::DfuIdle;
    return {ControlReply::ack()};
}

} // namespace Conduit2::Sim
