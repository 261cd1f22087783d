// Fuzzes the stylesheet parser: the bytes go to processString and, as a
// stream, to processStream; the two must agree. Relative imports are looked
// up among stylesheet resources in memory (two that import each other, and
// the chains below), so the fuzzer reaches the import paths without touching
// the file system.
#include <trellis/ManagerContainer.h>
#include <trellis/StyleManager.h>
#include <trellis/StyleParser2.h>

#include <basalt/MemoryStorage.h>
#include <basalt/ResourceModule.h>
#include <basalt/Stream.h>

#include <fmt/format.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view First = "@define $a rgba(1,2,3,4);\n@import url('b.txt');\nA { a: $b }";
constexpr std::string_view Second = "@define $b 2px;\n@import url(\"a.txt\");\nB[c=d] { b: $a; c: #123 }";

const unsigned char* bytes(std::string_view text)
{
    return reinterpret_cast<const unsigned char*>(text.data());
}

// Beside the two above, stylesheets through which the input reaches the
// limits of imports: a chain nested deeper than a load may (CHAIN0.TXT
// imports chain1.txt and so on), one importing more stylesheets than a load
// may read (WIDE.TXT imports w0.txt, w1.txt ...), and two that both import a
// third (D1.TXT and D2.TXT import d.txt).
struct tResources {
    std::vector<std::pair<std::string, std::string>> texts;  // upper-case name, text
    std::vector<Basalt::ResourceEntry> entries;

    tResources()
    {
        const std::size_t depth = Trellis::StyleParser2::MaxImportDepth + 2;
        const std::size_t width = Trellis::StyleParser2::MaxImportedFiles + 2;
        for (std::size_t index = 0; index < depth; ++index) {
            texts.emplace_back(fmt::format("CHAIN{}.TXT", index),
                               fmt::format("C{} {{ c: d }}\n@import url('chain{}.txt');", index, index + 1));
        }
        std::string wide;
        for (std::size_t index = 0; index < width; ++index) {
            texts.emplace_back(fmt::format("W{}.TXT", index), fmt::format("W{} {{ w: x }}", index));
            wide += fmt::format("@import url('w{}.txt');\n", index);
        }
        texts.emplace_back("WIDE.TXT", wide);
        texts.emplace_back("D1.TXT", "@import url('d.txt');\nD1 { a: $d }");
        texts.emplace_back("D2.TXT", "@import url('d.txt');\nD2 { a: $d }");
        texts.emplace_back("D.TXT", "@define $d 3px;\nD { d: e }");
        entries = {{"STYLESHEET", "A.TXT", 0, bytes(First), bytes(First) + First.size()},
                   {"STYLESHEET", "B.TXT", 0, bytes(Second), bytes(Second) + Second.size()}};
        for (const auto& [name, text] : texts) {
            entries.push_back({"STYLESHEET", name.c_str(), 0, bytes(text), bytes(text) + text.size()});
        }
    }
};

Trellis::StyleManager& manager()
{
    static const tResources resources;
    static const Basalt::ResourceModule module(resources.entries);
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
