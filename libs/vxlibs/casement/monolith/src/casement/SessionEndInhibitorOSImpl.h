#pragma once

#include "casement/FileDescriptor.h"
#include "casement/SessionEndInhibitor.h"

#include <systemd/sd-bus.h>

#include <cstdint>
#include <string>

namespace Casement {

// The sd-bus half of SessionEndInhibitor: one call of
// org.freedesktop.login1.Manager.Inhibit on a connection to the system bus
// that lives only for the call. The whole exchange (connecting,
// authenticating, the call) is bounded by one deadline, so that a bus or a
// session manager that does not answer holds the user-interface thread for
// at most CallTimeout.
class SessionEndInhibitor::OSImpl {
public:
    explicit OSImpl(tInhibition inhibition) : inhibition_(std::move(inhibition)) {}

    bool acquire();
    void release() { lock_.reset(); }
    bool isHeld() const { return lock_.valid(); }
    const std::string& failure() const { return failure_; }

    static constexpr std::uint64_t CallTimeout = 1000000; // microseconds

private:
    bool fail(const std::string& why);
    bool inhibit(sd_bus* bus, std::uint64_t deadline);

    tInhibition inhibition_;
    DETAIL::FileDescriptor lock_;
    std::string failure_;
};

} // namespace Casement
