#include "basalt/MemoryStorage.h"

#include <algorithm>
#include <cstring>

namespace Basalt {

bool MemoryStorage::open(const void* data, std::size_t length)
{
    // Read mode never writes through the pointer.
    return open(const_cast<void*>(data), length, Read);
}

bool MemoryStorage::open(void* data, std::size_t length, eMode mode)
{
    close();
    if ((data == nullptr && length != 0) || mode == Closed) {
        return false;
    }
    data_ = static_cast<unsigned char*>(data);
    length_ = length;
    mode_ = mode;
    return true;
}

void MemoryStorage::close()
{
    data_ = nullptr;
    length_ = 0;
    position_ = 0;
    mode_ = Closed;
}

std::size_t MemoryStorage::read(void* buffer, std::size_t count)
{
    if (!isOpen()) {
        return 0;
    }
    const std::size_t n = std::min(count, length_ - position_);
    if (n != 0) {
        std::memcpy(buffer, data_ + position_, n);
    }
    position_ += n;
    return n;
}

std::size_t MemoryStorage::write(const void* buffer, std::size_t count)
{
    if (mode_ != ReadWrite) {
        return 0;
    }
    const std::size_t n = std::min(count, length_ - position_);
    if (n != 0) {
        std::memcpy(data_ + position_, buffer, n);
    }
    position_ += n;
    return n;
}

std::int64_t MemoryStorage::tell() const
{
    return isOpen() ? static_cast<std::int64_t>(position_) : -1;
}

std::int64_t MemoryStorage::size() const
{
    return isOpen() ? static_cast<std::int64_t>(length_) : -1;
}

bool MemoryStorage::seek64(std::int64_t offset, eOrigin origin)
{
    if (!isOpen()) {
        return false;
    }
    const std::int64_t target = DETAIL::seekTarget(tell(), size(), offset, origin);
    if (target < 0) {
        return false;
    }
    position_ = static_cast<std::size_t>(target);
    return true;
}

} // namespace Basalt
