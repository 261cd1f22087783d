#include "conduit2/HardwareLogSettings.h"

#include "conduit2/HardwareLog.h"
#include "conduit2/SyslogEventSource.h"

#include <charconv>
#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Conduit2 {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The file destination, kept open for the life of the process.
std::unique_ptr<std::FILE, FileCloser>& logFile()
{
    static std::unique_ptr<std::FILE, FileCloser> file;
    return file;
}

// Appends to a regular file only. Opening does not wait (a FIFO would wait
// for a reader for ever) and does not follow a symbolic link, which could
// make the program append to a file the link's maker chose.
std::unique_ptr<std::FILE, FileCloser> openLogFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info {};
    std::FILE* file = nullptr;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || (file = ::fdopen(fd, "a")) == nullptr) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<std::FILE, FileCloser>(file);
}

std::optional<std::uint32_t> parseThreshold(std::string_view text)
{
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()
        || value >= LogStreamSlots) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string> splitCategories(std::string_view text)
{
    std::vector<std::string> categories;
    while (!text.empty()) {
        const auto comma = text.find(',');
        if (const auto name = text.substr(0, comma); !name.empty()) {
            categories.emplace_back(name);
        }
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    }
    return categories;
}

} // namespace

std::optional<HardwareLogSettings> HardwareLogSettings::parse(std::string_view text)
{
    HardwareLogSettings settings;
    const auto first = text.find(':');
    const auto threshold = parseThreshold(text.substr(0, first));
    if (!threshold) {
        return std::nullopt;
    }
    settings.threshold = *threshold;
    if (first == std::string_view::npos) {
        return settings;
    }
    const std::string_view rest = text.substr(first + 1);
    const auto second = rest.find(':');
    settings.categories = splitCategories(rest.substr(0, second));
    if (second == std::string_view::npos) {
        return settings;
    }
    const std::string_view destination = rest.substr(second + 1);
    if (destination.empty()) {
        return std::nullopt;
    }
    if (destination == "-") {
        settings.destination = StandardError;
    } else if (destination == "syslog") {
        settings.destination = Syslog;
    } else {
        settings.destination = File;
        settings.path = destination;
    }
    return settings;
}

bool applyHardwareLogSettings(const HardwareLogSettings& settings)
{
    setLogThreshold(settings.threshold);
    for (const auto& category : settings.categories) {
        enableLogCategory(category);
    }
    switch (settings.destination) {
    case HardwareLogSettings::None:
        return true;
    case HardwareLogSettings::StandardError:
        setLogStream(settings.threshold, stderr);
        return true;
    case HardwareLogSettings::Syslog:
        setLogEventSource(std::make_shared<SyslogEventSource>("tvs-updater"));
        return true;
    case HardwareLogSettings::File:
        break;
    }
    auto file = openLogFile(settings.path);
    if (!file) {
        return false;
    }
    setLogStream(settings.threshold, file.get());
    logFile() = std::move(file);
    return true;
}

void configureHardwareLogFromEnvironment()
{
    const char* value = std::getenv("TVS_HW_LOG");
    if (value == nullptr) {
        return;
    }
    const auto settings = HardwareLogSettings::parse(value);
    if (!settings) {
        std::fprintf(stderr, "TVS_HW_LOG ignored: expected <threshold>[:<categories>[:<destination>]], got \"%s\"\n",
                     value);
    } else if (!applyHardwareLogSettings(*settings)) {
        std::fprintf(stderr, "TVS_HW_LOG: cannot open the log file \"%s\"\n", settings->path.c_str());
    }
}

} // namespace Conduit2
