#include "conduit2/SyslogEventSource.h"

#include <syslog.h>

namespace Conduit2 {

SyslogEventSource::SyslogEventSource(std::string identity) : identity_(std::move(identity))
{
    openlog(identity_.c_str(), LOG_PID, LOG_USER);
}

SyslogEventSource::~SyslogEventSource()
{
    closelog();
}

void SyslogEventSource::report(std::uint32_t eventId, const char* text)
{
    syslog(LOG_ERR, "event 0x%08X: %s", eventId, text);
}

} // namespace Conduit2
