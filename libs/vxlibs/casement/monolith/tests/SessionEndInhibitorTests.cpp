// The inhibitor lock when the system bus does not answer: the lock is
// refused, with the reason, within the call's bound, so that the window is
// never held up for long. The lock itself is taken from a mock session
// manager by the updater's window tests (tests/updater-window).
#include <casement/FileDescriptor.h>
#include <casement/SessionEndInhibitor.h>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

using namespace Casement;

namespace {

// A Unix socket that takes connections into its backlog and never answers,
// as a bus daemon that hangs does.
class SilentSocket {
public:
    SilentSocket() : folder_(std::filesystem::temp_directory_path() / ("silent-bus-" + std::to_string(getpid())))
    {
        std::filesystem::create_directories(folder_);
        const std::string path = (folder_ / "socket").string();
        socket_ = DETAIL::FileDescriptor(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        listening_ = ::bind(socket_.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
                     ::listen(socket_.get(), 4) == 0;
        address_ = "unix:path=" + path;
    }
    ~SilentSocket() { std::filesystem::remove_all(folder_); }

    bool listening() const { return listening_; }
    const std::string& address() const { return address_; }

private:
    std::filesystem::path folder_;
    DETAIL::FileDescriptor socket_;
    bool listening_ = false;
    std::string address_;
};

} // namespace

TEST(SessionEndInhibitor, WithoutAnAnsweringBusTheLockIsRefusedWithinTheBoundAndSaysWhy)
{
    const SilentSocket silent;
    ASSERT_TRUE(silent.listening());
    const struct {
        std::string address;
        std::string failure;
    } buses[] = {
        {"unix:path=/nonexistent", "the system bus cannot be reached: No such file or directory"},
        {silent.address(), "the system bus cannot be reached: Connection timed out"},
    };
    for (const auto& [address, failure] : buses) {
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", address.c_str(), 1);
        SessionEndInhibitor lock({"shutdown:sleep", "test", "testing", "block"});
        const auto started = std::chrono::steady_clock::now();
        EXPECT_FALSE(lock.acquire()) << address;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1500)) << address;
        EXPECT_FALSE(lock.isHeld()) << address;
        EXPECT_EQ(lock.failure(), failure);
    }
    ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
}
