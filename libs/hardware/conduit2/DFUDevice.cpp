#include "conduit2/DFUDevice.h"

#include "conduit2/DeviceCatalogue.h"
#include "conduit2/HardwareLog.h"
#include "conduit2/IdentityReaders.h"
#include "conduit2/OsErrors.h"
#include "conduit2/USBDeviceFactory.h"

#include <basalt/Clock.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace Conduit2 {
namespace {

// The wait a device asks for before its next DFU_GETSTATUS, kept between
// 1 ms (a bwPollTimeout of 0 would have the host poll back to back and burn
// a core) and 1 s (a device that asks for more is still looked at).
void waitBeforePolling(const DfuStatus& status)
{
    Basalt::clock().sleepFor(std::chrono::milliseconds(std::clamp<std::uint32_t>(status.bwPollTimeout, 1, 1000)));
}

using namespace std::chrono_literals;

constexpr std::uint8_t ManifestationTolerant = 0x04;
constexpr std::size_t VendorChunkSize = 256;
constexpr auto BusyLimit = std::chrono::milliseconds(DFUDevice::BusyLimitMs);

} // namespace

void DownloadBlock::set(std::uint16_t blockNumber, const std::uint8_t* data, std::uint16_t length)
{
    writeLe16(&bytes[0], blockNumber);
    writeLe16(&bytes[2], length);
    if (length != 0) {
        std::memcpy(&bytes[4], data, length);
    }
}

bool DFUDevice::request(std::uint32_t code, const void* input, std::size_t inputLength, void* output,
                        std::size_t outputLength, std::uint32_t* received)
{
    return deviceIoControl(code, input, static_cast<std::uint32_t>(inputLength), output,
                           static_cast<std::uint32_t>(outputLength), received)
        == OsError::Success;
}

void DFUDevice::readDfuInfo()
{
    std::array<std::uint8_t, DfuInfoSize> record{};
    std::uint32_t received = 0;
    if (!request(DriverRequest::DfuInfo, nullptr, 0, record.data(), record.size(), &received)
        || received < record.size()) {
        return;
    }
    const DfuInfo info = parseDfuInfo(record);
    bInterfaceProtocol_ = info.bInterfaceProtocol;
    bmAttributes_ = info.bmAttributes;
    wDetachTimeOut_ = info.wDetachTimeOut;
    wTransferSize_ = info.wTransferSize;
}

bool DFUDevice::openAndCheckDfu(const USBDeviceOSHandle& handle)
{
    return open(handle) && bInterfaceProtocol_ != 0;
}

bool DFUDevice::detach()
{
    return request(DriverRequest::DfuDetach, nullptr, 0, nullptr, 0);
}

bool DFUDevice::getStatus(DfuStatus& status)
{
    std::array<std::uint8_t, 6> answer{};
    std::uint32_t received = 0;
    if (!request(DriverRequest::DfuGetStatus, nullptr, 0, answer.data(), answer.size(), &received)
        || received < answer.size()) {
        return false;
    }
    status = DfuStatus::parse(answer);
    return true;
}

bool DFUDevice::getState(std::uint8_t& state)
{
    std::uint8_t answer = 0;
    std::uint32_t received = 0;
    if (!request(DriverRequest::DfuGetState, nullptr, 0, &answer, 1, &received) || received < 1) {
        return false;
    }
    state = answer;
    return true;
}

bool DFUDevice::abort()
{
    return request(DriverRequest::DfuAbort, nullptr, 0, nullptr, 0);
}

// A download left unfinished refuses a new block 0. DFU_GETSTATUS, the one
// request that dfuDNLOAD-SYNC and dfuDNBUSY accept, finishes a block in
// progress; DFU_ABORT then ends the download. What was written stays until
// it is rewritten.
bool DFUDevice::returnToIdle()
{
    DfuStatus status;
    if (!getStatus(status)) {
        return false;
    }
    const auto start = Basalt::clock().now();
    while (status.bState == DfuState::DnloadBusy) {
        if (Basalt::clock().now() - start >= BusyLimit) {
            return false;
        }
        waitBeforePolling(status);
        if (!getStatus(status)) {
            return false;
        }
    }
    std::uint8_t state = status.bState;
    if (state == DfuState::DnloadIdle && !(abort() && getState(state))) {
        return false;
    }
    return state == DfuState::DfuIdle;
}

bool DFUDevice::leaveDfuMode()
{
    if (isOpen() && bInterfaceProtocol_ == 1) {
        return true;
    }
    return request(DriverRequest::DfuLeave, nullptr, 0, nullptr, 0);
}

bool DFUDevice::reconnectInDfuMode()
{
    bool mustWait = false;
    if (!closeForReconnect(mustWait)) {
        return false;
    }
    if (mustWait) {
        Basalt::clock().sleepFor(ReconnectWait);
    }
    return findInDfuMode();
}

bool DFUDevice::closeForReconnect(bool& mustWait)
{
    mustWait = false;
    if (isOpen() && bInterfaceProtocol_ == 2) {
        return true;
    }
    const auto runTimeProduct = static_cast<std::uint16_t>(info().productId & 0xFFF0);
    if (!findInterface(info().vendorId, runTimeProduct, VendorDriver)) {
        return false;
    }
    if (isOpen()) {
        close();
        mustWait = true;
    }
    return true;
}

bool DFUDevice::findInDfuMode()
{
    if (isOpen() && bInterfaceProtocol_ == 2) {
        return true;
    }
    const auto runTimeProduct = static_cast<std::uint16_t>(info().productId & 0xFFF0);
    const USBDeviceFilter* found = findInterface(info().vendorId, runTimeProduct, VendorDriver);
    if (!found) {
        return false;
    }
    const std::string serial = info().serialNumber;
    USBDeviceFilter filter = *found;
    filter.productId = static_cast<std::uint16_t>((runTimeProduct & 0xFFF2) | 2);

    USBDeviceFactory factory;
    factory.setCallbacks(
        [&](const USBDeviceOSHandle& handle, const USBDeviceFilter& offered) {
            if (isOpen()) {
                return;
            }
            USBDeviceInfo arriving;
            if (!serial.empty()
                && (!readIdentity(handle.devicePath, offered, arriving, true) || arriving.serialNumber != serial)) {
                return;
            }
            open(handle);
        },
        nullptr);
    factory.scan(filter, false);
    factory.reset();
    return isOpen();
}

bool DFUDevice::downloadBlock(DownloadBlock& block, DfuStatus& status)
{
    if (!request(DriverRequest::DfuDownload, block.bytes.data(), block.bytes.size(), nullptr, 0)) {
        return false;
    }
    const auto start = Basalt::clock().now();
    for (;;) {
        if (!getStatus(status) || status.bStatus != DfuStatusCode::Ok) {
            return false;
        }
        if (status.bState != DfuState::DnloadBusy) {
            return status.bState == DfuState::DnloadIdle;
        }
        if (outOfTime(start)) {
            status.bStatus = DfuStatusCode::ErrUnknown;
            return false;
        }
        waitBeforePolling(status);
    }
}

std::chrono::milliseconds DFUDevice::downloadLimit(std::size_t length)
{
    return BusyLimit + std::chrono::seconds((length + 1023) / 1024);
}

bool DFUDevice::outOfTime(Basalt::Clock::TimePoint start) const
{
    const auto now = Basalt::clock().now();
    return now - start >= BusyLimit || now >= downloadDeadline_;
}

bool DFUDevice::download(const std::uint8_t* data, std::size_t length, DfuStatus& status)
{
    downloadDeadline_ = Basalt::clock().now() + downloadLimit(length);
    struct EndOfDownload {
        Basalt::Clock::TimePoint& deadline;
        ~EndOfDownload() { deadline = Basalt::Clock::TimePoint::max(); }
    } endOfDownload{downloadDeadline_};
    status = {};
    if (data == nullptr || length == 0) {
        status.bStatus = DfuStatusCode::ErrTarget;
        return false;
    }
    if (bInterfaceProtocol_ != 2) {
        status.bStatus = DfuStatusCode::ErrWrite;
        return false;
    }
    if (!hasUsableTransferSize()) {
        status.bStatus = DfuStatusCode::ErrUnknown;
        if (shouldLog(2, "DFUDevice")) {
            logMessage(2, "%s: Unsupported wTransferSize (%d)\n", "DFUDevice", static_cast<int>(wTransferSize_));
        }
        return false;
    }
    const std::size_t blocks = length / wTransferSize_;
    const auto rest = static_cast<std::uint16_t>(length % wTransferSize_);
    DownloadBlock block;
    for (std::size_t i = 0; i < blocks; ++i) {
        block.set(static_cast<std::uint16_t>(i), data + i * wTransferSize_, wTransferSize_);
        if (!downloadBlock(block, status)) {
            return false;
        }
        countBytes(wTransferSize_);
    }
    const auto closingNumber = static_cast<std::uint16_t>(blocks);
    if (rest > 0) {
        block.set(closingNumber, data + blocks * wTransferSize_, rest);
        if (!downloadBlock(block, status)) {
            return false;
        }
        countBytes(rest);
    }
    // The closing block repeats the number of a short last block.
    block.set(closingNumber, nullptr, 0);
    if (!request(DriverRequest::DfuDownload, block.bytes.data(), block.bytes.size(), nullptr, 0)) {
        status.bStatus = DfuStatusCode::ErrUnknown;
        return false;
    }
    std::uint8_t state = DfuState::Error;
    getState(state);
    return waitForManifestation(status, state);
}

// Follows the device from the closing block to the end of manifestation. A
// tolerant device is asked for its state every millisecond (at most
// BusyLimitMs, and not past the download's deadline); one that is not tolerant is watched for until it comes back
// in run-time mode with the same serial number, within wDetachTimeOut.
bool DFUDevice::waitForManifestation(DfuStatus& status, std::uint8_t state)
{
    const bool tolerant = (bmAttributes_ & ManifestationTolerant) != 0;
    const auto interval = tolerant ? 1ms : 10ms;
    const auto start = Basalt::clock().now();
    std::chrono::milliseconds elapsed{0};
    USBDeviceFactory factory;
    factory.setCallbacks([&](const USBDeviceOSHandle& handle, const USBDeviceFilter&) { watchManifestation(handle, state); },
                         nullptr);
    while (status.bStatus == DfuStatusCode::Ok) {
        switch (state) {
        case DfuState::AppIdle:
        case DfuState::ManifestWaitReset:
            status.bState = state;
            return true;
        case DfuState::DfuIdle:
            return getStatus(status) && status.bStatus == DfuStatusCode::Ok;
        case DfuState::ManifestSync:
            if (getStatus(status) && status.bStatus != DfuStatusCode::Ok) {
                return false;
            }
            state = DfuState::Manifest;
            break;
        case DfuState::Manifest:
            Basalt::clock().sleepFor(interval);
            if (tolerant) {
                if (!getState(state) || outOfTime(start)) {
                    status.bStatus = DfuStatusCode::ErrUnknown;
                }
            } else if (elapsed > std::chrono::milliseconds(wDetachTimeOut_)) {
                status.bStatus = DfuStatusCode::ErrUnknown;
            } else if (const USBDeviceFilter* filter =
                           findInterfaceByProduct(static_cast<std::uint16_t>(info().productId & 0xFFF0), VendorDriver)) {
                factory.scan(*filter, false);
                factory.reset();
            }
            elapsed += interval;
            break;
        default:
            status.bStatus = DfuStatusCode::ErrUnknown;
            break;
        }
    }
    return false;
}

// A device that comes back during manifestation is this one when it runs
// the run-time firmware with our serial number: reopen it there.
void DFUDevice::watchManifestation(const USBDeviceOSHandle& handle, std::uint8_t& state)
{
    USBDeviceInfo arriving;
    const USBDeviceFilter generic{GenericUSB, UsbGuidMagic, "", 0, 0};
    if (!readIdentity(handle.devicePath, generic, arriving, true)
        || arriving.productId != (info().productId & 0xFFF0) || arriving.serialNumber != info().serialNumber) {
        return;
    }
    close();
    open(handle);
    state = DfuState::ManifestWaitReset;
}

bool DFUDevice::vendorWrite(const std::uint8_t* data, std::size_t length, ControlRequest request)
{
    const std::size_t chunks = length / VendorChunkSize;
    if (data == nullptr || length == 0 || bInterfaceProtocol_ != 2 || request.wValue + chunks > 0xFFFF) {
        return false;
    }
    request.wLength = VendorChunkSize;
    request.data = const_cast<std::uint8_t*>(data);  // host to device: only read
    while (request.wValue < chunks) {
        if (controlTransfer(request) != OsError::Success) {
            return false;
        }
        countBytes(VendorChunkSize);
        request.data = static_cast<std::uint8_t*>(request.data) + VendorChunkSize;
        ++request.wValue;
    }
    request.wLength = static_cast<std::uint16_t>(length % VendorChunkSize);
    if (controlTransfer(request) != OsError::Success) {
        return false;
    }
    countBytes(request.wLength);
    return true;
}

bool DFUDevice::writeVendorImage(const std::uint8_t* data, std::size_t length, std::uint8_t selector)
{
    return vendorWrite(data, length, {0x41, static_cast<std::uint8_t>(0x1C + selector), 0, 0, 0, nullptr, 0});
}

bool DFUDevice::readVendorValue(std::uint8_t selector, std::uint32_t& value)
{
    std::uint8_t answer[2] = {};
    ControlRequest request{0xC0, 0xB3, 0, static_cast<std::uint16_t>(0x1C + selector), 2, answer, 0};
    if (controlTransfer(request) != OsError::Success || request.bytesTransferred < 2) {
        return false;
    }
    value = answer[0] + 256u * answer[1];
    return true;
}

void DFUDevice::countBytes(std::size_t bytes)
{
    if (writtenBytes_) {
        writtenBytes_->fetch_add(static_cast<std::uint32_t>(bytes));
    }
}

} // namespace Conduit2
