#include "conduit2/DfuStatus.h"

#include <string_view>

namespace Conduit2 {
namespace {

constexpr std::array<std::string_view, 11> StateNames{
    "appIDLE",          "appDETACH",   "dfuIDLE",  "dfuDNLOAD-SYNC", "dfuDNBUSY", "dfuDNLOAD-IDLE",
    "dfuMANIFEST-SYNC", "dfuMANIFEST", "dfuMANIFEST-WAIT-RESET", "dfuUPLOAD-IDLE", "dfuERROR"};
constexpr std::array<std::string_view, 16> StatusNames{
    "OK",      "errTARGET",  "errFILE",     "errWRITE", "errERASE", "errCHECK_ERASED", "errPROG",    "errVERIFY",
    "errADDRESS", "errNOTDONE", "errFIRMWARE", "errVENDOR", "errUSBR", "errPOR",         "errUNKNOWN", "errSTALLEDPKT"};

template <std::size_t N>
std::string nameOf(const std::array<std::string_view, N>& names, std::uint8_t value, std::string_view kind)
{
    if (value < names.size()) {
        return std::string(names[value]);
    }
    return std::string(kind) + " " + std::to_string(value);
}

} // namespace

std::string dfuStateName(std::uint8_t state)
{
    return nameOf(StateNames, state, "state");
}

std::string dfuStatusName(std::uint8_t status)
{
    return nameOf(StatusNames, status, "status");
}

} // namespace Conduit2
