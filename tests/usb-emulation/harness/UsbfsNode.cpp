#include "UsbfsNode.h"

#include <basalt/Clock.h>

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace UsbEmulation {

using Conduit2::Sim::ControlReply;
using Conduit2::Sim::SetupPacket;

constexpr std::size_t SetupSize = 8;

// One submitted URB: the client's URB and its buffer, as umockdev mirrors them.
struct UrbSlot {
    UrbSlot(UMockdevIoctlClient* owner, UMockdevIoctlData* urbData, UMockdevIoctlData* bufferData)
        : client(owner), urb(urbData), buffer(bufferData)
    {
    }
    ~UrbSlot()
    {
        g_object_unref(buffer);
        g_object_unref(urb);
    }
    UrbSlot(const UrbSlot&) = delete;
    UrbSlot& operator=(const UrbSlot&) = delete;

    usbdevfs_urb& fields() const { return *reinterpret_cast<usbdevfs_urb*>(urb->data); }

    UMockdevIoctlClient* const client;
    UMockdevIoctlData* const urb;
    UMockdevIoctlData* const buffer;
    bool answering = false; // the model has it
    bool done = false;
};

namespace {

UMockdevIoctlData* resolve(UMockdevIoctlData* data, std::size_t offset, std::size_t length)
{
    GError* error = nullptr;
    UMockdevIoctlData* resolved = umockdev_ioctl_data_resolve(data, offset, length, &error);
    g_clear_error(&error);
    return resolved;
}

unsigned long argumentValue(UMockdevIoctlClient* client)
{
    unsigned long value = 0;
    const UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    std::memcpy(&value, arg->data, std::min<std::size_t>(sizeof value, static_cast<std::size_t>(arg->data_len)));
    return value;
}

SetupPacket setupOf(const std::uint8_t* bytes)
{
    return {bytes[0], bytes[1], static_cast<std::uint16_t>(bytes[2] | bytes[3] << 8),
            static_cast<std::uint16_t>(bytes[4] | bytes[5] << 8), static_cast<std::uint16_t>(bytes[6] | bytes[7] << 8)};
}

} // namespace

UsbfsNode::UsbfsNode(std::shared_ptr<Conduit2::Sim::UsbDeviceModel> model, const std::string& fifoPath)
    : model_(std::move(model)), fifo_(::open(fifoPath.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC))
{
    std::lock_guard guard(lock_);
    updateFifoLocked();
}

UsbfsNode::~UsbfsNode()
{
    if (fifo_ >= 0) {
        ::close(fifo_);
    }
}

void UsbfsNode::serve(UMockdevIoctlBase* handler)
{
    g_signal_connect(handler, "handle-ioctl", G_CALLBACK(&UsbfsNode::onIoctl), this);
    g_signal_connect(handler, "client-vanished", G_CALLBACK(&UsbfsNode::onVanished), this);
}

// The host controller gives back with -ESHUTDOWN every pending URB that the
// model is not answering at this moment.
void UsbfsNode::disconnect()
{
    std::lock_guard guard(lock_);
    connected_ = false;
    for (const auto& [client, queue] : urbs_) {
        for (const auto& urb : queue) {
            if (!urb->answering) {
                finishLocked(*urb, -ESHUTDOWN, {});
            }
        }
    }
}

std::size_t UsbfsNode::controlTransfers() const
{
    std::lock_guard guard(lock_);
    return controlTransfers_;
}

gboolean UsbfsNode::onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self)
{
    static_cast<UsbfsNode*>(self)->handle(client, umockdev_ioctl_client_get_request(client));
    return TRUE;
}

void UsbfsNode::onVanished(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self)
{
    static_cast<UsbfsNode*>(self)->forget(client);
}

// As in the kernel, completed URBs can still be reaped after a disconnect.
void UsbfsNode::handle(Client client, unsigned long request)
{
    if (request == USBDEVFS_REAPURBNDELAY) {
        return reap(client);
    }
    {
        std::lock_guard guard(lock_);
        if (!connected_) {
            return umockdev_ioctl_client_complete(client, -1, ENODEV);
        }
    }
    switch (request) {
    case USBDEVFS_SUBMITURB:
        return submit(client);
    case USBDEVFS_DISCARDURB:
        return discard(client);
    case USBDEVFS_GET_CAPABILITIES:
        return answerCapabilities(client);
    case USBDEVFS_RESET:
        return resetDevice(client);
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_RELEASEINTERFACE:
    case USBDEVFS_SETINTERFACE:
        return umockdev_ioctl_client_complete(client, 0, 0);
    default:
        return umockdev_ioctl_client_complete(client, -1, ENOTTY);
    }
}

// The client gets its URB back for reaping once the model has answered it.
void UsbfsNode::submit(Client client)
{
    UMockdevIoctlData* urbData = resolve(umockdev_ioctl_client_get_arg(client), 0, sizeof(usbdevfs_urb));
    const auto* fields = urbData ? reinterpret_cast<const usbdevfs_urb*>(urbData->data) : nullptr;
    if (!fields || fields->type != USBDEVFS_URB_TYPE_CONTROL || fields->buffer_length < int{SetupSize}) {
        g_clear_object(&urbData);
        return umockdev_ioctl_client_complete(client, -1, EINVAL);
    }
    UMockdevIoctlData* bufferData =
        resolve(urbData, offsetof(usbdevfs_urb, buffer), static_cast<std::size_t>(fields->buffer_length));
    if (!bufferData) {
        g_object_unref(urbData);
        return umockdev_ioctl_client_complete(client, -1, EFAULT);
    }
    const auto urb = std::make_shared<UrbSlot>(client, urbData, bufferData);
    {
        std::lock_guard guard(lock_);
        if (!connected_) {
            return umockdev_ioctl_client_complete(client, -1, ENODEV);
        }
        urb->answering = true;
        urbs_[client].push_back(urb);
        ++controlTransfers_;
    }
    umockdev_ioctl_client_complete(client, 0, 0);
    answer(urb);
}

// The model answers at once or after its delay; a URB it never answers stays
// pending until discarded. A disconnect while the model is answering leaves
// the URB alone: a device that acknowledges a request and then leaves the bus
// (as after DFU_DETACH) has completed the transfer.
void UsbfsNode::answer(const std::shared_ptr<UrbSlot>& urb)
{
    const SetupPacket setup = setupOf(urb->buffer->data);
    const std::span<const std::uint8_t> outData(urb->buffer->data + SetupSize,
                                                setup.isDeviceToHost() ? 0 : std::size_t{setup.wLength});
    ControlReply reply = model_->control(setup, outData);
    const int status = reply.kind == ControlReply::Stall ? -EPIPE : 0;
    const bool late = reply.kind != ControlReply::NoAnswer && reply.delay > Basalt::Clock::Duration::zero();
    {
        std::lock_guard guard(lock_);
        urb->answering = false;
        if (reply.kind == ControlReply::NoAnswer && !connected_) {
            finishLocked(*urb, -ESHUTDOWN, {});
        } else if (reply.kind != ControlReply::NoAnswer && !late) {
            finishLocked(*urb, status, reply.data);
        }
    }
    if (late) {
        Basalt::clock().schedule(reply.delay, [node = weak_from_this(), urb, status, data = std::move(reply.data)] {
            if (const auto self = node.lock()) {
                self->finish(urb, status, data);
            }
        });
    }
}

void UsbfsNode::finish(const std::shared_ptr<UrbSlot>& urb, int status, std::span<const std::uint8_t> data)
{
    std::lock_guard guard(lock_);
    finishLocked(*urb, status, data);
}

void UsbfsNode::finishLocked(UrbSlot& urb, int status, std::span<const std::uint8_t> data)
{
    if (urb.done) {
        return;
    }
    usbdevfs_urb& fields = urb.fields();
    const SetupPacket setup = setupOf(urb.buffer->data);
    std::size_t length = 0;
    if (status == 0 && setup.isDeviceToHost()) {
        length = std::min<std::size_t>({data.size(), std::size_t{setup.wLength},
                                           static_cast<std::size_t>(urb.buffer->data_len) - SetupSize});
        std::copy_n(data.begin(), length, urb.buffer->data + SetupSize);
    } else if (status == 0) {
        length = setup.wLength;
    }
    fields.status = status;
    fields.actual_length = static_cast<int>(length);
    urb.done = true;
    ++reapable_;
    updateFifoLocked();
}

void UsbfsNode::reap(Client client)
{
    std::unique_lock guard(lock_);
    auto& queue = urbs_[client];
    const auto ready = std::find_if(queue.begin(), queue.end(), [](const auto& urb) { return urb->done; });
    if (ready == queue.end()) {
        const int error = connected_ ? EAGAIN : ENODEV;
        guard.unlock();
        return umockdev_ioctl_client_complete(client, -1, error);
    }
    const std::shared_ptr<UrbSlot> urb = *ready;
    queue.erase(ready);
    --reapable_;
    updateFifoLocked();
    guard.unlock();

    UMockdevIoctlData* slot = resolve(umockdev_ioctl_client_get_arg(client), 0, sizeof(void*));
    if (!slot) {
        return umockdev_ioctl_client_complete(client, -1, EFAULT);
    }
    umockdev_ioctl_data_set_ptr(slot, 0, urb->urb);
    umockdev_ioctl_client_complete(client, 0, 0);
    g_object_unref(slot);
}

// A discarded URB is completed with -ENOENT and still has to be reaped; one
// that has completed already cannot be discarded (EINVAL).
void UsbfsNode::discard(Client client)
{
    const unsigned long address = argumentValue(client);
    std::shared_ptr<UrbSlot> pending;
    {
        std::lock_guard guard(lock_);
        for (const auto& urb : urbs_[client]) {
            if (!urb->done && urb->urb->client_addr == address) {
                pending = urb;
            }
        }
    }
    if (!pending) {
        return umockdev_ioctl_client_complete(client, -1, EINVAL);
    }
    finish(pending, -ENOENT, {});
    umockdev_ioctl_client_complete(client, 0, 0);
}

void UsbfsNode::answerCapabilities(Client client)
{
    UMockdevIoctlData* caps = resolve(umockdev_ioctl_client_get_arg(client), 0, sizeof(std::uint32_t));
    if (!caps) {
        return umockdev_ioctl_client_complete(client, -1, EFAULT);
    }
    std::memset(caps->data, 0, sizeof(std::uint32_t));
    umockdev_ioctl_client_complete(client, 0, 0);
    g_object_unref(caps);
}

void UsbfsNode::resetDevice(Client client)
{
    model_->busReset();
    umockdev_ioctl_client_complete(client, 0, 0);
}

void UsbfsNode::forget(Client client)
{
    std::lock_guard guard(lock_);
    const auto found = urbs_.find(client);
    if (found == urbs_.end()) {
        return;
    }
    for (const auto& urb : found->second) {
        reapable_ -= urb->done ? 1 : 0;
        urb->done = true; // an answer still to come goes nowhere
    }
    urbs_.erase(found);
    updateFifoLocked();
}

// POLLOUT on the FIFO means "a URB can be reaped".
void UsbfsNode::updateFifoLocked()
{
    const bool wantFull = reapable_ == 0;
    if (fifo_ < 0 || wantFull == fifoFull_) {
        return;
    }
    std::uint8_t block[4096] = {};
    if (wantFull) {
        while (::write(fifo_, block, sizeof block) > 0) {
        }
    } else {
        while (::read(fifo_, block, sizeof block) > 0) {
        }
    }
    fifoFull_ = wantFull;
}

} // namespace UsbEmulation
