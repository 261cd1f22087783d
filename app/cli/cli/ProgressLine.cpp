#include "cli/ProgressLine.h"

#include <fmt/format.h>

#include <algorithm>

namespace Cli {
namespace {

constexpr std::size_t MinBar = 10;
constexpr std::size_t MaxBar = 40;
constexpr std::string_view Spinner = "|/-\\";

// written / total scaled to `scale`, at most `scale`; 0 when nothing is to be written.
std::uint64_t share(std::uint32_t written, std::uint32_t total, std::uint64_t scale)
{
    if (total == 0) {
        return 0;
    }
    return std::min<std::uint64_t>(written, total) * scale / total;
}

std::string fitted(std::string line, std::size_t width)
{
    if (line.size() > width) {
        line.resize(width);
    }
    return line;
}

} // namespace

std::string progressLine(const PhaseNames& phase, std::uint32_t written, std::uint32_t total, unsigned tick,
                         long seconds, std::size_t width)
{
    if (!phase.writes) {
        return fitted(fmt::format("{}  {} {} s", phase.text, Spinner[tick % Spinner.size()], seconds), width);
    }
    const std::size_t countWidth = fmt::formatted_size("{}", total);
    const std::string counts = fmt::format("{:>3}%  {:>{}} / {} bytes", share(written, total, 100), written,
                                           countWidth, total);
    const std::size_t fixed = phase.text.size() + counts.size() + 6;  // two gaps and the brackets
    const std::size_t bar = std::clamp(width > fixed ? width - fixed : 0, MinBar, MaxBar);
    const std::size_t filled = share(written, total, bar);
    return fitted(fmt::format("{}  [{}{}]  {}", phase.text, std::string(filled, '#'), std::string(bar - filled, '-'),
                              counts),
                  width);
}

} // namespace Cli
