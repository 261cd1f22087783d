#pragma once

#include <cstddef>
#include <string_view>

namespace Casement {

// Reads UTF-8 text one code point at a time. A sequence that is not valid
// UTF-8 (a stray continuation byte, an overlong form, a surrogate, a value
// above 0x10FFFF, a sequence cut short by the end of the text or by a byte
// that does not continue it) is reported as a value and is never skipped:
// the decoder stays at it, so callers stop there.
class Utf8Decoder {
public:
    static constexpr std::string_view InvalidSequence =
        "Invalid UTF-8 sequence encountered while trying to encode UTF-32 character";

    enum eStatus { Decoded, End, Invalid };

    struct tResult {
        eStatus status = End;
        char32_t codePoint = 0;  // valid when status is Decoded

        // The error text for an invalid sequence, else empty.
        std::string_view error() const { return status == Invalid ? InvalidSequence : std::string_view(); }
    };

    explicit Utf8Decoder(std::string_view bytes) : bytes_(bytes) {}

    // The next code point, End after the last one, or Invalid (repeatedly)
    // at a sequence that is not valid UTF-8.
    tResult next();

    // Bytes read so far: the start of the invalid sequence after Invalid.
    std::size_t position() const { return position_; }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

} // namespace Casement
