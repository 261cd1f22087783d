#include "casement/InterruptRelay.h"

#include "casement/MessageLoop.h"
#include "casement/ShellEvents.h"

#include <array>
#include <cerrno>

#include <fcntl.h>
#include <poll.h>

namespace Casement {

InterruptRelay::InterruptRelay()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) == 0) {
        stopRead_ = DETAIL::FileDescriptor(ends[0]);
        stopWrite_ = DETAIL::FileDescriptor(ends[1]);
    }
    if (watch_.wakeDescriptor() >= 0 && stopRead_.valid()) {
        thread_ = std::thread([this] { relay(); });
    }
}

InterruptRelay::~InterruptRelay()
{
    if (thread_.joinable()) {
        [[maybe_unused]] const auto written = ::write(stopWrite_.get(), "", 1);
        thread_.join();
    }
}

// One post for each wake; a burst of signals between two wakes is one post,
// and the application reads the count.
void InterruptRelay::relay()
{
    std::array<pollfd, 2> waits{{{watch_.wakeDescriptor(), POLLIN, 0}, {stopRead_.get(), POLLIN, 0}}};
    for (;;) {
        if (::poll(waits.data(), waits.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (waits[1].revents != 0) {
            return;
        }
        char drained[64];
        while (::read(watch_.wakeDescriptor(), drained, sizeof drained) > 0) {
        }
        MessageLoop::postCommand(nullptr, InterruptCommand);
    }
}

} // namespace Casement
