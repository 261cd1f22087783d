#include "casement/InstanceSocket.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace Casement::DETAIL {
namespace {

bool isPrivateDirectory(const char* directory)
{
    struct stat status {};
    return directory != nullptr && *directory == '/' && ::stat(directory, &status) == 0
        && S_ISDIR(status.st_mode) && status.st_uid == ::getuid()
        && (status.st_mode & 0777) == 0700;
}

std::optional<InstanceSocket::tAddress> makeAddress(const std::string& name, bool abstract)
{
    InstanceSocket::tAddress result;
    result.address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;
    if (name.size() + offset + 1 > sizeof result.address.sun_path) {
        return std::nullopt;
    }
    std::memcpy(result.address.sun_path + offset, name.data(), name.size());
    result.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + name.size()
                                           + (abstract ? 0 : 1));
    if (!abstract) {
        result.path = name;
    }
    return result;
}

FileDescriptor newSocket()
{
    return FileDescriptor(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
}

// A connected socket, or an invalid one when nobody accepts at the address.
FileDescriptor connectSocket(const InstanceSocket::tAddress& address)
{
    FileDescriptor socket = newSocket();
    if (socket.valid()
        && ::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address.address),
                     address.length)
            != 0) {
        socket.reset();
    }
    return socket;
}

bool bindAndListen(const FileDescriptor& socket, const InstanceSocket::tAddress& address)
{
    return ::bind(socket.get(), reinterpret_cast<const sockaddr*>(&address.address),
                  address.length)
            == 0
        && ::listen(socket.get(), 8) == 0;
}

} // namespace

std::optional<InstanceSocket::tAddress> InstanceSocket::addressFor(std::string_view name)
{
    if (name.empty() || name.find('/') != std::string_view::npos
        || name.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (isPrivateDirectory(runtime)) {
        return makeAddress(std::string(runtime) + "/" + std::string(name), false);
    }
    return makeAddress(std::string(name) + "-" + std::to_string(::getuid()), true);
}

FileDescriptor InstanceSocket::connectTo(const tAddress& address)
{
    FileDescriptor socket = connectSocket(address);
    if (socket.valid() && !peerIs(socket, address.owner)) {
        socket.reset();
    }
    return socket;
}

FileDescriptor InstanceSocket::listenAt(const tAddress& address)
{
    FileDescriptor socket = newSocket();
    if (!socket.valid() || bindAndListen(socket, address)) {
        return socket;
    }
    if (errno != EADDRINUSE || address.path.empty() || connectSocket(address).valid()) {
        return FileDescriptor();
    }
    // A socket file nobody accepts on: left by a copy that ended abruptly.
    ::unlink(address.path.c_str());
    socket = newSocket();
    if (!socket.valid() || !bindAndListen(socket, address)) {
        return FileDescriptor();
    }
    return socket;
}

bool InstanceSocket::peerIs(const FileDescriptor& socket, uid_t user)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(socket.get(), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0
        && size == sizeof peer && peer.uid == user;
}

} // namespace Casement::DETAIL
