#include "basalt/TextFile.h"

#include <fmt/format.h>

#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Basalt {
namespace {

std::string reason(int error)
{
    return std::make_error_code(static_cast<std::errc>(error)).message();
}

// Appends the rest of `fd` to `text`, up to `largest` bytes in all; an errno value, or 0.
int readAll(int fd, std::size_t largest, std::string& text)
{
    char buffer[16384];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return count == 0 ? 0 : errno;
        }
        text.append(buffer, static_cast<std::size_t>(count));
        if (text.size() > largest) {
            return EFBIG;
        }
    }
}

// Writes `text` to `fd` and waits until it is on the disk; an errno value, or 0.
int writeAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t count = ::write(fd, text.data(), text.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return errno;
        }
        text.remove_prefix(static_cast<std::size_t>(count));
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

} // namespace

// Opening does not wait (a FIFO would wait for a writer for ever).
eFileRead readTextFile(const std::string& path, std::size_t largest, std::string& text, std::string& error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int failure = errno;
        error = reason(failure);
        return failure == ENOENT ? eFileRead::Missing : eFileRead::Failed;
    }
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    text.clear();
    const int failure = regular ? readAll(fd, largest, text) : 0;
    ::close(fd);
    if (!regular || failure != 0) {
        error = regular ? reason(failure) : "it is not a regular file";
        return eFileRead::Failed;
    }
    return eFileRead::Read;
}

bool replaceTextFile(const std::string& path, std::string_view text, std::string& error)
{
    const std::string temporary = fmt::format("{}.{}.tmp", path, ::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        error = reason(errno);
        return false;
    }
    int failure = writeAll(fd, text);
    if (::close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure == 0 && ::rename(temporary.c_str(), path.c_str()) == 0) {
        return true;
    }
    failure = failure != 0 ? failure : errno;
    ::unlink(temporary.c_str());
    error = reason(failure);
    return false;
}

} // namespace Basalt
