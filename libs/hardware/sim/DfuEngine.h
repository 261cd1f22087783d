#pragma once

#include "sim/DfuTypes.h"
#include "sim/UsbDeviceModel.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace Conduit2::Sim {

// The DFU state machine of the DFU 1.1 standard, for both the run-time DFU
// interface (appIDLE, appDETACH) and the DFU-mode interface. It answers the
// class requests and writes the downloaded blocks into its image; what has to
// happen on the bus or later in time it hands back as an effect.
class DfuEngine {
public:
    struct tSettings {
        std::uint8_t bmAttributes = 0;
        std::uint16_t wTransferSize = 0;
        std::size_t imageRoom = 0;
        // dfuDNBUSY answers to DFU_GETSTATUS after each block, and their bwPollTimeout.
        std::uint32_t busyAnswersPerBlock = 0;
        std::uint32_t busyPollTimeoutMs = 0;
        std::uint32_t manifestationPollTimeoutMs = 0;
        // The closing block leads straight to dfuMANIFEST-WAIT-RESET.
        bool waitResetAfterClosingBlock = false;
    };

    enum eEffect {
        NoEffect,
        DetachRequested,       // appIDLE -> appDETACH
        ManifestationStarted,  // call finishManifestation() when it is done
        WaitingForReset,       // dfuMANIFEST-WAIT-RESET reached
    };

    struct tOutcome {
        ControlReply reply;
        eEffect effect = NoEffect;
    };

    explicit DfuEngine(tSettings settings) : settings_(std::move(settings)) {}

    // The firmware that runs after a boot: appIDLE or dfuIDLE, status OK.
    void enterRunTime();
    void enterDfuMode();
    // wDetachTimeOut passed without a bus reset.
    void detachTimedOut();
    eEffect finishManifestation();

    // One DFU class request addressed to the DFU interface.
    tOutcome handle(const SetupPacket& setup, std::span<const std::uint8_t> data);
    // A request the device fails: it stalls, and in DFU mode enters dfuERROR
    // with `status` unless it is there already.
    tOutcome refuse(eDfuStatus status);

    eDfuState state() const { return state_; }
    const std::vector<std::uint8_t>& image() const { return image_; }
    // The last download was closed and manifested.
    bool imageComplete() const { return imageComplete_; }

private:
    bool isAllowed(std::uint8_t request) const;
    tOutcome detach();
    tOutcome download(std::uint16_t block, std::span<const std::uint8_t> data);
    tOutcome writeBlock(std::uint16_t block, std::span<const std::uint8_t> data);
    tOutcome closeDownload(std::uint16_t block);
    tOutcome getStatus(std::uint16_t wLength);
    tOutcome clearStatus();
    tOutcome abort();
    std::uint32_t pollTimeoutMs() const;

    tSettings settings_;
    eDfuState state_ = eDfuState::AppIdle;
    eDfuStatus status_ = eDfuStatus::Ok;
    std::vector<std::uint8_t> image_;
    std::uint16_t lastBlock_ = 0;
    std::uint32_t busyLeft_ = 0;
    bool manifested_ = false;
    bool imageComplete_ = false;
};

} // namespace Conduit2::Sim
