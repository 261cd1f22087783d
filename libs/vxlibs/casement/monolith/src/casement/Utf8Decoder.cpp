#include "casement/Utf8Decoder.h"

#include <cstdint>

namespace Casement {
namespace {

struct tLead {
    std::size_t length = 0;   // 0: the byte cannot start a sequence
    char32_t bits = 0;        // the value bits the lead byte carries
    char32_t smallest = 0;    // smaller values are overlong forms
};

tLead lead(std::uint8_t byte)
{
    if (byte < 0x80) {
        return {1, byte, 0};
    }
    if ((byte & 0xE0) == 0xC0) {
        return {2, byte & 0x1Fu, 0x80};
    }
    if ((byte & 0xF0) == 0xE0) {
        return {3, byte & 0x0Fu, 0x800};
    }
    if ((byte & 0xF8) == 0xF0) {
        return {4, byte & 0x07u, 0x10000};
    }
    return {};
}

bool isContinuation(std::uint8_t byte)
{
    return (byte & 0xC0) == 0x80;
}

bool isScalarValue(char32_t value)
{
    return value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

} // namespace

Utf8Decoder::tResult Utf8Decoder::next()
{
    if (position_ >= bytes_.size()) {
        return {End, 0};
    }
    const tLead first = lead(static_cast<std::uint8_t>(bytes_[position_]));
    if (first.length == 0 || bytes_.size() - position_ < first.length) {
        return {Invalid, 0};
    }
    char32_t value = first.bits;
    for (std::size_t i = 1; i < first.length; ++i) {
        const auto byte = static_cast<std::uint8_t>(bytes_[position_ + i]);
        if (!isContinuation(byte)) {
            return {Invalid, 0};
        }
        value = (value << 6) | (byte & 0x3Fu);
    }
    if (value < first.smallest || !isScalarValue(value)) {
        return {Invalid, 0};
    }
    position_ += first.length;
    return {Decoded, value};
}

} // namespace Casement
