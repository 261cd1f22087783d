#include "basalt/Stream.h"

namespace Basalt {

Stream::Stream(std::shared_ptr<IStorage> storage) : storage_(std::move(storage))
{
}

bool Stream::readAll(std::vector<unsigned char>& bytes)
{
    if (!isOpen() || !seek(0, IStorage::FromEnd)) {
        return false;
    }
    const std::int64_t length = tell();
    if (!seek(0, IStorage::FromStart)) {
        return false;
    }
    std::vector<unsigned char> content(static_cast<std::size_t>(length));
    if (read(content.data(), content.size()) != content.size()) {
        return false;
    }
    bytes = std::move(content);
    return true;
}

} // namespace Basalt
