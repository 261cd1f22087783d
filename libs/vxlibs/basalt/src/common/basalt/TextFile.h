#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Basalt {

enum class eFileRead { Read, Missing, Failed };

// Reads the whole regular file at `path`, of at most `largest` bytes. Missing
// when nothing is there; Failed, with the reason in `error`, when it cannot
// be read, is no regular file or is larger.
eFileRead readTextFile(const std::string& path, std::size_t largest, std::string& text, std::string& error);

// Replaces the file at `path` with `text` so that a reader finds either the
// old content or the new one: the text goes into a temporary file beside it,
// which is then renamed over it. False, with the reason in `error`, when that
// fails; the file at `path` is then left as it was.
bool replaceTextFile(const std::string& path, std::string_view text, std::string& error);

} // namespace Basalt
