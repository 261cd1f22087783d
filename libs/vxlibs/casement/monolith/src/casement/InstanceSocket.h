#pragma once

#include "casement/FileDescriptor.h"

#include <sys/socket.h>
#include <sys/un.h>

#include <optional>
#include <string>
#include <string_view>

namespace Casement::DETAIL {

// The per-user Unix-domain socket that marks the running copy of a program:
// "<instance name>" in $XDG_RUNTIME_DIR when that directory belongs to the
// user and has mode 0700, otherwise the abstract socket
// "<instance name>-<user id>".
class InstanceSocket {
public:
    struct tAddress {
        sockaddr_un address{};
        socklen_t length = 0;
        // The socket file; empty for an abstract socket.
        std::string path;
        // The user whose copy listens here.
        uid_t owner = ::getuid();
    };

    // Nothing when the name is empty, holds a '/' or does not fit.
    static std::optional<tAddress> addressFor(std::string_view name);
    // A socket connected to the owner's copy; invalid when nobody listens or
    // the listener runs as another user (who can bind an abstract name).
    static FileDescriptor connectTo(const tAddress& address);
    // A listening socket; a socket file left by a copy that ended without
    // removing it (nobody accepts on it) is replaced. Invalid when another
    // copy listens or the socket cannot be made.
    static FileDescriptor listenAt(const tAddress& address);
    // True when the process at the other end of a connected socket runs as `user`.
    static bool peerIs(const FileDescriptor& socket, uid_t user);
};

} // namespace Casement::DETAIL
