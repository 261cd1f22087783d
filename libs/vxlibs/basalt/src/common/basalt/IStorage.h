#pragma once

#include <cstddef>
#include <cstdint>

namespace Basalt {

// A seekable block of bytes: memory, a file or a program resource.
//
// Positions run from 0 to size(). A seek whose target lies outside that range
// fails and leaves the position unchanged; reads stop at the end; writes need
// the read-write mode. A closed storage reads and writes nothing, and its
// tell() and size() are -1.
class IStorage {
public:
    enum eMode { Closed = 0, Read = 1, ReadWrite = 2 };
    enum eOrigin { FromStart = 0, FromCurrent = 1, FromEnd = 2 };

    virtual ~IStorage() = default;
    virtual bool isOpen() const = 0;
    virtual std::size_t read(void* buffer, std::size_t count) = 0;
    virtual std::size_t write(const void* buffer, std::size_t count) = 0;
    virtual std::int64_t tell() const = 0;
    virtual std::int64_t size() const = 0;
    virtual bool seek(std::int32_t offset, eOrigin origin) { return seek64(offset, origin); }
    virtual bool seek64(std::int64_t offset, eOrigin origin) = 0;
};

namespace DETAIL {

// The absolute position that a seek asks for, or -1 when it lies before the
// start, past the end, or overflows.
std::int64_t seekTarget(std::int64_t position, std::int64_t size, std::int64_t offset,
                        IStorage::eOrigin origin);

} // namespace DETAIL
} // namespace Basalt
