#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace Trellis {

// A handle to a string kept once in a process-wide pool: two handles are
// equal exactly when their strings are, so comparing them compares two
// pointers. The empty string has a fixed handle of its own (the default),
// which selectors use as "any". Widget ids, style names, property and
// selector names are pooled names. Pooled strings live as long as the process.
class PooledName {
public:
    PooledName();
    explicit PooledName(std::string_view text);

    const std::string& str() const { return *text_; }
    bool empty() const { return text_->empty(); }

    bool operator==(const PooledName& other) const { return text_ == other.text_; }
    // An order by identity, not by text, for use as a map key.
    bool operator<(const PooledName& other) const { return std::less<>()(text_, other.text_); }
    std::size_t hash() const { return std::hash<const std::string*>()(text_); }

private:
    const std::string* text_;
};

} // namespace Trellis

template <>
struct std::hash<Trellis::PooledName> {
    std::size_t operator()(const Trellis::PooledName& name) const { return name.hash(); }
};
