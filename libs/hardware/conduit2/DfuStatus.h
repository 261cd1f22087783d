#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace Conduit2 {

// States and status codes of the DFU 1.1 standard that the host acts on.
namespace DfuState {
constexpr std::uint8_t AppIdle = 0;
constexpr std::uint8_t DfuIdle = 2;
constexpr std::uint8_t DnloadBusy = 4;
constexpr std::uint8_t DnloadIdle = 5;
constexpr std::uint8_t ManifestSync = 6;
constexpr std::uint8_t Manifest = 7;
constexpr std::uint8_t ManifestWaitReset = 8;
constexpr std::uint8_t Error = 10;
} // namespace DfuState

namespace DfuStatusCode {
constexpr std::uint8_t Ok = 0;
constexpr std::uint8_t ErrTarget = 1;
constexpr std::uint8_t ErrWrite = 3;
constexpr std::uint8_t ErrUnknown = 14;
} // namespace DfuStatusCode

// The DFU_GETSTATUS answer.
struct DfuStatus {
    std::uint8_t bStatus = 0;
    std::uint32_t bwPollTimeout = 0;  // 24 bits, milliseconds
    std::uint8_t bState = 0;
    std::uint8_t iString = 0;

    static DfuStatus parse(const std::array<std::uint8_t, 6>& bytes)
    {
        return {bytes[0],
                static_cast<std::uint32_t>(bytes[1]) | static_cast<std::uint32_t>(bytes[2]) << 8
                    | static_cast<std::uint32_t>(bytes[3]) << 16,
                bytes[4], bytes[5]};
    }
};

// The names the DFU 1.1 standard gives its states ("dfuERROR") and statuses
// ("errSTALLEDPKT"), indexed by their values.
inline constexpr std::array<std::string_view, 11> DfuStateNames{
    "appIDLE",          "appDETACH",   "dfuIDLE",  "dfuDNLOAD-SYNC", "dfuDNBUSY", "dfuDNLOAD-IDLE",
    "dfuMANIFEST-SYNC", "dfuMANIFEST", "dfuMANIFEST-WAIT-RESET", "dfuUPLOAD-IDLE", "dfuERROR"};
inline constexpr std::array<std::string_view, 16> DfuStatusNames{
    "OK",      "errTARGET",  "errFILE",     "errWRITE", "errERASE", "errCHECK_ERASED", "errPROG",    "errVERIFY",
    "errADDRESS", "errNOTDONE", "errFIRMWARE", "errVENDOR", "errUSBR", "errPOR",         "errUNKNOWN", "errSTALLEDPKT"};

// Those names; a value the standard does not define is named by its number.
std::string dfuStateName(std::uint8_t state);
std::string dfuStatusName(std::uint8_t status);

} // namespace Conduit2
