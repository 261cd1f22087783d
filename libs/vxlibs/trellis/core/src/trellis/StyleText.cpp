#include "trellis/StyleText.h"

#include <string_view>

namespace Trellis::DETAIL {

const char* commentEnd(const char* p, const char* last)
{
    if (last - p < 2 || p[0] != '/' || (p[1] != '/' && p[1] != '*')) {
        return nullptr;
    }
    if (p[1] == '/') {
        const char* end = p + 2;
        while (end != last && *end != '\n' && *end != '\r') {
            ++end;
        }
        return end;
    }
    const std::string_view rest(p + 2, static_cast<std::size_t>(last - p - 2));
    const std::size_t close = rest.find("*/");
    return close == std::string_view::npos ? nullptr : p + 2 + close + 2;
}

} // namespace Trellis::DETAIL
