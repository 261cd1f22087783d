#include "basalt/IStorage.h"

namespace Basalt::DETAIL {

std::int64_t seekTarget(std::int64_t position, std::int64_t size, std::int64_t offset,
                        IStorage::eOrigin origin)
{
    std::int64_t base = 0;
    switch (origin) {
    case IStorage::FromStart: base = 0; break;
    case IStorage::FromCurrent: base = position; break;
    case IStorage::FromEnd: base = size; break;
    default: return -1;
    }
    std::int64_t target = 0;
    if (__builtin_add_overflow(base, offset, &target) || target < 0 || target > size) {
        return -1;
    }
    return target;
}

} // namespace Basalt::DETAIL
