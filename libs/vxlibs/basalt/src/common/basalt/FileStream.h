#pragma once

#include "basalt/FileStorage.h"
#include "basalt/Stream.h"

namespace Basalt {

// A stream over a file of the file system.
class FileStream final : public Stream {
public:
    FileStream();

    // See FileStorage::open.
    bool open(const std::string& path, IStorage::eMode mode = IStorage::Read);
    // See FileStorage::openInside.
    bool openInside(const std::string& folder, const std::string& name, IStorage::eMode mode = IStorage::Read);

private:
    FileStorage& file_;
};

} // namespace Basalt
