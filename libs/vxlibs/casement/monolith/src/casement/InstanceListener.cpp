#include "casement/InstanceListener.h"

#include "casement/FrameworkEvents.h"
#include "casement/InstanceMessage.h"
#include "casement/InstanceSocket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <optional>

namespace Casement::DETAIL {
namespace {

using tClock = std::chrono::steady_clock;

// True when `connection` has something to read (or was closed) before the
// deadline and nothing arrived on `wake` meanwhile.
bool awaitInput(int connection, int wake, tClock::time_point deadline)
{
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - tClock::now());
        if (left.count() <= 0) {
            return false;
        }
        std::array<pollfd, 2> watched{{{connection, POLLIN, 0}, {wake, POLLIN, 0}}};
        const int ready = ::poll(watched.data(), watched.size(), static_cast<int>(left.count()));
        if (ready >= 0 || errno != EINTR) {
            return ready > 0 && watched[1].revents == 0;
        }
    }
}

// The bytes of the non-blocking `connection` up to the sender's end of it.
// Nothing when they do not fit a message, do not all arrive before the
// deadline, or the listener is asked to stop.
std::optional<std::vector<std::uint8_t>> readAll(int connection, int wake, tClock::time_point deadline)
{
    std::vector<std::uint8_t> bytes;
    std::array<std::uint8_t, 4096> chunk{};
    while (awaitInput(connection, wake, deadline)) {
        const ssize_t count = ::recv(connection, chunk.data(), chunk.size(), 0);
        if (count == 0) {
            return bytes;
        }
        if (count < 0 && (errno == EAGAIN || errno == EINTR)) {
            continue;
        }
        if (count < 0 || bytes.size() + static_cast<std::size_t>(count) > InstanceMessage::MaxSize) {
            return std::nullopt;
        }
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + count);
    }
    return std::nullopt;
}

} // namespace

InstanceListener::InstanceListener(FileDescriptor listening, std::string socketPath, uid_t owner,
                                   std::chrono::milliseconds messageTimeout)
    : listening_(std::move(listening))
    , socketPath_(std::move(socketPath))
    , owner_(owner)
    , messageTimeout_(messageTimeout)
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
            const FileDescriptor connection(
                ::accept4(listening_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
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
    // One deadline for the whole message: a sender that trickles its bytes
    // cannot keep the listener (and the shut-down that waits for it) busy.
    const std::optional<std::vector<std::uint8_t>> bytes =
        readAll(connection.get(), wakeRead_.get(), tClock::now() + messageTimeout_);
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
