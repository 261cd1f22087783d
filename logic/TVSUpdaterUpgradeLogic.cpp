#include "logic/TVSUpdaterUpgradeLogic.h"

#include <conduit2/DeviceCatalogue.h>
#include <conduit2/USBDeviceFactory.h>
#include <firmware/FirmwareImageSet.h>

#include <basalt/Clock.h>
#include <basalt/Event.h>

#include <chrono>

#include <fmt/printf.h>

namespace {

using namespace std::chrono_literals;

constexpr std::uint8_t UpdateMode = 2;
constexpr std::uint8_t SecondaryRevisionSelector = 1;
constexpr std::uint8_t ImageBSelector = 1;

} // namespace

// Everything the worker uses, shared with the logic so that a worker that
// outlives it (the program quit during an update) uses nothing freed.
struct TVSUpdaterUpgradeLogic::WorkerState {
    std::shared_ptr<Conduit2::DFUDevice> device;
    UpdateResult result;
    std::shared_ptr<Basalt::Event> ended;
    std::shared_ptr<std::atomic<std::uint32_t>> writtenBytes;
    std::shared_ptr<std::atomic<eUpdatePhase>> phase;
    // Written before a WriteFailed result: the status the device reported
    // after the failure, when it answered.
    std::optional<Conduit2::DfuStatus> failureStatus;
};

TVSUpdaterUpgradeLogic::TVSUpdaterUpgradeLogic()
{
    device_->countWrittenBytes(writtenBytes_.get());
}

TVSUpdaterUpgradeLogic::~TVSUpdaterUpgradeLogic()
{
    if (worker_.joinable()) {
        worker_.detach();
    }
}

void TVSUpdaterUpgradeLogic::scan()
{
    Conduit2::USBDeviceFactory factory;
    factory.setCallbacks([this](const Conduit2::USBDeviceOSHandle& handle,
                                const Conduit2::USBDeviceFilter& filter) { onDeviceFound(handle, filter); },
                         nullptr);
    factory.scan(Conduit2::targetUsbFilter, false);
    const auto denied = factory.deniedNodes();
    deniedNode_ = denied.empty() ? std::string() : denied.front();
    factory.reset();
}

bool TVSUpdaterUpgradeLogic::isDeviceReady()
{
    scan();
    return device_->isOpen();
}

// With two devices attached, another one already on the newest firmware must
// not be taken for the updated device: only its serial number tells them apart.
bool TVSUpdaterUpgradeLogic::isUpdatedDeviceBack()
{
    scannedSerial_ = updatedSerial_;
    scan();
    scannedSerial_.clear();
    return device_->isOpen() && (updatedSerial_.empty() || device_->info().serialNumber == updatedSerial_);
}

// Opens the offered device when it answers as a DFU-capable device (and has
// the serial number a scan is limited to); with several, the one enumerated
// last stays open.
void TVSUpdaterUpgradeLogic::onDeviceFound(const Conduit2::USBDeviceOSHandle& handle, const Conduit2::USBDeviceFilter&)
{
    Conduit2::DFUDevice probe;
    if (probe.openAndCheckDfu(handle)
        && (scannedSerial_.empty() || probe.info().serialNumber == scannedSerial_)) {
        device_->openAndCheckDfu(handle);
    }
}

void TVSUpdaterUpgradeLogic::readFirmwareInfo(Conduit2::USBDeviceInfo& info, std::string& installed,
                                              std::string& newest, bool& updateAvailable)
{
    constexpr unsigned newestRelease = FirmwareImageSet::NewestRelease;
    constexpr unsigned newestSecondary = FirmwareImageSet::NewestSecondaryRevision;
    newest = fmt::sprintf("%d", newestRelease);
    if (!device_->isOpen()) {
        info.bcdDevice = 0;
        updateAvailable = false;
        return;
    }
    info = device_->info();
    if (device_->bInterfaceProtocol() == UpdateMode) {
        // The revision the boot loader reports says nothing of the firmware,
        // which does not run until an update has written it again.
        installed = UpdateModeText;
        updateAvailable = true;
        return;
    }
    std::uint32_t secondary = 0;
    if (std::uint32_t value = 0; device_->readVendorValue(SecondaryRevisionSelector, value)) {
        secondary = value;
    }
    const unsigned release = info.bcdDevice;
    if (release == newestRelease && secondary != newestSecondary) {
        newest = fmt::sprintf("%d / 0x%X", newestRelease, newestSecondary);
        installed = fmt::sprintf("%d / 0x%X", release, secondary);
    } else {
        installed = fmt::sprintf("%d", release);
    }
    updateAvailable = release < newestRelease || (release == newestRelease && secondary < newestSecondary);
}

bool TVSUpdaterUpgradeLogic::enterUpdateMode()
{
    const eUpdateModeStep step = requestUpdateMode();
    if (step != eUpdateModeStep::LookAfterWait) {
        return step == eUpdateModeStep::InUpdateMode;
    }
    Basalt::clock().sleepFor(UpdateModeWait);
    return lookForUpdateMode();
}

eUpdateModeStep TVSUpdaterUpgradeLogic::requestUpdateMode()
{
    if (!device_->isOpen() || (device_->bInterfaceProtocol() != UpdateMode && !device_->detach())) {
        return eUpdateModeStep::NotInUpdateMode;
    }
    return requestInUpdateMode();
}

eUpdateModeStep TVSUpdaterUpgradeLogic::requestInUpdateMode()
{
    bool mustWait = false;
    if (!device_->closeForReconnect(mustWait)) {
        return eUpdateModeStep::NotInUpdateMode;
    }
    if (mustWait) {
        return eUpdateModeStep::LookAfterWait;
    }
    return lookForUpdateMode() ? eUpdateModeStep::InUpdateMode : eUpdateModeStep::NotInUpdateMode;
}

bool TVSUpdaterUpgradeLogic::lookForUpdateMode()
{
    return device_->findInDfuMode() && device_->hasUsableTransferSize();
}

bool TVSUpdaterUpgradeLogic::startUpdate(UpdateResult& result)
{
    if (!device_->isOpen() || device_->bInterfaceProtocol() != UpdateMode) {
        result.store(UpdateResult::NotInUpdateMode);
        return false;
    }
    result.store(UpdateResult::Running);
    writtenBytes_->store(0);
    updatedSerial_ = device_->info().serialNumber;
    if (worker_.joinable()) {
        worker_.detach();
    }
    phase_->store(eUpdatePhase::WritingImageB);
    auto state = std::make_shared<WorkerState>(
        WorkerState{device_, result, std::make_shared<Basalt::Event>(), writtenBytes_, phase_, std::nullopt});
    workerEnded_ = state->ended;
    lastWorker_ = state;
    worker_ = boost::thread([state] { updateWorker(state); });
    return true;
}

// Brings the device to dfuIDLE (a run ended during its write leaves it in the
// middle of a download), writes ImageB, then ImageA; on a failure reads the
// device's status and aborts.
// Then asks the device to restart, closes it, waits 5000 ms (the only point
// where the worker may be stopped, and then it reports nothing) and reports.
void TVSUpdaterUpgradeLogic::updateWorker(std::shared_ptr<WorkerState> state)
{
    struct SignalEnd {
        Basalt::Event& ended;
        ~SignalEnd() { ended.set(); }
    } signalEnd{*state->ended};

    Conduit2::DFUDevice& device = *state->device;
    if (!device.isOpen() || device.bInterfaceProtocol() != UpdateMode) {
        state->result.store(UpdateResult::NotInUpdateMode);
        return;
    }
    const auto imageA = FirmwareImageSet::imageA();
    const auto imageB = FirmwareImageSet::imageB();
    Conduit2::DfuStatus status;
    bool written = device.returnToIdle() && device.writeVendorImage(imageB.data(), imageB.size(), ImageBSelector);
    if (written) {
        state->phase->store(eUpdatePhase::WritingImageA);
        written = device.download(imageA.data(), imageA.size(), status);
    }
    if (!written) {
        // The device's own account of the failure, for the report.
        if (Conduit2::DfuStatus failure; device.getStatus(failure)) {
            state->failureStatus = failure;
        }
        device.abort();
    } else {
        state->phase->store(eUpdatePhase::Restarting);
    }
    device.leaveDfuMode();
    device.close();
    try {
        Basalt::clock().interruptibleSleepFor(5000ms);
    } catch (const boost::thread_interrupted&) {
        return;
    }
    state->result.store(written ? UpdateResult::Done : UpdateResult::WriteFailed);
}

bool TVSUpdaterUpgradeLogic::joinWorkerFor500Ms()
{
    if (Basalt::clock().waitFor(*workerEnded_, nullptr, 500ms) != Basalt::Clock::FirstSet) {
        return false;
    }
    worker_.join();
    return true;
}

bool TVSUpdaterUpgradeLogic::isUpdateRunning()
{
    return worker_.joinable() && !joinWorkerFor500Ms();
}

void TVSUpdaterUpgradeLogic::stopUpdateThread()
{
    if (worker_.joinable() && !joinWorkerFor500Ms()) {
        worker_.interrupt();
    }
}

void TVSUpdaterUpgradeLogic::windowCreated(UpdaterMainWindow*)
{
}

std::optional<Conduit2::DfuStatus> TVSUpdaterUpgradeLogic::failureStatus() const
{
    return lastWorker_ ? lastWorker_->failureStatus : std::nullopt;
}

std::uint32_t TVSUpdaterUpgradeLogic::totalImageBytes()
{
    return static_cast<std::uint32_t>(FirmwareImageSet::ImageASize + FirmwareImageSet::ImageBSize);
}
