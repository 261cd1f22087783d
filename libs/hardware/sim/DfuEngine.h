#pragma once

#include "sim/DfuTypes.h"
#include "sim/UsbDeviceModel.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
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

    // What the state machine holds between two requests, with the image.
    struct tMemory {
        eDfuState state = eDfuState::AppIdle;
        eDfuStatus status = eDfuStatus::Ok;
        std::vector<std::uint8_t> image;
        std::uint16_t lastBlock = 0;
        std::uint32_t busyLeft = 0;
        bool manifested = false;
        bool imageComplete = false;

        bool operator==(const tMemory&) const = default;
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

    eDfuState state() const { return memory_.state; }
    const std::vector<std::uint8_t>& image() const { return memory_.image; }
    // The last download was closed and manifested.
    bool imageComplete() const { return memory_.imageComplete; }

    const tMemory& memory() const { return memory_; }
    void restore(tMemory saved) { memory_ = std::move(saved); }

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
    tMemory memory_;
};

} // namespace Conduit2::Sim
