#include "casement/DescriptorWatcher.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <system_error>

#include <sys/eventfd.h>

namespace Casement::DETAIL {
namespace {

using tClock = DescriptorWatcher::tClock;

bool sameDescriptors(const std::vector<pollfd>& left, const std::vector<pollfd>& right)
{
    return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                      [](const pollfd& a, const pollfd& b) { return a.fd == b.fd && a.events == b.events; });
}

// Rounded up, so that the wait never ends before the deadline.
int pollTimeout(const std::optional<tClock::time_point>& deadline)
{
    if (!deadline) {
        return -1;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - tClock::now());
    return static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, INT_MAX));
}

} // namespace

DescriptorWatcher::DescriptorWatcher(std::function<void()> onReady)
    : onReady_(std::move(onReady)), control_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (!control_.valid()) {
        return;
    }
    try {
        thread_ = std::thread([this] { watch(); });
    } catch (const std::system_error&) {
        // No thread: started() says so.
    }
}

DescriptorWatcher::~DescriptorWatcher()
{
    if (!thread_.joinable()) {
        return;
    }
    {
        const std::lock_guard guard(lock_);
        stopping_ = true;
    }
    interrupt();
    thread_.join();
}

void DescriptorWatcher::arm(std::vector<pollfd> descriptors, std::optional<tClock::time_point> deadline)
{
    bool changed = false;
    {
        const std::lock_guard guard(lock_);
        const bool earlier = deadline && (!deadline_ || *deadline < *deadline_ - Tolerance);
        changed = !armed_ || earlier || !sameDescriptors(descriptors, descriptors_);
        if (changed) {
            descriptors_ = std::move(descriptors);
            deadline_ = deadline;
        } else if (!deadline || *deadline > *deadline_) {
            deadline_ = deadline;
        }
        armed_ = true;
    }
    if (changed) {
        interrupt();
    }
}

void DescriptorWatcher::watch()
{
    for (;;) {
        tWait wait = nextWait();
        if (wait.stop) {
            return;
        }
        wait.descriptors.push_back(pollfd{control_.get(), POLLIN, 0});
        const int ready = ::poll(wait.descriptors.data(), wait.descriptors.size(), pollTimeout(wait.deadline));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (wait.descriptors.back().revents != 0) {
            std::uint64_t count = 0;
            [[maybe_unused]] const auto drained = ::read(control_.get(), &count, sizeof count);
            continue;
        }
        // A failed poll counts as ready: the owner then looks for itself.
        if (takeReady(ready != 0)) {
            onReady_();
        }
    }
}

// A disarmed watcher waits on the control descriptor alone.
DescriptorWatcher::tWait DescriptorWatcher::nextWait()
{
    const std::lock_guard guard(lock_);
    if (stopping_) {
        return tWait{{}, std::nullopt, true};
    }
    if (!armed_) {
        return tWait{};
    }
    return tWait{descriptors_, deadline_};
}

// A time-out counts only when the deadline, which may have moved later while
// the thread waited, has really passed.
bool DescriptorWatcher::takeReady(bool descriptorReady)
{
    const std::lock_guard guard(lock_);
    if (!armed_ || (!descriptorReady && (!deadline_ || tClock::now() < *deadline_))) {
        return false;
    }
    armed_ = false;
    return true;
}

void DescriptorWatcher::interrupt()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(control_.get(), &one, sizeof one);
}

} // namespace Casement::DETAIL
