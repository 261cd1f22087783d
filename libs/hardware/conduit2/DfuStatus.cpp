#include "conduit2/DfuStatus.h"

#include <string_view>

namespace Conduit2 {
namespace {

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
    return nameOf(DfuStateNames, state, "state");
}

std::string dfuStatusName(std::uint8_t status)
{
    return nameOf(DfuStatusNames, status, "status");
}

} // namespace Conduit2
