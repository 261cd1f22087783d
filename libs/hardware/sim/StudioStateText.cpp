#include "sim/StudioStateText.h"

#include <conduit2/DfuStatus.h>

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>
#include <utility>
#include <vector>

namespace Conduit2::Sim {
namespace {

using namespace std::string_view_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr std::array ModeNames{std::pair{eStudioMode::Off, "off"sv}, std::pair{eStudioMode::RunTime, "run-time"sv},
                               std::pair{eStudioMode::Dfu, "update"sv}};

constexpr std::array StepNames{
    std::pair{eStudioStep::None, "none"sv},
    std::pair{eStudioStep::DropForDfuMode, "drop-for-dfu-mode"sv},
    std::pair{eStudioStep::EnumerateInDfuMode, "enumerate-in-dfu-mode"sv},
    std::pair{eStudioStep::DetachTimedOut, "detach-timed-out"sv},
    std::pair{eStudioStep::FinishManifestation, "finish-manifestation"sv},
    std::pair{eStudioStep::ResetItself, "reset-itself"sv},
    std::pair{eStudioStep::Boot, "boot"sv},
};

// The standard's names of the DFU states and statuses, whose values the
// simulator's enumerations share.
template <class E, std::size_t N>
constexpr auto namesByValue(const std::array<std::string_view, N>& names)
{
    std::array<std::pair<E, std::string_view>, N> table{};
    for (std::size_t value = 0; value < N; ++value) {
        table[value] = {static_cast<E>(value), names[value]};
    }
    return table;
}

constexpr auto DfuStateNames = namesByValue<eDfuState>(Conduit2::DfuStateNames);
constexpr auto DfuStatusNames = namesByValue<eDfuStatus>(Conduit2::DfuStatusNames);
static_assert(static_cast<std::size_t>(eDfuState::Error) + 1 == DfuStateNames.size());
static_assert(static_cast<std::size_t>(eDfuStatus::ErrStalledPkt) + 1 == DfuStatusNames.size());

// One line of the text: how it is written from a saved device, and read into one.
struct Field {
    std::string_view key;
    std::function<std::string(const SavedStudio&, const StudioConfig&)> write;
    std::function<bool(std::string_view, SavedStudio&, const StudioConfig&)> read;
};

template <class T>
bool readNumber(std::string_view text, T& value)
{
    const int base = text.starts_with("0x") ? 16 : 10;
    text.remove_prefix(base == 16 ? 2 : 0);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return !text.empty() && error == std::errc{} && end == text.data() + text.size();
}

std::string hexText(const Bytes& bytes)
{
    constexpr std::string_view Digits = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t byte : bytes) {
        text += Digits[byte >> 4];
        text += Digits[byte & 0x0F];
    }
    return text;
}

bool readHex(std::string_view text, std::size_t room, Bytes& bytes)
{
    if (text.size() % 2 != 0 || text.size() / 2 > room) {
        return false;
    }
    bytes.resize(text.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char* first = text.data() + i * 2;
        const auto [end, error] = std::from_chars(first, first + 2, bytes[i], 16);
        if (error != std::errc{} || end != first + 2) {
            return false;
        }
    }
    return true;
}

// The first bytes of the expected image, by their count; any other bytes as they are.
std::string imageText(const Bytes& bytes, const Bytes& expected)
{
    if (bytes.size() <= expected.size() && std::equal(bytes.begin(), bytes.end(), expected.begin())) {
        return fmt::format("expected {}", bytes.size());
    }
    return "bytes " + hexText(bytes);
}

bool readImage(std::string_view text, std::size_t room, const Bytes& expected, Bytes& bytes)
{
    constexpr std::string_view Expected = "expected ";
    constexpr std::string_view Literal = "bytes ";
    std::size_t size = 0;
    if (text.starts_with(Expected) && readNumber(text.substr(Expected.size()), size)
        && size <= std::min(room, expected.size())) {
        bytes.assign(expected.begin(), expected.begin() + static_cast<std::ptrdiff_t>(size));
        return true;
    }
    return text.starts_with(Literal) && readHex(text.substr(Literal.size()), room, bytes);
}

std::string countsText(const std::vector<std::uint32_t>& counts)
{
    return fmt::format("{}", fmt::join(counts, " "));
}

bool readCounts(std::string_view text, std::vector<std::uint32_t>& counts)
{
    counts.clear();
    for (auto at = text.find_first_not_of(' '); at != std::string_view::npos;) {
        const auto end = text.find(' ', at);
        if (!readNumber(text.substr(at, end - at), counts.emplace_back())) {
            return false;
        }
        at = text.find_first_not_of(' ', end);
    }
    return true;
}

// `get` gives the item of a saved device, const or not: [](auto& s) -> auto& { ... }.
template <class Get>
Field number(std::string_view key, Get get, bool hex = false)
{
    return {key,
            [get, hex](const SavedStudio& s, const StudioConfig&) {
                return hex ? fmt::format("{:#x}", get(s)) : fmt::format("{}", get(s));
            },
            [get](std::string_view text, SavedStudio& s, const StudioConfig&) { return readNumber(text, get(s)); }};
}

template <class Get>
Field flag(std::string_view key, Get get)
{
    return {key, [get](const SavedStudio& s, const StudioConfig&) { return std::string(get(s) ? "yes" : "no"); },
            [get](std::string_view text, SavedStudio& s, const StudioConfig&) {
                get(s) = text == "yes";
                return text == "yes" || text == "no";
            }};
}

// A value written by its name in `names`; one without a name is written empty, which reads as invalid.
template <class Names, class Get>
Field named(std::string_view key, const Names& names, Get get)
{
    return {key,
            [&names, get](const SavedStudio& s, const StudioConfig&) {
                const auto found = std::ranges::find(names, get(s), &Names::value_type::first);
                return found == names.end() ? std::string() : std::string(found->second);
            },
            [&names, get](std::string_view text, SavedStudio& s, const StudioConfig&) {
                const auto found = std::ranges::find(names, text, &Names::value_type::second);
                if (found != names.end()) {
                    get(s) = found->first;
                }
                return found != names.end();
            }};
}

template <class Get, class Expected>
Field image(std::string_view key, std::size_t room, Get get, Expected expected)
{
    return {key, [get, expected](const SavedStudio& s, const StudioConfig& c) { return imageText(get(s), expected(c)); },
            [room, get, expected](std::string_view text, SavedStudio& s, const StudioConfig& c) {
                return readImage(text, room, expected(c), get(s));
            }};
}

Field scenarioName()
{
    return {"scenario", [](const SavedStudio& s, const StudioConfig&) { return s.scenario; },
            [](std::string_view text, SavedStudio& s, const StudioConfig&) {
                s.scenario = text;
                return !text.empty() && text.find_first_of(" \t") == std::string_view::npos;
            }};
}

std::vector<Field> makeFields()
{
    return {
        scenarioName(),
        named("mode", ModeNames, [](auto& s) -> auto& { return s.state.mode; }),
        named("next-step", StepNames, [](auto& s) -> auto& { return s.state.nextStep; }),
        number("release", [](auto& s) -> auto& { return s.state.release; }),
        number("secondary-revision", [](auto& s) -> auto& { return s.state.secondaryRevision; }, true),
        flag("installed-firmware-intact", [](auto& s) -> auto& { return s.state.installedFirmwareIntact; }),
        flag("hung", [](auto& s) -> auto& { return s.state.hung; }),
        flag("faults-cleared", [](auto& s) -> auto& { return s.state.faultsCleared; }),
        {"fault-points-reached",
         [](const SavedStudio& s, const StudioConfig&) { return countsText(s.state.faultPointsReached); },
         [](std::string_view text, SavedStudio& s, const StudioConfig&) {
             return readCounts(text, s.state.faultPointsReached);
         }},
        number("faults-struck", [](auto& s) -> auto& { return s.state.faultsStruck; }),
        named("dfu-state", DfuStateNames, [](auto& s) -> auto& { return s.state.dfu.state; }),
        named("dfu-status", DfuStatusNames, [](auto& s) -> auto& { return s.state.dfu.status; }),
        number("dfu-last-block", [](auto& s) -> auto& { return s.state.dfu.lastBlock; }),
        number("dfu-busy-left", [](auto& s) -> auto& { return s.state.dfu.busyLeft; }),
        flag("dfu-manifested", [](auto& s) -> auto& { return s.state.dfu.manifested; }),
        flag("image-a-complete", [](auto& s) -> auto& { return s.state.dfu.imageComplete; }),
        image("image-a", StudioImageARoom, [](auto& s) -> auto& { return s.state.dfu.image; },
              [](const StudioConfig& c) -> const Bytes& { return c.expectedImageA; }),
        number("image-b-next-chunk", [](auto& s) -> auto& { return s.state.imageB.nextChunk; }),
        flag("image-b-complete", [](auto& s) -> auto& { return s.state.imageB.complete; }),
        image("image-b", StudioImageBRoom, [](auto& s) -> auto& { return s.state.imageB.bytes; },
              [](const StudioConfig& c) -> const Bytes& { return c.expectedImageB; }),
    };
}

const std::vector<Field>& fields()
{
    static const std::vector<Field> all = makeFields();
    return all;
}

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    return first == std::string_view::npos ? std::string_view{}
                                           : text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// A key as it may be shown in an error: short, and printable characters only.
std::string shown(std::string_view key)
{
    std::string text(key.substr(0, 40));
    std::ranges::replace_if(text, [](char c) { return c < 0x20 || c > 0x7E; }, '?');
    return text;
}

// Reads one "key value" line; what is wrong with it, or nothing.
std::optional<std::string> readLine(std::string_view line, std::vector<bool>& given, SavedStudio& saved,
                                    const StudioConfig& config)
{
    const auto space = line.find_first_of(" \t");
    const std::string_view key = line.substr(0, space);
    const std::string_view value = space == std::string_view::npos ? std::string_view{} : trimmed(line.substr(space));
    const auto field = std::ranges::find(fields(), key, &Field::key);
    if (field == fields().end()) {
        return fmt::format("unknown key '{}'", shown(key));
    }
    const auto index = static_cast<std::size_t>(field - fields().begin());
    if (given[index]) {
        return fmt::format("{} is given twice", key);
    }
    given[index] = true;
    if (!field->read(value, saved, config)) {
        return fmt::format("{} has an invalid value", key);
    }
    return std::nullopt;
}

} // namespace

std::string formatSavedStudio(const SavedStudio& saved, const StudioConfig& config)
{
    std::string text = "# A simulated Trovix Studio, kept between runs of the updater (--simulate-state)\n";
    for (const Field& field : fields()) {
        const std::string value = field.write(saved, config);
        text += fmt::format("{}{}{}\n", field.key, value.empty() ? "" : " ", value);
    }
    return text;
}

std::optional<SavedStudio> parseSavedStudio(std::string_view text, const StudioConfig& config, std::string& error)
{
    std::vector<bool> given(fields().size(), false);
    SavedStudio saved;
    for (std::size_t lineNumber = 1; !text.empty(); ++lineNumber) {
        const auto end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (auto problem = readLine(line, given, saved, config)) {
            error = fmt::format("line {}: {}", lineNumber, *problem);
            return std::nullopt;
        }
    }
    const auto missing = std::ranges::find(given, false);
    if (missing != given.end()) {
        error = fmt::format("{} is missing", fields()[static_cast<std::size_t>(missing - given.begin())].key);
        return std::nullopt;
    }
    return saved;
}

} // namespace Conduit2::Sim
