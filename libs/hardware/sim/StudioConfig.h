#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Conduit2::Sim {

// Off: the device has left the bus (detaching, booting, or pulled out).
enum class eStudioMode { Off, RunTime, Dfu };

// A control request picked out by its request type and number, and by its
// wValue (a block or chunk number) when one is given.
struct RequestMatch {
    std::uint8_t bmRequestType = 0;
    std::uint8_t bRequest = 0;
    std::optional<std::uint16_t> wValue;
};

// DFU_DNLOAD of one block of image A.
inline RequestMatch dfuDownloadBlock(std::uint16_t block)
{
    return {0x21, 1, block};
}

// Where a fault strikes.
enum class eFaultPoint {
    Request,        // a control request that the fault's RequestMatch picks out
    Manifestation,  // any control request while the device is in dfuMANIFEST
    LeavingDfuMode, // the bus reset that makes the device leave DFU mode
};

// What the device does there.
enum class eFaultKind {
    Unplug, // leaves the bus without completing the request, and stays off until replug()
    Hang,   // completes no request from this one on, takes no reset and stops its own
            // steps (manifestation, boot), until replug()
    Lose,   // this one request is never completed (a reset goes unnoticed); the device goes on
    Stall,  // stalls the request; a DFU request in DFU mode also enters dfuERROR, with
            // errWRITE for a block. A reset has no handshake to stall: no effect there.
};

// One fault, struck at the n-th time its point is reached (requests it
// matches, or resets), counted from 1 while the device is on the bus.
struct Fault {
    eFaultKind kind = eFaultKind::Stall;
    eFaultPoint point = eFaultPoint::Request;
    RequestMatch request;
    std::uint32_t occurrence = 1;
    bool repeats = false; // also strikes every time after the n-th
};

constexpr std::size_t StudioImageARoom = 60416;
constexpr std::size_t StudioImageBRoom = 15360;

// How a simulated Trovix Studio behaves. The defaults are a healthy device
// running release 32 that an update is offered for.
struct StudioConfig {
    std::string serialNumber = "TVS0012345";
    std::uint16_t installedRelease = 32;
    std::uint16_t secondaryRevision = 0x65;
    // Found already in DFU mode, as after an interrupted update.
    bool startsInDfuMode = false;

    // The DFU functional descriptor: can download, manifestation tolerant, will detach.
    std::uint8_t dfuAttributes = 0x0D;
    std::uint16_t detachTimeOutMs = 1000;
    std::uint16_t transferSize = 4096;

    // Once the device has been in DFU mode, its boot loader starts the
    // run-time firmware only when the flash holds exactly these images (both
    // non-empty); that firmware reports the updated release and revision.
    std::vector<std::uint8_t> expectedImageA;
    std::vector<std::uint8_t> expectedImageB;
    std::uint16_t updatedRelease = 33;
    std::uint16_t updatedSecondaryRevision = 0x67;

    // dfuDNBUSY answers to DFU_GETSTATUS after each block, with their bwPollTimeout.
    std::uint32_t busyAnswersPerBlock = 1;
    std::uint32_t busyPollTimeoutMs = 10;
    // Also the bwPollTimeout of the dfuMANIFEST answer.
    std::chrono::milliseconds manifestationTime{50};
    // Each chunk of image B is acknowledged this long after its request.
    std::chrono::milliseconds imageBChunkTime{0};
    // The closing block leads straight to dfuMANIFEST-WAIT-RESET.
    bool waitResetAfterClosingBlock = false;

    // Bus timing: leaving the bus after a detach, re-enumerating in DFU mode,
    // booting after a reset or a replug.
    std::chrono::milliseconds detachDropDelay{5};
    std::chrono::milliseconds reenumerationDelay{300};
    std::chrono::milliseconds bootDelay{1000};

    // Faults.
    bool ignoreDetach = false;   // DETACH is acknowledged, nothing happens
    std::string serialInDfuMode; // not empty: the serial number in DFU mode
    bool neverReturns = false;   // stays off the bus after a detach or a reset
    std::vector<Fault> faults;
};

} // namespace Conduit2::Sim
