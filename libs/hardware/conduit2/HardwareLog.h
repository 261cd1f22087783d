#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace Conduit2 {

// The device layer's diagnostic log. A message of level L is written when the
// threshold is at most L; levels below 2 also need their category enabled
// (the call-site rule, see shouldLog). Nothing is configured by default: the
// threshold is 2, there is no stream, no category and no event source, so only
// level-2 messages reach an attached debugger.
//
// The configuration is set up before any device activity and read without a
// lock; only the writes to the stream are serialised.

// The operating system's event log.
class LogEventSource {
public:
    virtual ~LogEventSource() = default;
    virtual void report(std::uint32_t eventId, const char* text) = 0;
};

// The debugger's output.
class LogDebugger {
public:
    virtual ~LogDebugger() = default;
    virtual bool isAttached() = 0;
    virtual void write(const char* text) = 0;
};

constexpr std::uint32_t DefaultLogThreshold = 2;
constexpr std::uint32_t LogStreamSlots = 8;
constexpr std::size_t LogBufferSize = 1024;

std::uint32_t logThreshold();
void setLogThreshold(std::uint32_t threshold);

// The stream that receives messages while the threshold is `threshold`; the
// log does not own it. Null removes it.
void setLogStream(std::uint32_t threshold, std::FILE* stream);

void enableLogCategory(std::string name);
bool isLogCategoryEnabled(std::string_view name);

void setLogEventSource(std::shared_ptr<LogEventSource> source);
void setLogDebugger(std::shared_ptr<LogDebugger> debugger);

// Puts the log back to its defaults (threshold 2, nothing configured).
void resetHardwareLog();

// The call-site rule: whether a message of this level and category is written.
bool shouldLog(std::uint32_t level, std::string_view category);

// Formats the message printf-style into a 1024-byte buffer (longer texts are
// cut) and writes it to the stream of the current threshold, to an attached
// debugger, and, for levels 2 and 3 when there is no stream, to the event
// source (event id 0xC0000102 or 0xC0000103). Never fails.
void logMessage(std::uint32_t level, const char* format, ...) __attribute__((format(printf, 2, 3)));

} // namespace Conduit2
