#pragma once

#include "basalt/IStorage.h"

#include <memory>
#include <vector>

namespace Basalt {

// A readable stream over a shared storage.
class Stream {
public:
    explicit Stream(std::shared_ptr<IStorage> storage);
    virtual ~Stream() = default;

    bool isOpen() const { return storage_->isOpen(); }
    std::size_t read(void* buffer, std::size_t count) { return storage_->read(buffer, count); }
    std::int64_t tell() const { return storage_->tell(); }
    std::int64_t size() const { return storage_->size(); }
    bool seek(std::int64_t offset, IStorage::eOrigin origin) { return storage_->seek64(offset, origin); }

    // Reads the whole storage from its start into `bytes`; false (and `bytes`
    // untouched) when the stream is closed or the storage ends early.
    bool readAll(std::vector<unsigned char>& bytes);

    const std::shared_ptr<IStorage>& storage() const { return storage_; }

private:
    std::shared_ptr<IStorage> storage_;
};

} // namespace Basalt
