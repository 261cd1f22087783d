#include "casement/MainContextPumpOSImpl.h"

#include "casement/FrameworkEvents.h"

#include <chrono>
#include <optional>

namespace Casement {
namespace {

using DETAIL::FrameworkEvents;

constexpr std::size_t InitialDescriptors = 8;

void wakeLoop()
{
    FrameworkEvents::push(FrameworkEvents::MainContextReady, 0);
}

} // namespace

MainContextPump::OSImpl::OSImpl(tOwnedContext context)
    : context_(std::move(context)), descriptors_(InitialDescriptors), watcher_(&wakeLoop)
{
}

std::unique_ptr<MainContextPump::OSImpl> MainContextPump::OSImpl::start()
{
    GMainContext* context = g_main_context_default();
    if (!g_main_context_acquire(context)) {
        return nullptr;
    }
    std::unique_ptr<OSImpl> impl(new OSImpl(tOwnedContext(context)));
    if (!impl->watcher_.started()) {
        return nullptr;
    }
    return impl;
}

void MainContextPump::OSImpl::serve()
{
    for (int round = 0; round < MaxRounds; ++round) {
        if (retired_ || !cycle()) {
            return;
        }
    }
    // Still busy: the loop comes back once the events waiting in SDL's queue
    // had their turn.
    if (!retired_) {
        watcher_.arm({}, tClock::now());
    }
}

// True when the round did something (dispatched, or took a ready descriptor);
// otherwise the watcher is armed with what the round queried.
bool MainContextPump::OSImpl::cycle()
{
    gint priority = 0;
    g_main_context_prepare(context_.get(), &priority);
    gint timeout = -1;
    const gint count = query(priority, timeout);
    const bool descriptorReady = g_poll(descriptors_.data(), static_cast<guint>(count), 0) > 0;
    if (g_main_context_check(context_.get(), priority, descriptors_.data(), count)) {
        g_main_context_dispatch(context_.get());
        return true;
    }
    if (descriptorReady) {
        return true;
    }
    arm(count, timeout);
    return false;
}

gint MainContextPump::OSImpl::query(gint priority, gint& timeout)
{
    for (;;) {
        const auto room = static_cast<gint>(descriptors_.size());
        const gint count = g_main_context_query(context_.get(), priority, &timeout, descriptors_.data(), room);
        if (count <= room) {
            return count;
        }
        descriptors_.resize(static_cast<std::size_t>(count));
    }
}

void MainContextPump::OSImpl::arm(gint count, gint timeout)
{
    std::vector<pollfd> watched;
    watched.reserve(static_cast<std::size_t>(count));
    for (gint index = 0; index < count; ++index) {
        const GPollFD& descriptor = descriptors_[static_cast<std::size_t>(index)];
        watched.push_back(pollfd{descriptor.fd, static_cast<short>(descriptor.events), 0});
    }
    std::optional<tClock::time_point> deadline;
    if (timeout >= 0) {
        deadline = tClock::now() + std::chrono::milliseconds(timeout);
    }
    watcher_.arm(std::move(watched), deadline);
}

} // namespace Casement
