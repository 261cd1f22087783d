#include "logic/UpdaterMessages.h"

#include <boost/format.hpp>

namespace UpdaterMessages {

const char* const Connect = "Please connect your %1% and click RESCAN.";
const char* const NoNewerFirmware = "Currently there is no newer firmware for your %1%.";
const char* const UpdateAvailable = "A firmware update is available for your %1%. To update the firmware now, click "
                                    "UPDATE. To update the firmware later, click QUIT.";
const char* const StandBy = "Please stand by while your %1% is being updated and do not disconnect it from USB.";
const char* const FailedToBoot = "Your %1% failed to boot into firmware update mode and could not be properly "
                                 "updated. To boot your %1% into firmware update mode, please power-cycle it and "
                                 "click RETRY.";
const char* const Success = "The firmware of your %1% was successfully updated.";
const char* const Error = "An error occurred while updating your %1% (error %2%). Please disconnect the %1%, unpower "
                          "it and quit the %3%. Then reconnect the %1%, restart %3% and try performing the update "
                          "again. Alternatively contact the VX Technical Support.";
const char* const QuitDuringUpdate = "An update is currently in progress. Interrupting the update process may damage "
                                     "the device.\nDo you really want to quit ?";

std::string format(const char* message, const std::string& deviceName, std::int32_t result,
                   const std::string& updaterName)
{
    boost::format text(message);
    text.exceptions(boost::io::no_error_bits);
    return (text % deviceName % result % updaterName).str();
}

std::string noPermission(const std::string& deviceName, const std::string& node)
{
    return (boost::format("The %1% at %2% cannot be opened for lack of permission; install the udev rule %3%, "
                          "then unplug the %1% and plug it in again.")
            % deviceName % node % TVS_UDEV_RULE_PATH)
        .str();
}

} // namespace UpdaterMessages
