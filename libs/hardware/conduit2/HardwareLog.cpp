#include "conduit2/HardwareLog.h"

#include <array>
#include <cstdarg>
#include <cstring>
#include <fstream>
#include <mutex>
#include <set>

namespace Conduit2 {
namespace {

bool tracerIsAttached()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("TracerPid:", 0) == 0) {
            return std::strtol(line.c_str() + 10, nullptr, 10) != 0;
        }
    }
    return false;
}

// Writes to standard error when a tracer was attached to the process at its
// first message. Decided once: reading the status file took several
// microseconds for every message, even those written nowhere.
class TracerDebugger final : public LogDebugger {
public:
    bool isAttached() override
    {
        static const bool attached = tracerIsAttached();
        return attached;
    }

    void write(const char* text) override { std::fputs(text, stderr); }
};

struct LogState {
    std::uint32_t threshold = DefaultLogThreshold;
    std::array<std::FILE*, LogStreamSlots> streams{};
    std::set<std::string, std::less<>> categories;
    std::shared_ptr<LogEventSource> eventSource;
    std::shared_ptr<LogDebugger> debugger = std::make_shared<TracerDebugger>();
    std::mutex streamMutex;
};

// Never destroyed: threads still running at exit may log.
LogState& state()
{
    static LogState* const instance = new LogState;
    return *instance;
}

} // namespace

std::uint32_t logThreshold()
{
    return state().threshold;
}

void setLogThreshold(std::uint32_t threshold)
{
    state().threshold = threshold;
}

void setLogStream(std::uint32_t threshold, std::FILE* stream)
{
    if (threshold < LogStreamSlots) {
        state().streams[threshold] = stream;
    }
}

void enableLogCategory(std::string name)
{
    state().categories.insert(std::move(name));
}

bool isLogCategoryEnabled(std::string_view name)
{
    return state().categories.contains(name);
}

void setLogEventSource(std::shared_ptr<LogEventSource> source)
{
    state().eventSource = std::move(source);
}

void setLogDebugger(std::shared_ptr<LogDebugger> debugger)
{
    state().debugger = std::move(debugger);
}

void resetHardwareLog()
{
    LogState& s = state();
    s.threshold = DefaultLogThreshold;
    s.streams.fill(nullptr);
    s.categories.clear();
    s.eventSource.reset();
    s.debugger = std::make_shared<TracerDebugger>();
}

bool shouldLog(std::uint32_t level, std::string_view category)
{
    return logThreshold() <= level && (level >= 2 || isLogCategoryEnabled(category));
}

void logMessage(std::uint32_t level, const char* format, ...)
{
    LogState& s = state();
    std::FILE* stream = s.threshold < LogStreamSlots ? s.streams[s.threshold] : nullptr;
    const bool toDebugger = s.debugger && s.debugger->isAttached();
    const bool toEventLog = !stream && (level == 2 || level == 3) && s.eventSource;
    if (!stream && !toDebugger && !toEventLog) {
        return;
    }

    std::array<char, LogBufferSize> text{};
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text.data(), text.size(), format, arguments);
    va_end(arguments);

    if (stream) {
        std::lock_guard guard(s.streamMutex);
        std::fputs(text.data(), stream);
        std::fflush(stream);
    }
    if (toDebugger) {
        s.debugger->write(text.data());
    }
    if (toEventLog) {
        s.eventSource->report(level == 2 ? 0xC0000102u : 0xC0000103u, text.data());
    }
}

} // namespace Conduit2
