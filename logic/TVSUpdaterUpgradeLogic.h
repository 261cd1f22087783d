#pragma once

#include "logic/UpdatePhase.h"
#include "logic/UpdateModeStep.h"
#include "logic/UpdateResult.h"
#include "logic/UpdaterDescription.h"

#include <conduit2/DFUDevice.h>
#include <conduit2/USBDeviceFilter.h>

#include <boost/thread/thread.hpp>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace Basalt {
class Event;
}

// The one owner of the connection to the Trovix Studio: finds it, checks its
// firmware against the carried one, reboots it into update mode and runs the
// update on a worker thread. Everything but the worker runs on the calling
// (user-interface) thread.
class TVSUpdaterUpgradeLogic {
public:
    TVSUpdaterUpgradeLogic();
    // Detaches a worker that still runs; it keeps what it uses alive.
    ~TVSUpdaterUpgradeLogic();
    TVSUpdaterUpgradeLogic(const TVSUpdaterUpgradeLogic&) = delete;
    TVSUpdaterUpgradeLogic& operator=(const TVSUpdaterUpgradeLogic&) = delete;

    // One scan; true when the device is open afterwards (a device open from
    // an earlier scan stays open when the scan finds nothing).
    bool isDeviceReady();
    // After an update: one scan that opens only the device with the serial
    // number that was updated (any device when that number is empty); true
    // when that device is open afterwards.
    bool isUpdatedDeviceBack();
    // The device file of a Trovix Studio that the last scan found but could
    // not open because this user may not open it; empty when there was none.
    const std::string& deniedDeviceNode() const { return deniedNode_; }
    // The installed and newest firmware texts and whether an update is
    // offered. A device in update mode runs no firmware: its installed text
    // is UpdateModeText and the update is always offered.
    void readFirmwareInfo(Conduit2::USBDeviceInfo& info, std::string& installed, std::string& newest,
                          bool& updateAvailable);

    // True when the device is open in update mode with a transfer size the
    // driver can carry: detaches a device in run-time mode first and waits
    // UpdateModeWait for it to restart.
    bool enterUpdateMode();
    // The same without blocking, for the window: requestUpdateMode() does
    // what comes before the wait; when it answers LookAfterWait the caller
    // waits UpdateModeWait, then asks lookForUpdateMode() (true: in update
    // mode with a usable transfer size). requestInUpdateMode() only looks
    // for the device in update mode; it too may ask for the wait, when the
    // device was open in run-time mode.
    eUpdateModeStep requestUpdateMode();
    eUpdateModeStep requestInUpdateMode();
    bool lookForUpdateMode();
    // Starts the worker with `result` (set to 0); false (result -1) unless
    // the device is open in update mode.
    bool startUpdate(UpdateResult& result);
    // A worker exists and does not end within 500 ms.
    bool isUpdateRunning();
    // Waits 500 ms for the worker, then asks it to stop; it stops only in
    // its final wait, without writing its result.
    void stopUpdateThread();
    void windowCreated(UpdaterMainWindow* window);

    // The scan's arrival callback.
    void onDeviceFound(const Conduit2::USBDeviceOSHandle& handle, const Conduit2::USBDeviceFilter& filter);

    // Progress of the running update: image bytes accepted by the device so
    // far, out of totalImageBytes().
    std::uint32_t writtenBytes() const { return writtenBytes_->load(); }
    // The phase the running (or last) worker is in.
    eUpdatePhase workerPhase() const { return phase_->load(); }
    // Once a worker has reported WriteFailed: the status the device gave
    // after the failure, or nothing when it did not answer.
    std::optional<Conduit2::DfuStatus> failureStatus() const;
    static std::uint32_t totalImageBytes();

    static constexpr const char* UpdateModeText = "update mode";

    const Conduit2::DFUDevice& device() const { return *device_; }

private:
    struct WorkerState;
    static void updateWorker(std::shared_ptr<WorkerState> state);
    bool joinWorkerFor500Ms();
    void scan();

    std::shared_ptr<Conduit2::DFUDevice> device_ = std::make_shared<Conduit2::DFUDevice>();
    boost::thread worker_;
    std::shared_ptr<Basalt::Event> workerEnded_;
    std::shared_ptr<std::atomic<std::uint32_t>> writtenBytes_ = std::make_shared<std::atomic<std::uint32_t>>(0);
    std::shared_ptr<std::atomic<eUpdatePhase>> phase_ =
        std::make_shared<std::atomic<eUpdatePhase>>(eUpdatePhase::WritingImageB);
    std::shared_ptr<WorkerState> lastWorker_;
    // The serial number of the device handed to the last worker, and the one
    // a scan is limited to (empty: any device).
    std::string updatedSerial_;
    std::string scannedSerial_;
    std::string deniedNode_;
};
