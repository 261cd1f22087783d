#include "basalt/FileStorage.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace Basalt {

namespace {

// Repeats a partial read or write at the advancing position until `count`
// bytes are done, the file ends or an error other than EINTR occurs.
template <typename Io>
std::size_t repeatIo(std::size_t count, std::int64_t position, Io io)
{
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = io(done, position + static_cast<std::int64_t>(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

// O_NONBLOCK: opening a FIFO for reading would wait for a writer for ever; it
// opens at once and is then refused as not a regular file. Reads and writes
// of a regular file never block, so the flag stays.
int openFlags(IStorage::eMode mode)
{
    return (mode == IStorage::ReadWrite ? O_RDWR | O_CREAT : O_RDONLY) | O_CLOEXEC | O_NONBLOCK;
}

// Without openat2: each folder on the way is opened from the one before
// without following a link, then the file likewise (absolute names and ".."
// are refused by the caller).
int openWalking(int folder, const std::string& name, int flags)
{
    int at = folder;
    std::size_t start = 0;
    for (std::size_t slash = name.find('/'); slash != std::string::npos && at >= 0; slash = name.find('/', start)) {
        const std::string component = name.substr(start, slash - start);
        start = slash + 1;
        if (component.empty()) {
            continue;
        }
        const int next = ::openat(at, component.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (at != folder) {
            ::close(at);
        }
        at = next;
    }
    const int fd = at >= 0 ? ::openat(at, name.c_str() + start, flags | O_NOFOLLOW, 0644) : -1;
    if (at >= 0 && at != folder) {
        ::close(at);
    }
    return fd;
}

// The kernel resolves the name beneath the folder and refuses every symbolic
// link on the way; a kernel without openat2 walks the name itself.
int openBeneath(int folder, const std::string& name, int flags)
{
    open_how how{};
    how.flags = static_cast<std::uint64_t>(flags);
    how.mode = (flags & O_CREAT) != 0 ? 0644 : 0;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    const long fd = ::syscall(SYS_openat2, folder, name.c_str(), &how, sizeof how);
    if (fd < 0 && errno == ENOSYS) {
        return openWalking(folder, name, flags);
    }
    return static_cast<int>(fd);
}

bool climbsOut(const std::string& name)
{
    if (name.empty() || name.front() == '/') {
        return true;
    }
    for (std::size_t start = 0; start <= name.size();) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        if (name.compare(start, end - start, "..") == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

} // namespace

FileStorage::~FileStorage()
{
    close();
}

bool FileStorage::open(const std::string& path, eMode mode)
{
    close();
    return mode != Closed && adopt(::open(path.c_str(), openFlags(mode), 0644), mode);
}

bool FileStorage::openInside(const std::string& folder, const std::string& name, eMode mode)
{
    close();
    if (mode == Closed || climbsOut(name)) {
        return false;
    }
    const int directory = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0) {
        return false;
    }
    const int fd = openBeneath(directory, name, openFlags(mode));
    ::close(directory);
    return adopt(fd, mode);
}

// Keeps an opened descriptor when it is a regular file.
bool FileStorage::adopt(int fd, eMode mode)
{
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    position_ = 0;
    mode_ = mode;
    return true;
}

void FileStorage::close()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = -1;
    position_ = 0;
    mode_ = Closed;
}

std::size_t FileStorage::read(void* buffer, std::size_t count)
{
    if (!isOpen()) {
        return 0;
    }
    const std::size_t done = repeatIo(count, position_, [&](std::size_t offset, std::int64_t at) {
        return ::pread(fd_, static_cast<char*>(buffer) + offset, count - offset, at);
    });
    position_ += static_cast<std::int64_t>(done);
    return done;
}

std::size_t FileStorage::write(const void* buffer, std::size_t count)
{
    if (mode_ != ReadWrite) {
        return 0;
    }
    const std::size_t done = repeatIo(count, position_, [&](std::size_t offset, std::int64_t at) {
        return ::pwrite(fd_, static_cast<const char*>(buffer) + offset, count - offset, at);
    });
    position_ += static_cast<std::int64_t>(done);
    return done;
}

std::int64_t FileStorage::tell() const
{
    return isOpen() ? position_ : -1;
}

std::int64_t FileStorage::size() const
{
    struct stat info {};
    if (!isOpen() || ::fstat(fd_, &info) != 0) {
        return -1;
    }
    return info.st_size;
}

bool FileStorage::seek64(std::int64_t offset, eOrigin origin)
{
    if (!isOpen()) {
        return false;
    }
    const std::int64_t target = DETAIL::seekTarget(position_, size(), offset, origin);
    if (target < 0) {
        return false;
    }
    position_ = target;
    return true;
}

} // namespace Basalt
