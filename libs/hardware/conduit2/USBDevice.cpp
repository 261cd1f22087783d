#include "conduit2/USBDevice.h"

#include "conduit2/DriverRecords.h"
#include "conduit2/IdentityReaders.h"
#include "conduit2/OsErrors.h"
#include "conduit2/USBDeviceOSImpl.h"

#include <cstring>
#include <new>

namespace Conduit2 {

USBDevice::USBDevice() : osImpl_(std::make_unique<OSImpl>())
{
}

USBDevice::~USBDevice() = default;

bool USBDevice::open(const USBDeviceOSHandle& handle)
{
    if (!osImpl_->open(handle)) {
        isOpen_ = false;
        return false;
    }
    path_ = handle.devicePath;
    isOpen_ = true;
    if (!osImpl_->readIdentity(info_)) {
        parseDevicePath(path_, info_);
    }
    onOpened();
    return true;
}

void USBDevice::close()
{
    path_.clear();
    isOpen_ = false;
    osImpl_->close();
}

std::uint32_t USBDevice::controlTransfer(ControlRequest& request)
{
    request.bytesTransferred = 0;
    const UsbSetup setup{request.bmRequestType, request.bRequest, request.wValue, request.wIndex, request.wLength};
    const auto record = buildControlRecord(setup);
    auto* data = static_cast<std::uint8_t*>(request.data);
    if (data == nullptr || request.wLength == 0) {
        return deviceIoControl(DriverRequest::ControlTransfer, record.data(), ControlRecordSize, nullptr, 0, nullptr);
    }
    if (setup.isDeviceToHost()) {
        return deviceIoControl(DriverRequest::ControlTransfer, record.data(), ControlRecordSize, data,
                               request.wLength, &request.bytesTransferred);
    }
    const std::size_t size = ControlRecordSize + request.wLength;
    const std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[size]);
    if (!buffer) {
        return OsError::OutOfMemory;
    }
    std::memcpy(buffer.get(), record.data(), ControlRecordSize);
    std::memcpy(buffer.get() + ControlRecordSize, data, request.wLength);
    return deviceIoControl(DriverRequest::ControlTransfer, buffer.get(), static_cast<std::uint32_t>(size), nullptr,
                           0, nullptr);
}

std::uint32_t USBDevice::deviceIoControl(std::uint32_t code, const void* input, std::uint32_t inputLength,
                                         void* output, std::uint32_t outputLength, std::uint32_t* bytesReturned,
                                         std::uint32_t timeoutMs, const Basalt::Event* cancelEvent)
{
    const std::span in(static_cast<const std::uint8_t*>(input), input ? inputLength : 0);
    const std::span out(static_cast<std::uint8_t*>(output), output ? outputLength : 0);
    return osImpl_->request(code, in, out, bytesReturned, timeoutMs, cancelEvent);
}

bool USBDevice::readDriverVersion(std::uint32_t& version)
{
    return osImpl_->readDriverVersion(version);
}

} // namespace Conduit2
