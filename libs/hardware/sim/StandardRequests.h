#pragma once

#include "sim/StudioDescriptors.h"
#include "sim/UsbDeviceModel.h"

#include <cstdint>

namespace Conduit2::Sim {

// The standard requests a host uses to enumerate and configure the device:
// GET_DESCRIPTOR, GET_STATUS, SET_ADDRESS, SET_/GET_CONFIGURATION and
// SET_/GET_INTERFACE (alternate setting 0 only). Every other standard request
// stalls.
class StandardRequests {
public:
    // A new enumeration with these descriptors; the device is unconfigured.
    void reset(DescriptorSet descriptors);

    ControlReply handle(const SetupPacket& setup);

    const DescriptorSet& descriptors() const { return descriptors_; }

private:
    ControlReply getDescriptor(const SetupPacket& setup) const;
    ControlReply getStatus(const SetupPacket& setup) const;
    ControlReply setConfiguration(const SetupPacket& setup);
    ControlReply interfaceRequest(const SetupPacket& setup) const;
    bool hasInterface(std::uint16_t number) const { return number < descriptors_.interfaceCount; }

    DescriptorSet descriptors_;
    std::uint8_t configuration_ = 0;
};

} // namespace Conduit2::Sim
