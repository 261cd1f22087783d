// Fuzzes the stylesheet parser: the bytes go to processString and, as a
// stream, to processStream; the two must agree. Relative imports are looked
// up among two stylesheet resources that import each other, so the fuzzer
// reaches the import paths without touching the file system.
#include <trellis/ManagerContainer.h>
#include <trellis/StyleManager.h>
#include <trellis/StyleParser2.h>

#include <basalt/MemoryStorage.h>
#include <basalt/ResourceModule.h>
#include <basalt/Stream.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {

constexpr std::string_view First = "@define $a rgba(1,2,3,4);\n@import url('b.txt');\nA { a: $b }";
constexpr std::string_view Second = "@define $b 2px;\n@import url(\"a.txt\");\nB[c=d] { b: $a; c: #123 }";

const unsigned char* bytes(std::string_view text)
{
    return reinterpret_cast<const unsigned char*>(text.data());
}

const std::array<Basalt::ResourceEntry, 2> Entries{{
    {"STYLESHEET", "A.TXT", 0, bytes(First), bytes(First) + First.size()},
    {"STYLESHEET", "B.TXT", 0, bytes(Second), bytes(Second) + Second.size()},
}};

Trellis::StyleManager& manager()
{
    static const Basalt::ResourceModule module(Entries);
    static Trellis::ManagerContainer container(module);
    static Trellis::StyleManager instance(container);
    return instance;
}

// Every style kept has a selector and a declaration, and a line in the text.
void checkStyles(const Trellis::StyleParser2& parser)
{
    for (const auto& style : parser.styles()) {
        if (style.selectors.empty() || style.properties.empty() || style.line < 1) {
            __builtin_trap();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Trellis::StyleParser2 fromString(&manager());
    const bool parsed = fromString.processString(text);
    checkStyles(fromString);

    auto storage = std::make_shared<Basalt::MemoryStorage>();
    storage->open(data, size);
    Basalt::Stream stream(storage);
    Trellis::StyleParser2 fromStream(&manager());
    if (fromStream.processStream(stream, "fuzz.txt") != parsed ||
        fromStream.styles().size() != fromString.styles().size() ||
        fromStream.constants() != fromString.constants()) {
        __builtin_trap();
    }
    return 0;
}
