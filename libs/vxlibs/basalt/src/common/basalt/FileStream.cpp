#include "basalt/FileStream.h"

namespace Basalt {

FileStream::FileStream()
    : Stream(std::make_shared<FileStorage>()), file_(static_cast<FileStorage&>(*storage()))
{
}

bool FileStream::open(const std::string& path, IStorage::eMode mode)
{
    return file_.open(path, mode);
}

bool FileStream::openInside(const std::string& folder, const std::string& name, IStorage::eMode mode)
{
    return file_.openInside(folder, name, mode);
}

} // namespace Basalt
