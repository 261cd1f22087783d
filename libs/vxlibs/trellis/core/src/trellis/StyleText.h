#pragma once

#include <cstddef>

namespace Trellis::DETAIL {

// Scanning of stylesheet text shared by the grammar's whitespace rules and
// its error recovery. The text is plain bytes: only ASCII has a meaning.

// The length of the line end at `p`: 2 for CR LF, 1 for a lone CR or LF, 0
// when no line end starts there.
inline std::size_t lineEndLength(const char* p, const char* last)
{
    if (p == last || (*p != '\r' && *p != '\n')) {
        return 0;
    }
    return *p == '\r' && p + 1 != last && p[1] == '\n' ? 2 : 1;
}

// Where the comment that starts at `p` ends: before the line end for "//",
// past the "*/" for "/*". Null when no comment starts there, and for a "/*"
// that is never closed.
const char* commentEnd(const char* p, const char* last);

// The end of the run of blanks, comments and line ends that starts at `p`
// (`p` itself when there is none). `onLineEnd(begin, end)` is called for
// every line end in the run, those inside block comments included.
template <typename OnLineEnd>
const char* skipWhitespace(const char* p, const char* last, OnLineEnd&& onLineEnd)
{
    while (p != last) {
        if (*p == ' ' || *p == '\t') {
            ++p;
        } else if (const std::size_t length = lineEndLength(p, last); length != 0) {
            onLineEnd(p, p + length);
            p += length;
        } else if (const char* end = commentEnd(p, last); end != nullptr) {
            for (; p != end; ++p) {
                if (const std::size_t inside = lineEndLength(p, end); inside != 0) {
                    onLineEnd(p, p + inside);
                    p += inside - 1;
                }
            }
        } else {
            break;
        }
    }
    return p;
}

} // namespace Trellis::DETAIL
