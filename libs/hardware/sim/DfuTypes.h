#pragma once

#include <cstdint>

namespace Conduit2::Sim {

// The DFU class requests (bRequest) of the DFU 1.1 standard.
enum eDfuRequest : std::uint8_t {
    DfuDetach = 0,
    DfuDnload = 1,
    DfuUpload = 2,
    DfuGetStatus = 3,
    DfuClrStatus = 4,
    DfuGetState = 5,
    DfuAbort = 6,
};

// bState of a DFU_GETSTATUS or DFU_GETSTATE answer.
enum class eDfuState : std::uint8_t {
    AppIdle = 0,
    AppDetach = 1,
    DfuIdle = 2,
    DnloadSync = 3,
    DnBusy = 4,
    DnloadIdle = 5,
    ManifestSync = 6,
    Manifest = 7,
    ManifestWaitReset = 8,
    UploadIdle = 9,
    Error = 10,
};

// bStatus of a DFU_GETSTATUS answer.
enum class eDfuStatus : std::uint8_t {
    Ok = 0x00,
    ErrTarget = 0x01,
    ErrFile = 0x02,
    ErrWrite = 0x03,
    ErrErase = 0x04,
    ErrCheckErased = 0x05,
    ErrProg = 0x06,
    ErrVerify = 0x07,
    ErrAddress = 0x08,
    ErrNotDone = 0x09,
    ErrFirmware = 0x0A,
    ErrVendor = 0x0B,
    ErrUsbReset = 0x0C,
    ErrPowerOnReset = 0x0D,
    ErrUnknown = 0x0E,
    ErrStalledPkt = 0x0F,
};

// bmAttributes bits of the DFU functional descriptor. The device has no
// upload, so bitCanUpload is not honoured: DFU_UPLOAD always stalls.
constexpr std::uint8_t DfuCanDownload = 0x01;
constexpr std::uint8_t DfuManifestationTolerant = 0x04;
constexpr std::uint8_t DfuWillDetach = 0x08;

} // namespace Conduit2::Sim
