#pragma once

#include "conduit2/HardwareLog.h"

namespace Conduit2 {

// The system log as the hardware log's event source: each event is one
// error-priority line "event 0x<id>: <text>".
class SyslogEventSource final : public LogEventSource {
public:
    explicit SyslogEventSource(std::string identity);
    ~SyslogEventSource() override;
    SyslogEventSource(const SyslogEventSource&) = delete;
    SyslogEventSource& operator=(const SyslogEventSource&) = delete;

    void report(std::uint32_t eventId, const char* text) override;

private:
    std::string identity_;  // openlog keeps a pointer to it
};

} // namespace Conduit2
