#include "basalt/JsonText.h"

#include <fmt/format.h>

namespace Basalt {
namespace {

void appendEscaped(std::string& out, char c)
{
    switch (c) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\b': out += "\\b"; return;
    case '\f': out += "\\f"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: break;
    }
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20) {
        out += fmt::format("\\u{:04x}", byte);
    } else {
        out += c;
    }
}

} // namespace

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        appendEscaped(out, c);
    }
    return out + '"';
}

} // namespace Basalt
