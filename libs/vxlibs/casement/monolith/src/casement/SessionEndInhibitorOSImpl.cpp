#include "casement/SessionEndInhibitorOSImpl.h"

#include <fcntl.h>
#include <time.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace Casement {
namespace {

// Closed without flushing: a flush waits, without a bound, for a connection
// that may never become ready.
struct tBusCloser {
    void operator()(sd_bus* bus) const { sd_bus_close_unref(bus); }
};
struct tMessageUnref {
    void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};

class BusError {
public:
    BusError() = default;
    ~BusError() { sd_bus_error_free(&error_); }
    BusError(const BusError&) = delete;
    BusError& operator=(const BusError&) = delete;

    sd_bus_error* get() { return &error_; }
    // The bus's message, else the system's text for the negative `code`.
    std::string text(int code) const
    {
        return sd_bus_error_is_set(&error_) && error_.message ? error_.message : std::strerror(-code);
    }

private:
    // All null, as SD_BUS_ERROR_NULL, whose compound literal is not C++.
    sd_bus_error error_{};
};

std::uint64_t monotonicMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000u;
}

// Runs the connection until it is ready for calls (authenticated and
// greeted by the bus) or the deadline passes. sd-bus's own wait for this,
// inside its calls, is bounded only by its 25 s default.
int waitUntilReady(sd_bus* bus, std::uint64_t deadline)
{
    for (;;) {
        if (sd_bus_is_ready(bus) > 0) {
            return 0;
        }
        int result = sd_bus_process(bus, nullptr);
        if (result < 0) {
            return result;
        }
        if (result > 0) {
            continue;
        }
        const std::uint64_t now = monotonicMicroseconds();
        if (now >= deadline) {
            return -ETIMEDOUT;
        }
        result = sd_bus_wait(bus, deadline - now);
        if (result < 0) {
            return result;
        }
    }
}

} // namespace

bool SessionEndInhibitor::OSImpl::acquire()
{
    if (lock_.valid()) {
        return true;
    }
    const std::uint64_t deadline = monotonicMicroseconds() + CallTimeout;
    sd_bus* opened = nullptr;
    int result = sd_bus_open_system(&opened);
    const std::unique_ptr<sd_bus, tBusCloser> bus(opened);
    if (result >= 0) {
        result = waitUntilReady(opened, deadline);
    }
    if (result < 0) {
        return fail(std::string("the system bus cannot be reached: ") + std::strerror(-result));
    }
    return inhibit(opened, deadline);
}

// The lock is the descriptor in the answer; the answer owns it, so it is
// duplicated, close-on-exec, so that a program this one starts (a web
// browser) does not keep the lock after this one releases it.
bool SessionEndInhibitor::OSImpl::inhibit(sd_bus* bus, std::uint64_t deadline)
{
    const std::uint64_t now = monotonicMicroseconds();
    sd_bus_set_method_call_timeout(bus, deadline > now ? deadline - now : 1);
    BusError error;
    sd_bus_message* answered = nullptr;
    int result = sd_bus_call_method(bus, "org.freedesktop.login1", "/org/freedesktop/login1",
                                    "org.freedesktop.login1.Manager", "Inhibit", error.get(), &answered, "ssss",
                                    inhibition_.what.c_str(), inhibition_.who.c_str(), inhibition_.why.c_str(),
                                    inhibition_.mode.c_str());
    const std::unique_ptr<sd_bus_message, tMessageUnref> answer(answered);
    if (result < 0) {
        return fail("the inhibitor lock was not granted: " + error.text(result));
    }
    int descriptor = -1;
    result = sd_bus_message_read(answered, "h", &descriptor);
    if (result >= 0) {
        descriptor = fcntl(descriptor, F_DUPFD_CLOEXEC, 3);
        result = descriptor < 0 ? -errno : 0;
    }
    if (result < 0) {
        return fail(std::string("the answer to the inhibitor call holds no lock: ") + std::strerror(-result));
    }
    lock_ = DETAIL::FileDescriptor(descriptor);
    failure_.clear();
    return true;
}

bool SessionEndInhibitor::OSImpl::fail(const std::string& why)
{
    failure_ = why;
    return false;
}

} // namespace Casement
