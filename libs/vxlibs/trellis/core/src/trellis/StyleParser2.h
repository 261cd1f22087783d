#pragma once

#include "trellis/AttibuteSelector.h"
#include "trellis/ParsedStyle.h"
#include "trellis/PropertyValue.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Basalt {
class Stream;
} // namespace Basalt

namespace Trellis {

class StyleManager;

// Turns stylesheet text into parsed styles. It keeps the named constants
// (shared by a stylesheet and those it imports), follows @import, and reports
// errors with their lines through reportWarning() while it recovers and goes
// on. One parser serves one load: a stylesheet and its imports.
class StyleParser2 {
public:
    using tPropertyValue = Trellis::tPropertyValue;

    struct tConstant {
        std::string name;  // without the "$"
        tPropertyValue value;
    };

    struct tAttrSelector {
        std::string name;
        AttibuteSelector::eRule rule = AttibuteSelector::RuleEqual;
        std::string value;
    };

    struct tStateSelector {
        bool negated = false;  // written with ":!"
        std::string name;
    };

    enum BufferEncoding : std::uint8_t {
        EncodingNone = 0,
        EncodingUtf8 = 1,
        EncodingUtf16BigEndian = 2,
        EncodingUtf16LittleEndian = 3,
        EncodingUtf32BigEndian = 4,
        EncodingUtf32LittleEndian = 5,
    };

    // Per stylesheet path, the (line, message) pairs reported for it.
    using tErrorLog = std::map<std::string, std::vector<std::pair<std::int32_t, std::string>>>;

    // The limits of one load. A real skin nests its imports a few levels deep
    // and imports some dozen stylesheets of some kilobytes; these are far
    // above that, and keep a broken or hostile skin from exhausting the stack
    // (each nested import is parsed on the stack of the one that imports it),
    // the time or the memory (the texts on the chain of imports are held at
    // once). A refused import is an error at the @import; once the count or
    // the bytes are used up, the later imports of the load are passed over.
    static constexpr std::size_t MaxImportDepth = 32;
    static constexpr std::size_t MaxImportedFiles = 256;
    static constexpr std::int64_t MaxImportedBytes = 32 << 20;  // four of the largest stylesheet

    // `owner`, when given, is the style manager whose resources relative
    // imports are looked up in.
    explicit StyleParser2(StyleManager* owner = nullptr);
    ~StyleParser2();
    StyleParser2(const StyleParser2&) = delete;
    StyleParser2& operator=(const StyleParser2&) = delete;

    // Each returns true only when the whole text was parsed; syntax errors
    // that parsing recovered from do not make it false.
    bool processString(std::string_view text);
    bool processStream(Basalt::Stream& stream, const std::string& name);
    bool processFile(const std::string& path);

    const std::vector<ParsedStyle>& styles() const { return styles_; }
    const std::map<std::string, tPropertyValue>& constants() const { return constants_; }
    const tErrorLog& errorLog() const { return errorLog_; }
    const std::set<std::string>& importedSet() const { return imported_; }

private:
    friend class StyleGrammar;

    // Detects the encoding of `bytes` and parses them as the text called
    // `name` in messages.
    bool parseBuffer(std::string_view bytes, const std::string& name);
    void readImport(std::int32_t line, const std::string& url, const std::string& location, const std::string& key);
    // Why one more import, of `bytes`, would pass a limit of the load; empty when none.
    std::string limitReached(std::int64_t bytes) const;
    std::shared_ptr<Basalt::Stream> openImport(const std::string& url, const std::string& location);

    // Called by the grammar while it parses.
    void addStyle(ParsedStyle style) { styles_.push_back(std::move(style)); }
    void defineConstant(std::int32_t line, const tConstant& constant);
    tPropertyValue lookupConstant(const std::string& name, std::int32_t line);
    void importStyleSheet(std::int32_t line, const std::string& url);
    // Appends (line, message) to the error log of `path` and passes
    // "Stylesheet error: path:line - message" to the warning listeners.
    void reportError(const std::string& path, std::int32_t line, const std::string& message);
    // Reports "PARSER ERROR at line N: message" under the text being parsed.
    void reportImportError(std::int32_t line, const std::string& message);

    std::vector<ParsedStyle> styles_;
    std::map<std::string, tPropertyValue> constants_;
    tErrorLog errorLog_;
    std::set<std::string> imported_;
    // The keys of the named texts being parsed, from the first to the current.
    std::vector<std::string> chain_;
    std::size_t depth_ = 0;  // of the import being parsed; 0 for the first text
    std::size_t importedFiles_ = 0;
    std::int64_t importedBytes_ = 0;
    bool importsUsedUp_ = false;  // a later import is passed over
    StyleManager* owner_;
    std::string currentPath_;
    std::string sourceName_;  // the name of the text being parsed, for messages
    BufferEncoding encoding_ = EncodingNone;
};

} // namespace Trellis
