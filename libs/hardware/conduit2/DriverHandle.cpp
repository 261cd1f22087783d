#include "conduit2/DriverHandle.h"

#include "conduit2/OsErrors.h"

#include <basalt/Clock.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace Conduit2 {
namespace {

using namespace std::chrono_literals;

// Requests the driver carries out by itself wait this long for each transfer.
constexpr auto InternalTimeout = 500ms;

constexpr std::uint8_t DfuDetachRequest = 0;
constexpr std::uint8_t DfuDownloadRequest = 1;
constexpr std::uint8_t DfuGetStatusRequest = 3;
constexpr std::uint8_t DfuGetStateRequest = 5;
constexpr std::uint8_t DfuAbortRequest = 6;
constexpr std::uint8_t WillDetach = 0x08;

// The driver's own version record.
constexpr std::array<std::uint8_t, 12> DriverVersionRecord{0, 0, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0};

bool hasHidInterface(const UsbBusDevice& device)
{
    return std::ranges::any_of(device.interfaces,
                               [](const UsbInterfaceInfo& i) { return i.interfaceClass == HidInterfaceClass; });
}

} // namespace

DriverHandle::DriverHandle(UsbBusDevice device, std::unique_ptr<UsbPort> port)
    : device_(std::move(device)), port_(std::move(port)), dfuInterface_(findDfuInterface(device_))
{
    if (dfuInterface_) {
        dfuFunctional_ = findDfuFunctional(dfuInterface_->extra);
    }
}

DriverHandle::~DriverHandle() = default;

std::uint32_t DriverHandle::ioControl(std::uint32_t code, std::span<const std::uint8_t> input,
                                      std::span<std::uint8_t> output, DriverIoRecord& record)
{
    record.event.reset();
    record.bytes = 0;
    switch (code) {
    case DriverRequest::Descriptor: {
        const auto length = static_cast<std::uint16_t>(std::min<std::size_t>(output.size(), 0xFFFF));
        const auto setup = parseDescriptorRequest(input, length);
        return setup ? startTransfer(*setup, {}, output.first(length), record) : OsError::InvalidParameter;
    }
    case DriverRequest::ControlTransfer: {
        const auto setup = parseControlRecord(input);
        if (!setup) {
            return OsError::InvalidParameter;
        }
        if (setup->isDeviceToHost()) {
            return output.size() < setup->wLength
                     ? OsError::InvalidParameter
                     : startTransfer(*setup, {}, output.first(setup->wLength), record);
        }
        return input.size() != ControlRecordSize + setup->wLength
                 ? OsError::InvalidParameter
                 : startTransfer(*setup, input.subspan(ControlRecordSize), {}, record);
    }
    case DriverRequest::DriverVersion: {
        const std::size_t n = std::min(output.size(), DriverVersionRecord.size());
        std::copy_n(DriverVersionRecord.begin(), n, output.begin());
        return complete(record, OsError::Success, n);
    }
    case DriverRequest::DfuInfo:
    case DriverRequest::DfuDetach:
    case DriverRequest::DfuDownload:
    case DriverRequest::DfuGetStatus:
    case DriverRequest::DfuGetState:
    case DriverRequest::DfuAbort:
    case DriverRequest::DfuLeave:
        return dfuRequest(code, input, output, record);
    case DriverRequest::HidAttributes:
    case DriverRequest::HidManufacturerString:
    case DriverRequest::HidProductString:
    case DriverRequest::HidSerialNumberString:
        return hidRequest(code, output, record);
    default:
        return OsError::InvalidFunction;
    }
}

bool DriverHandle::cancel(DriverIoRecord& record)
{
    return record.transferOwner != this || !record.transfer || record.transfer->cancel();
}

std::uint32_t DriverHandle::complete(DriverIoRecord& record, std::uint32_t status, std::size_t bytes)
{
    record.status = status;
    record.bytes = bytes;
    record.event.set();
    return status;
}

std::uint32_t DriverHandle::startTransfer(const UsbSetup& setup, std::span<const std::uint8_t> outData,
                                          std::span<std::uint8_t> inData, DriverIoRecord& record)
{
    if (const std::uint32_t claim = claimFor(setup); claim != OsError::Success) {
        return claim;
    }
    if (record.transferOwner != this || !record.transfer) {
        record.transfer = port_->createTransfer();
        record.transferOwner = this;
    }
    std::uint8_t* data = inData.data();
    if (!setup.isDeviceToHost()) {
        record.buffer.assign(outData.begin(), outData.end());
        data = record.buffer.data();
    }
    const std::uint32_t started = record.transfer->submit(setup, data, [&record](std::uint32_t status, std::size_t n) {
        complete(record, status, n);
    });
    if (started != OsError::Success) {
        return started;
    }
    return record.event.isSet() ? record.status : OsError::IoPending;
}

std::uint32_t DriverHandle::transferNow(const UsbSetup& setup, std::span<std::uint8_t> inData, std::size_t* bytes)
{
    DriverIoRecord record;
    std::uint32_t status = startTransfer(setup, {}, inData, record);
    if (status == OsError::IoPending) {
        if (Basalt::clock().waitFor(record.event, nullptr, InternalTimeout) == Basalt::Clock::TimedOut) {
            record.transfer->cancel();
            return OsError::Timeout;
        }
        status = record.status;
    }
    if (bytes) {
        *bytes = record.bytes;
    }
    return status;
}

std::uint32_t DriverHandle::claimFor(const UsbSetup& setup)
{
    constexpr std::uint8_t InterfaceRecipient = 1;
    if ((setup.bmRequestType & 0x1F) != InterfaceRecipient) {
        return OsError::Success;
    }
    return port_->claimInterface(static_cast<std::uint8_t>(setup.wIndex & 0xFF));
}

std::uint32_t DriverHandle::dfuRequest(std::uint32_t code, std::span<const std::uint8_t> input,
                                       std::span<std::uint8_t> output, DriverIoRecord& record)
{
    if (!dfuInterface_ || !dfuFunctional_) {
        return OsError::GeneralFailure;
    }
    const std::uint16_t interface = dfuInterface_->number;
    switch (code) {
    case DriverRequest::DfuInfo: {
        if (output.size() < DfuInfoSize) {
            return OsError::InvalidParameter;
        }
        const auto info = buildDfuInfo({dfuInterface_->protocol, dfuFunctional_->bmAttributes,
                                        dfuFunctional_->wDetachTimeOut, dfuFunctional_->wTransferSize});
        std::ranges::copy(info, output.begin());
        return complete(record, OsError::Success, info.size());
    }
    case DriverRequest::DfuDetach:
        return complete(record, detach(), 0);
    case DriverRequest::DfuDownload: {
        const auto block = parseDownloadBlock(input);
        if (!block) {
            return OsError::InvalidParameter;
        }
        const UsbSetup setup{0x21, DfuDownloadRequest, block->wBlockNum, interface,
                             static_cast<std::uint16_t>(block->data.size())};
        return startTransfer(setup, block->data, {}, record);
    }
    case DriverRequest::DfuGetStatus:
    case DriverRequest::DfuGetState: {
        const bool status = code == DriverRequest::DfuGetStatus;
        const std::uint16_t length = status ? 6 : 1;
        if (output.size() < length) {
            return OsError::InvalidParameter;
        }
        const UsbSetup setup{0xA1, status ? DfuGetStatusRequest : DfuGetStateRequest, 0, interface, length};
        return startTransfer(setup, {}, output.first(length), record);
    }
    case DriverRequest::DfuAbort:
        return startTransfer({0x21, DfuAbortRequest, 0, interface, 0}, {}, {}, record);
    default:
        return complete(record, port_->reset(), 0);
    }
}

// DFU_DETACH, followed by a port reset when the device does not detach by
// itself, as the DFU 1.1 standard asks of hosts.
std::uint32_t DriverHandle::detach()
{
    const UsbSetup setup{0x21, DfuDetachRequest, dfuFunctional_->wDetachTimeOut, dfuInterface_->number, 0};
    std::uint32_t status = transferNow(setup, {}, nullptr);
    if (status == OsError::Success && (dfuFunctional_->bmAttributes & WillDetach) == 0) {
        status = port_->reset();
    }
    return status;
}

std::uint32_t DriverHandle::hidRequest(std::uint32_t code, std::span<std::uint8_t> output, DriverIoRecord& record)
{
    if (!hasHidInterface(device_)) {
        return OsError::InvalidFunction;
    }
    if (code == DriverRequest::HidAttributes) {
        std::array<std::uint8_t, 12> attributes{12};
        writeLe16(&attributes[4], device_.vendorId);
        writeLe16(&attributes[6], device_.productId);
        writeLe16(&attributes[8], device_.bcdDevice);
        const std::size_t n = std::min(output.size(), attributes.size());
        std::copy_n(attributes.begin(), n, output.begin());
        return complete(record, OsError::Success, n);
    }
    std::array<std::uint8_t, 18> descriptor{};
    std::uint32_t status = transferNow({0x80, 6, 0x0100, 0, 18}, descriptor, nullptr);
    const auto parsed = parseDeviceDescriptor(descriptor);
    if (status != OsError::Success || !parsed) {
        return status != OsError::Success ? status : OsError::IoError;
    }
    const std::uint8_t index = code == DriverRequest::HidManufacturerString ? parsed->iManufacturer
                             : code == DriverRequest::HidProductString      ? parsed->iProduct
                                                                             : parsed->iSerialNumber;
    std::array<std::uint8_t, 258> text{};
    std::size_t received = 0;
    status = index == 0 ? OsError::InvalidParameter
                        : transferNow({0x80, 6, static_cast<std::uint16_t>(0x0300 | index), 0x0409, 258}, text, &received);
    if (status != OsError::Success) {
        return status;
    }
    // The text without the descriptor header, ending in a zero unit.
    const std::size_t length = std::min({received, static_cast<std::size_t>(text[0])}) & ~std::size_t{1};
    const std::size_t n = std::min(length >= 2 ? length - 2 : 0, output.size() >= 2 ? output.size() - 2 : 0);
    std::copy_n(text.begin() + 2, n, output.begin());
    std::fill_n(output.begin() + static_cast<std::ptrdiff_t>(n), std::min<std::size_t>(2, output.size() - n), 0);
    return complete(record, OsError::Success, n + 2);
}

} // namespace Conduit2
