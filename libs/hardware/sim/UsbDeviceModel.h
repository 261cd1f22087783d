#pragma once

#include <basalt/Clock.h>

#include <cstdint>
#include <span>
#include <vector>

namespace Conduit2::Sim {

// One USB setup packet, as the host sends it on endpoint 0.
struct SetupPacket {
    std::uint8_t bmRequestType = 0;
    std::uint8_t bRequest = 0;
    std::uint16_t wValue = 0;
    std::uint16_t wIndex = 0;
    std::uint16_t wLength = 0;

    bool isDeviceToHost() const { return (bmRequestType & 0x80) != 0; }
};

// What a device does with one control transfer.
struct ControlReply {
    enum eKind {
        Ack,       // the status stage completes; `data` is the IN data stage
        Stall,     // the device stalls endpoint 0
        NoAnswer,  // the device never completes the transfer (the host times out)
    };

    eKind kind = Ack;
    std::vector<std::uint8_t> data;  // device to host: at most wLength bytes
    Basalt::Clock::Duration delay{}; // the answer comes this long after the request

    static ControlReply ack(std::vector<std::uint8_t> bytes = {}) { return {Ack, std::move(bytes), {}}; }
    static ControlReply stall() { return {Stall, {}, {}}; }
    static ControlReply noAnswer() { return {NoAnswer, {}, {}}; }
};

// The bus side of the port a model is plugged into. A model calls it to leave
// the bus and to come back (re-enumerate) with its current descriptors. Both
// may be called from any thread, also from inside control() and busReset().
class DevicePort {
public:
    virtual void plug() = 0;
    virtual void unplug() = 0;

protected:
    ~DevicePort() = default;
};

// A simulated USB device, seen from the bus. The bus reads the descriptors
// with standard GET_DESCRIPTOR requests when the device is plugged, exactly as
// a host enumerates a real device, and passes every other control transfer on.
// Calls may come from several threads at once; a model locks its own state.
class UsbDeviceModel {
public:
    virtual ~UsbDeviceModel() = default;

    // The port the model sits in (null when taken off the bus). The model
    // does not plug itself in: the bus plugs it after attaching.
    virtual void attach(DevicePort* port) = 0;

    // One control transfer. `hostData` is the OUT data stage (wLength bytes,
    // empty for IN transfers).
    virtual ControlReply control(const SetupPacket& setup, std::span<const std::uint8_t> hostData) = 0;

    // A USB bus reset of the device (the host's port reset).
    virtual void busReset() = 0;
};

} // namespace Conduit2::Sim
