#include "sim/SimulatedBus.h"

#include "sim/SimulatedPort.h"

#include <conduit2/OsErrors.h>
#include <conduit2/UsbDescriptors.h>

#include <fmt/format.h>

namespace Conduit2::Sim {

// One port of the bus and the model in it.
struct SimulatedBus::Slot final : DevicePort {
    Slot(SimulatedBus& owner, int portNumber, std::shared_ptr<UsbDeviceModel> device)
        : bus(owner), location(fmt::format("sim-{}", portNumber)), model(std::move(device))
    {
    }

    void plug() override;
    void unplug() override;
    bool isConnected(std::uint64_t since)
    {
        std::lock_guard guard(lock);
        return plugged && generation == since;
    }

    SimulatedBus& bus;
    const std::string location;
    const std::shared_ptr<UsbDeviceModel> model;
    std::mutex lock;
    bool plugged = false;
    std::uint64_t generation = 0;
    UsbBusDevice description;
};

namespace {

// Enumerates a model as a host does: the device descriptor, then the
// configuration's header, then the whole configuration.
bool readDescription(UsbDeviceModel& model, const std::string& location, UsbBusDevice& description)
{
    const auto get = [&](std::uint16_t value, std::uint16_t length) {
        const ControlReply reply = model.control({0x80, 6, value, 0, length}, {});
        return reply.kind == ControlReply::Ack ? reply.data : std::vector<std::uint8_t>{};
    };
    const auto device = parseDeviceDescriptor(get(0x0100, 18));
    const auto header = get(0x0200, 9);
    if (!device || header.size() < 4) {
        return false;
    }
    const auto interfaces = parseConfiguration(get(0x0200, static_cast<std::uint16_t>(header[2] | header[3] << 8)));
    if (!interfaces) {
        return false;
    }
    description = {location, device->vendorId, device->productId, device->bcdDevice, *interfaces};
    return true;
}

} // namespace

void SimulatedBus::Slot::plug()
{
    UsbBusDevice fresh;
    if (!readDescription(*model, location, fresh)) {
        return;
    }
    {
        std::lock_guard guard(lock);
        plugged = true;
        ++generation;
        description = fresh;
    }
    bus.report(true, fresh);
}

void SimulatedBus::Slot::unplug()
{
    UsbBusDevice gone;
    {
        std::lock_guard guard(lock);
        if (!plugged) {
            return;
        }
        plugged = false;
        ++generation;
        gone = description;
    }
    bus.report(false, gone);
}

SimulatedBus::SimulatedBus() = default;

SimulatedBus::~SimulatedBus()
{
    for (const auto& slot : slots_) {
        slot->model->attach(nullptr);
    }
}

void SimulatedBus::attach(std::shared_ptr<UsbDeviceModel> model)
{
    std::shared_ptr<Slot> slot;
    {
        std::lock_guard guard(lock_);
        slot = slots_.emplace_back(std::make_shared<Slot>(*this, static_cast<int>(slots_.size()) + 1, model));
        slotsByLocation_.emplace(slot->location, slot);
    }
    model->attach(slot.get());
    slot->plug();
}

void SimulatedBus::setEnumerationFails(bool fails)
{
    std::lock_guard guard(lock_);
    enumerationFails_ = fails;
}

bool SimulatedBus::enumerate(std::vector<UsbBusDevice>& devices)
{
    std::lock_guard guard(lock_);
    devices.clear();
    if (enumerationFails_) {
        return false;
    }
    for (const auto& slot : slots_) {
        std::lock_guard slotGuard(slot->lock);
        if (slot->plugged) {
            devices.push_back(slot->description);
        }
    }
    return true;
}

std::shared_ptr<SimulatedBus::Slot> SimulatedBus::slotAt(const std::string& location) const
{
    const auto found = slotsByLocation_.find(location);
    return found == slotsByLocation_.end() ? nullptr : found->second;
}

bool SimulatedBus::find(const std::string& location, UsbBusDevice& device)
{
    std::lock_guard guard(lock_);
    const auto slot = enumerationFails_ ? nullptr : slotAt(location);
    if (!slot) {
        return false;
    }
    std::lock_guard slotGuard(slot->lock);
    if (!slot->plugged) {
        return false;
    }
    device = slot->description;
    return true;
}

std::uint32_t SimulatedBus::open(const std::string& location, std::unique_ptr<UsbPort>& port)
{
    std::lock_guard guard(lock_);
    const auto slot = slotAt(location);
    if (!slot) {
        return OsError::NotFound;
    }
    std::lock_guard slotGuard(slot->lock);
    if (!slot->plugged) {
        return OsError::NotFound;
    }
    port = std::make_unique<SimulatedPort>(slot->model, slot->description,
                                           [slot, since = slot->generation] { return slot->isConnected(since); });
    return OsError::Success;
}

void SimulatedBus::setHotplugHandler(HotplugHandler handler)
{
    std::lock_guard guard(handlerLock_);
    handler_ = std::move(handler);
}

void SimulatedBus::report(bool arrived, const UsbBusDevice& device)
{
    std::lock_guard guard(handlerLock_);
    if (handler_) {
        handler_(arrived, device);
    }
}

} // namespace Conduit2::Sim
