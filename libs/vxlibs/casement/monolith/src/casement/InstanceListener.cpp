#include "casement/InstanceListener.h"

#include "casement/FrameworkEvents.h"
#include "casement/InstanceMessage.h"
#include "casement/InstanceSocket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <optional>

namespace Casement::DETAIL {
namespace {

// How long one sender may take to deliver its message.
constexpr timeval ReceiveTimeout{1, 0};

std::optional<std::vector<std::uint8_t>> readAll(int connection)
{
    std::vector<std::uint8_t> bytes;
    std::array<std::uint8_t, 4096> chunk{};
    for (;;) {
        const ssize_t count = ::recv(connection, chunk.data(), chunk.size(), 0);
        if (count == 0) {
            return bytes;
        }
        if (count < 0 || bytes.size() + static_cast<std::size_t>(count) > InstanceMessage::MaxSize) {
            return std::nullopt;
        }
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + count);
    }
}

} // namespace

InstanceListener::InstanceListener(FileDescriptor listening, std::string socketPath, uid_t owner)
    : listening_(std::move(listening))
    , socketPath_(std::move(socketPath))
    , owner_(owner)
{
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) == 0) {
        wakeRead_ = FileDescriptor(ends[0]);
        wakeWrite_ = FileDescriptor(ends[1]);
        thread_ = std::thread([this] { serve(); });
    }
}

InstanceListener::~InstanceListener()
{
    if (thread_.joinable()) {
        const char stop = 1;
        [[maybe_unused]] const ssize_t written = ::write(wakeWrite_.get(), &stop, 1);
        thread_.join();
    }
    if (!socketPath_.empty()) {
        ::unlink(socketPath_.c_str());
    }
}

std::vector<std::u16string> InstanceListener::takePending()
{
    const std::lock_guard guard(lock_);
    std::vector<std::u16string> taken(pending_.begin(), pending_.end());
    pending_.clear();
    return taken;
}

void InstanceListener::serve()
{
    for (;;) {
        std::array<pollfd, 2> watched{{{listening_.get(), POLLIN, 0}, {wakeRead_.get(), POLLIN, 0}}};
        if (::poll(watched.data(), watched.size(), -1) < 0 && errno != EINTR) {
            return;
        }
        if (watched[1].revents != 0) {
            return;
        }
        if ((watched[0].revents & POLLIN) != 0) {
            const FileDescriptor connection(::accept4(listening_.get(), nullptr, nullptr, SOCK_CLOEXEC));
            if (connection.valid()) {
                receiveFrom(connection);
            }
        }
    }
}

void InstanceListener::receiveFrom(const FileDescriptor& connection)
{
    if (!InstanceSocket::peerIs(connection, owner_)) {
        return;
    }
    ::setsockopt(connection.get(), SOL_SOCKET, SO_RCVTIMEO, &ReceiveTimeout, sizeof ReceiveTimeout);
    const std::optional<std::vector<std::uint8_t>> bytes = readAll(connection.get());
    const std::optional<std::u16string> path =
        bytes ? InstanceMessage::decode(*bytes) : std::nullopt;
    if (!path) {
        return;
    }
    {
        const std::lock_guard guard(lock_);
        pending_.push_back(*path);
    }
    FrameworkEvents::push(FrameworkEvents::InstanceMessage, 0);
}

} // namespace Casement::DETAIL
