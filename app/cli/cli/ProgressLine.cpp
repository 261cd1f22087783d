#include "cli/ProgressLine.h"

#include <fmt/format.h>

#include <algorithm>

namespace Cli {
namespace {

constexpr std::uint64_t BarWidth = 30;

// written / total scaled to `scale`, at most `scale`; 0 when nothing is to be written.
std::uint64_t share(std::uint32_t written, std::uint32_t total, std::uint64_t scale)
{
    if (total == 0) {
        return 0;
    }
    return std::min<std::uint64_t>(written, total) * scale / total;
}

} // namespace

std::string_view runningPhase(std::uint32_t written, std::uint32_t total)
{
    return written < total ? "writing" : "restarting";
}

std::string progressLine(std::uint32_t written, std::uint32_t total, std::string_view phase)
{
    const std::uint64_t filled = share(written, total, BarWidth);
    const std::string bar = std::string(filled, '#') + std::string(BarWidth - filled, '-');
    const std::size_t countWidth = fmt::formatted_size("{}", total);
    return fmt::format("[{}] {:>3}%  {:>{}} / {} bytes  {}", bar, share(written, total, 100), written, countWidth,
                       total, phase);
}

} // namespace Cli
