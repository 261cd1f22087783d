#pragma once

#include "casement/FileDescriptor.h"

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <poll.h>

namespace Casement::DETAIL {

// Waits on a thread of its own for one of a set of file descriptors to become
// ready or for a deadline to pass, on behalf of a thread that cannot wait on
// them itself. Once armed, it calls `onReady` (on its own thread) a single
// time and disarms itself until armed again. Arming with the set it already
// watches and a deadline no more than Tolerance earlier leaves the waiting
// thread alone, so that re-arming on every turn of a loop costs it nothing; a
// deadline that moved later is taken when the earlier one passes, without a
// call. A control descriptor (an eventfd, not inherited by child processes)
// interrupts the wait when the set or the deadline changes and when the
// watcher is destroyed, which joins the thread.
class DescriptorWatcher {
public:
    using tClock = std::chrono::steady_clock;
    static constexpr auto Tolerance = std::chrono::milliseconds(2);

    explicit DescriptorWatcher(std::function<void()> onReady);
    ~DescriptorWatcher();
    DescriptorWatcher(const DescriptorWatcher&) = delete;
    DescriptorWatcher& operator=(const DescriptorWatcher&) = delete;

    // False when the control descriptor or the thread could not be made.
    bool started() const { return thread_.joinable(); }

    // Watches `descriptors` (fd and events; revents is ignored) until one is
    // ready or `deadline` has passed; no deadline waits for the descriptors
    // alone.
    void arm(std::vector<pollfd> descriptors, std::optional<tClock::time_point> deadline);

private:
    struct tWait {
        std::vector<pollfd> descriptors;
        std::optional<tClock::time_point> deadline;
        bool stop = false;
    };

    void watch();
    tWait nextWait();
    bool takeReady(bool descriptorReady);
    void interrupt();

    std::function<void()> onReady_;
    FileDescriptor control_;
    std::mutex lock_;
    std::vector<pollfd> descriptors_;
    std::optional<tClock::time_point> deadline_;
    bool armed_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace Casement::DETAIL
