#pragma once

#include "conduit2/ControlRequest.h"
#include "conduit2/USBDeviceInfo.h"

#include <basalt/Event.h>

#include <cstdint>
#include <memory>
#include <string>

namespace Conduit2 {

// An open channel to one attached device through the driver: its identity,
// and control transfers and driver requests with a time-out. Requests may
// come from several threads at once; open and close may not overlap them.
class USBDevice {
public:
    USBDevice();
    virtual ~USBDevice();
    USBDevice(const USBDevice&) = delete;
    USBDevice& operator=(const USBDevice&) = delete;

    // Opens the device (replacing a handle already open), stores the path,
    // reads the identity (from the path when the driver does not answer) and
    // calls onOpened(). On failure the device is closed and the stored path
    // and identity keep their values. In a factory's arrival callback, the
    // first open of the offered device takes over the handle that the factory
    // opened to accept it.
    bool open(const USBDeviceOSHandle& handle);
    // Empties the path and closes the handle; the identity is kept.
    void close();

    bool isOpen() const { return isOpen_; }
    const std::u16string& path() const { return path_; }
    const USBDeviceInfo& info() const { return info_; }

    // One control transfer; 0 or an operating-system error code.
    virtual std::uint32_t controlTransfer(ControlRequest& request);

    // One driver request: see issueDriverRequest. timeoutMs 0 selects 500 ms.
    std::uint32_t deviceIoControl(std::uint32_t code, const void* input, std::uint32_t inputLength, void* output,
                                  std::uint32_t outputLength, std::uint32_t* bytesReturned,
                                  std::uint32_t timeoutMs = 0, const Basalt::Event* cancelEvent = nullptr);

    // The driver's version (asked once, then cached).
    bool readDriverVersion(std::uint32_t& version);

protected:
    // Runs after every successful open.
    virtual void onOpened() {}

private:
    class OSImpl;
    std::unique_ptr<OSImpl> osImpl_;
    bool isOpen_ = false;
    std::u16string path_;
    USBDeviceInfo info_;
};

} // namespace Conduit2
