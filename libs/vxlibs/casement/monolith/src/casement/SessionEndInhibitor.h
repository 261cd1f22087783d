#pragma once

#include <memory>
#include <string>

namespace Casement {

// What an inhibitor lock holds off, who holds it and why, in the words the
// session manager shows the user. `what` is a colon-separated list of the
// session's ends ("shutdown:sleep"); `mode` is "block" or "delay".
struct tInhibition {
    std::string what;
    std::string who;
    std::string why;
    std::string mode;
};

// A lock that holds off the ends of the user's session (logout, shutdown,
// suspend) while it is held: a systemd-logind inhibitor lock taken over the
// system bus ($DBUS_SYSTEM_BUS_ADDRESS when set). The lock is a file
// descriptor that child processes do not inherit, so it ends with this
// object, with release(), or with the process.
class SessionEndInhibitor {
public:
    class OSImpl;

    explicit SessionEndInhibitor(tInhibition inhibition);
    ~SessionEndInhibitor();
    SessionEndInhibitor(const SessionEndInhibitor&) = delete;
    SessionEndInhibitor& operator=(const SessionEndInhibitor&) = delete;

    // Takes the lock unless it is held. Waits at most about a second for the
    // bus and the session manager. False when the lock cannot be taken;
    // failure() then says why.
    bool acquire();
    void release();
    bool isHeld() const;
    // Why the last acquire() failed, in the bus's words.
    const std::string& failure() const;

private:
    std::unique_ptr<OSImpl> impl_;
};

} // namespace Casement
