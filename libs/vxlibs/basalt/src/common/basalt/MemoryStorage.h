#pragma once

#include "basalt/IStorage.h"

namespace Basalt {

// A storage over a memory block that it does not own. It never grows the
// block: writes stop at its end.
class MemoryStorage final : public IStorage {
public:
    MemoryStorage() = default;

    // Opens read-only over `length` bytes at `data`.
    bool open(const void* data, std::size_t length);
    // Opens over a writable block, in mode Read or ReadWrite.
    bool open(void* data, std::size_t length, eMode mode);
    void close();

    bool isOpen() const override { return mode_ != Closed; }
    std::size_t read(void* buffer, std::size_t count) override;
    std::size_t write(const void* buffer, std::size_t count) override;
    std::int64_t tell() const override;
    std::int64_t size() const override;
    bool seek64(std::int64_t offset, eOrigin origin) override;

private:
    unsigned char* data_ = nullptr;
    std::size_t length_ = 0;
    std::size_t position_ = 0;
    eMode mode_ = Closed;
};

} // namespace Basalt
