#include "casement/FileDescriptor.h"
#include "casement/InstanceListener.h"
#include "casement/InstanceMessage.h"
#include "casement/InstanceSocket.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Casement::DETAIL::FileDescriptor;
using Casement::DETAIL::InstanceListener;
using Casement::DETAIL::InstanceMessage;
using Casement::DETAIL::InstanceSocket;

TEST(InstanceMessages, CarryAZeroTerminatedUtf16Path)
{
    const std::vector<std::uint8_t> bytes = InstanceMessage::encode(u"/tmp/\u00e9");
    ASSERT_EQ(bytes.size(), 8u + 2 * 6 + 2);
    EXPECT_EQ(bytes[0], 0x13);
    EXPECT_EQ(bytes[1], 0x27);
    EXPECT_EQ(bytes[4], 14);
    EXPECT_EQ(InstanceMessage::decode(bytes), std::u16string(u"/tmp/\u00e9"));
    EXPECT_EQ(InstanceMessage::decode(InstanceMessage::encode(u"")), std::u16string());
    EXPECT_TRUE(InstanceMessage::encode(std::u16string(u"a\0b", 3)).empty());
    EXPECT_TRUE(InstanceMessage::encode(std::u16string(InstanceMessage::MaxPathUnits + 1, u'a')).empty());
}

TEST(InstanceMessages, AnythingButTheExactFormatIsRefused)
{
    const std::vector<std::uint8_t> good = InstanceMessage::encode(u"/x");
    auto changed = [&](std::size_t index, std::uint8_t value) {
        std::vector<std::uint8_t> bytes = good;
        bytes[index] = value;
        return InstanceMessage::decode(bytes);
    };
    EXPECT_FALSE(changed(0, 0x14));              // another identifier
    EXPECT_FALSE(changed(4, 4));                 // length shorter than the text
    EXPECT_FALSE(changed(4, 8));                 // length longer than the text
    EXPECT_FALSE(changed(good.size() - 2, 'x')); // no terminator
    EXPECT_FALSE(changed(8, 0));                 // a zero inside the text
    std::vector<std::uint8_t> odd = good;
    odd.push_back(0);
    odd[4] = 7;
    EXPECT_FALSE(InstanceMessage::decode(odd));
    EXPECT_FALSE(InstanceMessage::decode(std::vector<std::uint8_t>(good.begin(), good.begin() + 8)));
    EXPECT_FALSE(InstanceMessage::decode({}));
}

TEST(InstanceSockets, AnUnsafeRuntimeDirectoryFallsBackToAnAbstractSocket)
{
    const fs::path directory = fs::temp_directory_path() / ("shell-open-" + std::to_string(::getpid()));
    fs::create_directories(directory);
    ::chmod(directory.c_str(), 0755);
    ::setenv("XDG_RUNTIME_DIR", directory.c_str(), 1);
    const auto address = InstanceSocket::addressFor("Marker");
    ASSERT_TRUE(address);
    EXPECT_TRUE(address->path.empty());
    EXPECT_EQ(address->address.sun_path[0], '\0');
    EXPECT_EQ(std::string(address->address.sun_path + 1), "Marker-" + std::to_string(::getuid()));

    ::chmod(directory.c_str(), 0700);
    EXPECT_EQ(InstanceSocket::addressFor("Marker")->path, (directory / "Marker").string());
    EXPECT_FALSE(InstanceSocket::addressFor("a/b"));
    EXPECT_FALSE(InstanceSocket::addressFor(std::string(200, 'n')));
    ::unsetenv("XDG_RUNTIME_DIR");
    fs::remove_all(directory);
}

// A listener in this process on an abstract socket of its own, and the peer
// that talks to it.
class OneListener : public ::testing::Test {
protected:
    using tClock = std::chrono::steady_clock;

    void SetUp() override
    {
        ::unsetenv("XDG_RUNTIME_DIR");
        address = *InstanceSocket::addressFor(
            "TVSListener-" + std::to_string(::getpid()) + "-"
            + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    std::unique_ptr<InstanceListener> listen(uid_t owner, std::chrono::milliseconds timeout)
    {
        return std::make_unique<InstanceListener>(InstanceSocket::listenAt(address), "", owner,
                                                  timeout);
    }

    // Sends `bytes` one at a time, `pause` apart, until the listener closes the
    // connection; then the time from the first byte, or nothing when the
    // listener did not close it within `pause` of the last byte.
    std::optional<tClock::duration> trickle(const std::vector<std::uint8_t>& bytes,
                                            std::chrono::milliseconds pause)
    {
        const FileDescriptor socket = InstanceSocket::connectTo(address);
        EXPECT_TRUE(socket.valid());
        const tClock::time_point start = tClock::now();
        for (const std::uint8_t byte : bytes) {
            if (::send(socket.get(), &byte, 1, MSG_NOSIGNAL) != 1 || closedWithin(socket, pause)) {
                return tClock::now() - start;
            }
        }
        return std::nullopt;
    }

    static bool closedWithin(const FileDescriptor& socket, std::chrono::milliseconds limit)
    {
        pollfd watched{socket.get(), POLLIN, 0};
        return ::poll(&watched, 1, static_cast<int>(limit.count())) == 1;
    }

    InstanceSocket::tAddress address;
};

TEST_F(OneListener, AListenerOfAnotherUserIsNoOtherCopy)
{
    const auto listener = listen(::getuid(), InstanceListener::MessageTimeout);
    EXPECT_TRUE(InstanceSocket::connectTo(address).valid());
    address.owner = ::getuid() + 1;
    EXPECT_FALSE(InstanceSocket::connectTo(address).valid());
    // It holds the name all the same: this copy cannot become the marker either.
    EXPECT_FALSE(InstanceSocket::listenAt(address).valid());
}

TEST_F(OneListener, MessagesOfAnotherUserAreDroppedUnread)
{
    const std::vector<std::uint8_t> message = InstanceMessage::encode(u"/x");
    struct Case {
        uid_t owner;
        std::size_t taken;
        // Closing a connection with bytes left unread resets it.
        bool reset;
    };
    for (const Case& test : {Case{::getuid() + 1, 0, true}, Case{::getuid(), 1, false}}) {
        FileDescriptor listening = InstanceSocket::listenAt(address);
        const FileDescriptor socket = InstanceSocket::connectTo(address);
        ASSERT_EQ(::send(socket.get(), message.data(), message.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(message.size()));
        ::shutdown(socket.get(), SHUT_WR);
        // Started only now, the listener finds the whole message waiting.
        InstanceListener listener(std::move(listening), "", test.owner);
        ASSERT_TRUE(closedWithin(socket, std::chrono::milliseconds(2000)));
        char byte = 0;
        EXPECT_EQ(::recv(socket.get(), &byte, 1, 0) < 0 && errno == ECONNRESET, test.reset)
            << "owner " << test.owner;
        EXPECT_EQ(listener.takePending().size(), test.taken) << "owner " << test.owner;
    }
}

TEST_F(OneListener, ASenderThatTricklesIsCutOffAtTheTimeOutOfTheWholeMessage)
{
    constexpr std::chrono::milliseconds timeout(200);
    const auto listener = listen(::getuid(), timeout);
    const std::optional<tClock::duration> cutOff =
        trickle(InstanceMessage::encode(u"/x"), timeout * 6 / 10);
    ASSERT_TRUE(cutOff);
    EXPECT_GE(*cutOff, timeout * 9 / 10);
    EXPECT_LT(*cutOff, timeout * 2);
    EXPECT_TRUE(listener->takePending().empty());
}

// The user-interface thread ends the listener at shut-down.
TEST_F(OneListener, EndingIsNotHeldUpByASenderInTheMiddleOfAMessage)
{
    auto listener = listen(::getuid(), std::chrono::milliseconds(5000));
    const FileDescriptor socket = InstanceSocket::connectTo(address);
    ASSERT_EQ(::send(socket.get(), "\x13", 1, MSG_NOSIGNAL), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // until the listener reads
    const tClock::time_point start = tClock::now();
    listener.reset();
    EXPECT_LT(tClock::now() - start, std::chrono::milliseconds(500));
}

// Runs copies of the helper program in a private runtime directory.
class TwoCopies : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string unique = std::to_string(::getpid()) + "-"
            + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        directory = fs::temp_directory_path() / ("shell-instance-" + unique);
        fs::remove_all(directory);
        fs::create_directories(directory);
        ::chmod(directory.c_str(), 0700);
        name = "TVSShellTest-" + std::to_string(::getpid());
        socketPath = directory / name;
        // The test's own sockets use the same directory as the copies.
        ::setenv("XDG_RUNTIME_DIR", directory.c_str(), 1);
    }
    void TearDown() override
    {
        for (const pid_t pid : running) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        ::unsetenv("XDG_RUNTIME_DIR");
        fs::remove_all(directory);
    }

    pid_t spawn(const std::string& log, const std::vector<std::string>& arguments = {})
    {
        std::vector<std::string> environment{"XDG_RUNTIME_DIR=" + directory.string(),
                                             "INSTANCE_HELPER_NAME=" + name,
                                             "INSTANCE_HELPER_LOG=" + (directory / log).string()};
        std::vector<char*> envp;
        for (std::string& entry : environment) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);
        std::vector<std::string> args{INSTANCE_HELPER_PATH};
        args.insert(args.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& argument : args) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        pid_t pid = 0;
        EXPECT_EQ(::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()), 0);
        running.push_back(pid);
        return pid;
    }

    // The exit code, or -1 when the process did not end within five seconds.
    int waitForExit(pid_t pid)
    {
        for (int attempt = 0; attempt < 500; ++attempt) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                std::erase(running, pid);
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    std::vector<std::string> lines(const std::string& log)
    {
        std::ifstream file(directory / log);
        std::vector<std::string> result;
        for (std::string line; std::getline(file, line);) {
            result.push_back(line);
        }
        return result;
    }

    // Waits up to five seconds for the log to have `count` lines.
    std::vector<std::string> awaitLines(const std::string& log, std::size_t count)
    {
        for (int attempt = 0; attempt < 500 && lines(log).size() < count; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return lines(log);
    }

    int endFirstCopy(pid_t pid)
    {
        ::kill(pid, SIGTERM);
        return waitForExit(pid);
    }

    void sendRaw(const std::vector<std::uint8_t>& bytes)
    {
        const auto address = InstanceSocket::addressFor(name);
        ASSERT_TRUE(address);
        const Casement::DETAIL::FileDescriptor socket = InstanceSocket::connectTo(*address);
        ASSERT_TRUE(socket.valid());
        ASSERT_EQ(::send(socket.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(bytes.size()));
    }

    fs::path directory;
    fs::path socketPath;
    std::string name;
    std::vector<pid_t> running;
};

TEST_F(TwoCopies, TheSecondCopyHandsOverItsArgumentAndEndsWithoutAWindow)
{
    const pid_t first = spawn("first.log");
    ASSERT_EQ(awaitLines("first.log", 1), (std::vector<std::string>{"running"}));
    EXPECT_TRUE(fs::is_socket(socketPath));

    const fs::path item = directory / "firmware.bin";
    std::ofstream(item) << "x";
    // A relative argument: the running copy gets it as an absolute path.
    ::setenv("PWD", directory.c_str(), 1);
    const fs::path previous = fs::current_path();
    fs::current_path(directory);
    const pid_t second = spawn("second.log", {"firmware.bin"});
    fs::current_path(previous);
    EXPECT_EQ(waitForExit(second), 0);
    EXPECT_EQ(lines("second.log"), (std::vector<std::string>{"another copy runs", "ended"}));
    EXPECT_EQ(awaitLines("first.log", 3),
              (std::vector<std::string>{"running", "path " + item.string(), "raise"}));

    // No argument, or one that names nothing: the first copy only comes to the front.
    EXPECT_EQ(waitForExit(spawn("third.log")), 0);
    EXPECT_EQ(waitForExit(spawn("fourth.log", {(directory / "missing").string()})), 0);
    EXPECT_EQ(awaitLines("first.log", 5).size(), 5u);
    EXPECT_EQ(lines("first.log")[3], "raise");
    EXPECT_EQ(lines("first.log")[4], "raise");

    EXPECT_EQ(endFirstCopy(first), 0);
    EXPECT_EQ(lines("first.log").back(), "ended");
    EXPECT_FALSE(fs::exists(socketPath));
}

TEST_F(TwoCopies, MalformedMessagesAreDroppedWithoutEffect)
{
    const pid_t first = spawn("first.log");
    ASSERT_EQ(awaitLines("first.log", 1).size(), 1u);
    const std::string item = directory.string();
    std::vector<std::uint8_t> wrongIdentifier = InstanceMessage::encode(u"/tmp");
    wrongIdentifier[0] = 0x14;
    sendRaw(wrongIdentifier);
    std::vector<std::uint8_t> truncated = InstanceMessage::encode(u"/tmp");
    truncated.pop_back();
    sendRaw(truncated);
    sendRaw(std::vector<std::uint8_t>(InstanceMessage::MaxSize + 2, 0x13));
    sendRaw({});
    sendRaw(InstanceMessage::encode(std::u16string(item.begin(), item.end())));

    EXPECT_EQ(awaitLines("first.log", 3),
              (std::vector<std::string>{"running", "path " + item, "raise"}));
    EXPECT_EQ(endFirstCopy(first), 0);
}

TEST_F(TwoCopies, ASocketLeftByACrashedCopyIsTakenOver)
{
    {
        const auto address = InstanceSocket::addressFor(name);
        ASSERT_TRUE(address);
        const Casement::DETAIL::FileDescriptor stale(::socket(AF_UNIX, SOCK_STREAM, 0));
        ASSERT_EQ(::bind(stale.get(), reinterpret_cast<const sockaddr*>(&address->address),
                         address->length),
                  0);
    }
    ASSERT_TRUE(fs::is_socket(socketPath));

    const pid_t first = spawn("first.log");
    EXPECT_EQ(awaitLines("first.log", 1), (std::vector<std::string>{"running"}));
    EXPECT_EQ(waitForExit(spawn("second.log")), 0);
    EXPECT_EQ(lines("second.log").front(), "another copy runs");
    EXPECT_EQ(endFirstCopy(first), 0);
}

} // namespace
