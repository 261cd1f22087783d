#pragma once

#include "basalt/IStorage.h"

#include <string>

namespace Basalt {

// A storage over a regular file. Read mode needs an existing file; read-write
// mode creates it when missing. Writing at the end grows the file.
class FileStorage final : public IStorage {
public:
    FileStorage() = default;
    ~FileStorage() override;
    FileStorage(const FileStorage&) = delete;
    FileStorage& operator=(const FileStorage&) = delete;

    // False (and closed) when the path is missing, unreadable or not a
    // regular file.
    bool open(const std::string& path, eMode mode);
    // The same, for `name` inside `folder`: refused when the name is absolute,
    // leads out of the folder or passes through a symbolic link, so that
    // files from outside cannot be passed off as the folder's own.
    bool openInside(const std::string& folder, const std::string& name, eMode mode);
    void close();

    bool isOpen() const override { return mode_ != Closed; }
    std::size_t read(void* buffer, std::size_t count) override;
    std::size_t write(const void* buffer, std::size_t count) override;
    std::int64_t tell() const override;
    std::int64_t size() const override;
    bool seek64(std::int64_t offset, eOrigin origin) override;

private:
    bool adopt(int fd, eMode mode);

    int fd_ = -1;
    std::int64_t position_ = 0;
    eMode mode_ = Closed;
};

} // namespace Basalt
