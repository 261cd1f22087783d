#pragma once

#include <string>
#include <string_view>

namespace Basalt {

// `text` (UTF-8) as a JSON string literal, quotes included: quotes,
// backslashes and control characters are escaped, everything else is kept.
std::string jsonString(std::string_view text);

} // namespace Basalt
