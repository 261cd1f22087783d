#pragma once

#include <sim/UsbDeviceModel.h>

#include <umockdev.h>

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>

namespace UsbEmulation {

struct UrbSlot;

// The usbfs side of one device node: the ioctls a libusb client sends to
// /dev/bus/usb/BBB/DDD, answered from a device model. Control URBs go to the
// model and wait in the client's queue until reaped; a stall completes with
// -EPIPE, a transfer the device never answers stays pending until discarded.
// As the kernel does for a device that has left the bus, a disconnected node
// gives back its pending URBs with -ESHUTDOWN, lets them be reaped, and
// answers everything else (and a reap with nothing left) with ENODEV.
//
// The node file is a FIFO kept full while nothing waits to be reaped, so a
// client's poll() for POLLOUT blocks until a URB completes.
class UsbfsNode : public std::enable_shared_from_this<UsbfsNode> {
public:
    UsbfsNode(std::shared_ptr<Conduit2::Sim::UsbDeviceModel> model, const std::string& fifoPath);
    ~UsbfsNode();
    UsbfsNode(const UsbfsNode&) = delete;
    UsbfsNode& operator=(const UsbfsNode&) = delete;

    // Connects the node's handlers to `handler`; the node must outlive it.
    void serve(UMockdevIoctlBase* handler);
    void disconnect();
    std::size_t controlTransfers() const;

private:
    using Client = UMockdevIoctlClient*;

    static gboolean onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self);
    static void onVanished(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self);

    void handle(Client client, unsigned long request);
    void submit(Client client);
    void answer(const std::shared_ptr<UrbSlot>& urb);
    void reap(Client client);
    void discard(Client client);
    void answerCapabilities(Client client);
    void resetDevice(Client client);
    void finish(const std::shared_ptr<UrbSlot>& urb, int status, std::span<const std::uint8_t> data);
    void finishLocked(UrbSlot& urb, int status, std::span<const std::uint8_t> data);
    void forget(Client client);
    void updateFifoLocked();

    const std::shared_ptr<Conduit2::Sim::UsbDeviceModel> model_;
    int fifo_ = -1;
    mutable std::mutex lock_;
    bool connected_ = true;
    bool fifoFull_ = false;
    std::size_t reapable_ = 0;
    std::size_t controlTransfers_ = 0;
    std::map<Client, std::deque<std::shared_ptr<UrbSlot>>> urbs_;
};

} // namespace UsbEmulation
