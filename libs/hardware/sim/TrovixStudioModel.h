#pragma once

#include "sim/DfuTypes.h"
#include "sim/StudioConfig.h"
#include "sim/StudioState.h"
#include "sim/UsbDeviceModel.h"

#include <memory>
#include <string>
#include <vector>

namespace Conduit2::Sim {

namespace DETAIL {
class StudioDevice;
} // namespace DETAIL

// The simulated Trovix Studio: a full-speed USB device with a run-time
// firmware (product 0x1300) and a DFU boot loader (product 0x1302). It answers
// enumeration, the vendor requests and the DFU class requests, writes what it
// is sent into its flash, and leaves and rejoins the bus on detach, reset and
// boot, with every delay in the process clock. Thread-safe.
class TrovixStudioModel final : public UsbDeviceModel {
public:
    using Config = StudioConfig;

    explicit TrovixStudioModel(Config config = {});
    // The device of `config` as it was saved in `state`.
    TrovixStudioModel(Config config, const StudioState& state);
    ~TrovixStudioModel() override;

    void attach(DevicePort* port) override;
    ControlReply control(const SetupPacket& setup, std::span<const std::uint8_t> hostData) override;
    void busReset() override;

    // Puts the device back on the bus after it was pulled out (or pulls it
    // and puts it back); it boots after the boot delay.
    void replug();
    // From now on the device has none of the faults of its configuration (a
    // fault that hung it holds until replug()).
    void clearFaults();

    eStudioMode mode() const;
    eDfuState dfuState() const;
    // What the flash holds for each image.
    std::vector<std::uint8_t> imageA() const;
    std::vector<std::uint8_t> imageB() const;
    // The serial number the device reports now.
    std::string serialNumber() const;
    // How many times a fault of the configuration has struck.
    std::uint32_t faultsStruck() const;
    // Everything a later run needs to meet the same device again; consistent
    // even while another thread sends it requests.
    StudioState state() const;

private:
    std::shared_ptr<DETAIL::StudioDevice> device_;
};

} // namespace Conduit2::Sim
