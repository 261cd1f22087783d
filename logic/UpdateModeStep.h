#pragma once

#include <conduit2/DFUDevice.h>

#include <chrono>

// Where a step of the reboot into update mode left the device: in update
// mode, not reachable there, or restarting, to be looked for once more
// after UpdateModeWait.
enum class eUpdateModeStep { InUpdateMode, NotInUpdateMode, LookAfterWait };

// How long a device asked to restart into update mode is given.
constexpr std::chrono::milliseconds UpdateModeWait = Conduit2::DFUDevice::ReconnectWait;
