#pragma once

#include "conduit2/DfuStatus.h"
#include "conduit2/DriverRecords.h"
#include "conduit2/USBDevice.h"

#include <basalt/Clock.h>

#include <array>
#include <chrono>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace Conduit2 {

// One DFU_DNLOAD block as the driver takes it: block number, length (0 to
// 8191) and 8192 data bytes. One buffer is reused for every block.
struct DownloadBlock {
    std::array<std::uint8_t, DownloadBlockSize> bytes{};

    void set(std::uint16_t blockNumber, const std::uint8_t* data, std::uint16_t length);
};

// A USB device that also speaks the DFU 1.1 protocol through the driver:
// its DFU attributes are read at every open; it can be detached into DFU
// mode and found again by serial number, take an image block by block with
// status polling and manifestation, and take the second image through
// vendor transfers.
class DFUDevice : public USBDevice {
public:
    // Longest time spent polling one busy block, and waiting for a
    // manifestation-tolerant device to manifest; past it the download fails
    // with errUNKNOWN, so a device that stays busy cannot hang the update.
    static constexpr std::uint32_t BusyLimitMs = 120000;
    // Longest time a whole download may take, from its first block to the end
    // of manifestation: BusyLimitMs plus one second per started KiB of image,
    // so that a device busy just under the limit on every block (or one with a
    // tiny transfer size) cannot hold the update for hours.
    static std::chrono::milliseconds downloadLimit(std::size_t length);

    std::uint8_t bInterfaceProtocol() const { return bInterfaceProtocol_; }  // 1 run-time, 2 DFU mode, 0 unread
    std::uint8_t bmAttributes() const { return bmAttributes_; }
    std::uint16_t wDetachTimeOut() const { return wDetachTimeOut_; }
    std::uint16_t wTransferSize() const { return wTransferSize_; }
    // A download block of the driver can carry blocks of wTransferSize bytes
    // (1 to 8191).
    bool hasUsableTransferSize() const { return wTransferSize_ != 0 && wTransferSize_ < DownloadBlockDataSize; }

    // Reads the DFU information record; on failure the fields keep their values.
    void readDfuInfo();
    bool openAndCheckDfu(const USBDeviceOSHandle& handle);

    bool detach();
    bool getStatus(DfuStatus& status);
    bool getState(std::uint8_t& state);
    bool abort();
    // Brings a device that is in the middle of a download (its updater was
    // ended during the write) back to dfuIDLE, where a new download may start.
    // True when the device is in dfuIDLE.
    bool returnToIdle();
    // True at once when open in run-time mode; otherwise asks the device to
    // restart into its run-time firmware.
    bool leaveDfuMode();
    // Closes the device, waits 5000 ms and opens the same physical device
    // (same serial number) in DFU mode; one enumeration pass, no retry.
    bool reconnectInDfuMode();
    // The two halves of reconnectInDfuMode, for a caller that must not block
    // for the wait: closeForReconnect() is false when the device cannot be
    // looked for in DFU mode, and sets `mustWait` when it closed the device,
    // which then needs ReconnectWait to restart before findInDfuMode(), the
    // one enumeration pass.
    static constexpr std::chrono::milliseconds ReconnectWait{5000};
    bool closeForReconnect(bool& mustWait);
    bool findInDfuMode();

    // Writes an image with DFU_DNLOAD and waits for manifestation; `status`
    // tells why it failed.
    bool download(const std::uint8_t* data, std::size_t length, DfuStatus& status);
    bool downloadBlock(DownloadBlock& block, DfuStatus& status);

    bool writeVendorImage(const std::uint8_t* data, std::size_t length, std::uint8_t selector);
    bool vendorWrite(const std::uint8_t* data, std::size_t length, ControlRequest request);
    bool readVendorValue(std::uint8_t selector, std::uint32_t& value);

    // Adds the image bytes of every accepted block and vendor transfer to
    // `counter` (null: no counting).
    void countWrittenBytes(std::atomic<std::uint32_t>* counter) { writtenBytes_ = counter; }

protected:
    void onOpened() override { readDfuInfo(); }

private:
    bool request(std::uint32_t code, const void* input, std::size_t inputLength, void* output,
                 std::size_t outputLength, std::uint32_t* received = nullptr);
    bool waitForManifestation(DfuStatus& status, std::uint8_t state);
    void watchManifestation(const USBDeviceOSHandle& handle, std::uint8_t& state);
    void countBytes(std::size_t bytes);
    // A busy wait that began at `start` has lasted too long.
    bool outOfTime(Basalt::Clock::TimePoint start) const;

    std::uint8_t bInterfaceProtocol_ = 0;
    std::uint8_t bmAttributes_ = 0;
    std::uint16_t wDetachTimeOut_ = 0;
    std::uint16_t wTransferSize_ = 0;
    std::atomic<std::uint32_t>* writtenBytes_ = nullptr;
    // The end of the download in progress; none outside a download.
    Basalt::Clock::TimePoint downloadDeadline_ = Basalt::Clock::TimePoint::max();
};

} // namespace Conduit2
