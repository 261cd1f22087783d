#include "trellis/StyleParser2.h"

#include "trellis/ManagerContainer.h"
#include "trellis/StyleGrammar.h"
#include "trellis/StyleManager.h"
#include "trellis/Warnings.h"

#include <basalt/FileStream.h>
#include <basalt/Stream.h>

#include <fmt/format.h>

#include <algorithm>
#include <filesystem>

namespace Trellis {
namespace {

const std::string StringSourceName = "(StyleParser2::processString)";
constexpr std::int64_t MaxStyleSheetBytes = ManagerContainer::MaxSkinFileBytes[ManagerContainer::StyleSheetKind];

StyleParser2::BufferEncoding detectEncoding(std::string_view bytes)
{
    if (bytes.size() < 4) {
        return StyleParser2::EncodingNone;
    }
    const auto byte = [&](std::size_t index) { return static_cast<unsigned char>(bytes[index]); };
    if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
        return StyleParser2::EncodingUtf8;
    }
    if (byte(0) == 0xFE && byte(1) == 0xFF) {
        return StyleParser2::EncodingUtf16BigEndian;
    }
    if (byte(0) == 0xFF && byte(1) == 0xFE) {
        return byte(2) == 0 && byte(3) == 0 ? StyleParser2::EncodingUtf32LittleEndian
                                            : StyleParser2::EncodingUtf16LittleEndian;
    }
    if (byte(0) == 0 && byte(1) == 0 && byte(2) == 0xFE && byte(3) == 0xFF) {
        return StyleParser2::EncodingUtf32BigEndian;
    }
    return StyleParser2::EncodingNone;
}

std::string withForwardSlashes(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// True unless the path starts at a root directory or a drive.
bool isRelative(const std::string& path)
{
    const bool rooted = !path.empty() && (path[0] == '/' || path[0] == '\\');
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return !rooted && !drive;
}

// The key of the imported set: both separators alike, "." and ".." resolved.
std::string importKey(const std::string& path)
{
    return std::filesystem::path(withForwardSlashes(path)).lexically_normal().generic_string();
}

} // namespace

StyleParser2::StyleParser2(StyleManager* owner) : owner_(owner) {}

StyleParser2::~StyleParser2() = default;

bool StyleParser2::processString(std::string_view text)
{
    return parseBuffer(text, StringSourceName);
}

bool StyleParser2::processStream(Basalt::Stream& stream, const std::string& name)
{
    if (!stream.isOpen() || !stream.seek(0, Basalt::IStorage::FromEnd)) {
        return false;
    }
    const std::int64_t length = stream.tell();
    if (length < 0 || !stream.seek(0, Basalt::IStorage::FromStart)) {
        return false;
    }
    if (length > MaxStyleSheetBytes) {
        reportError(name, 0, fmt::format("stylesheet too large ({} bytes, at most {})", length, MaxStyleSheetBytes));
        return false;
    }
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (stream.read(bytes.data(), bytes.size()) != bytes.size()) {
        return false;
    }
    return parseBuffer(bytes, name);
}

bool StyleParser2::processFile(const std::string& path)
{
    Basalt::FileStream stream;
    if (!stream.open(path)) {
        return false;
    }
    currentPath_ = path;
    return processStream(stream, path);
}

bool StyleParser2::parseBuffer(std::string_view bytes, const std::string& name)
{
    encoding_ = detectEncoding(bytes);
    if (encoding_ != EncodingNone && encoding_ != EncodingUtf8) {
        reportError(name, 0, "Unsupported buffer encoding");
        return false;
    }
    if (encoding_ == EncodingUtf8) {
        bytes.remove_prefix(3);
    }
    sourceName_ = name;
    const bool named = name != StringSourceName;
    if (named) {
        chain_.push_back(importKey(name));
    }
    StyleGrammar grammar(*this, name);
    const bool parsed = grammar.parse(bytes);
    if (named) {
        chain_.pop_back();
    }
    return parsed;
}

void StyleParser2::defineConstant(std::int32_t line, const tConstant& constant)
{
    if (!constants_.emplace(constant.name, constant.value).second) {
        reportError(sourceName_, line, fmt::format("PARSER ERROR at line {}: constant already defined", line));
    }
}

StyleParser2::tPropertyValue StyleParser2::lookupConstant(const std::string& name, std::int32_t line)
{
    const auto found = constants_.find(name);
    if (found == constants_.end()) {
        reportError(sourceName_, line,
                    fmt::format("PARSER ERROR at line {}: use of undefined constant {}", line, name));
        return {};
    }
    return found->second;
}

// A relative URL is a resource of the owner's style set when there is an
// owner, else a file beside the importing one. A stylesheet of a style set
// (from the program or its skin folder) imports nothing from elsewhere, so an
// absolute URL is refused there. Errors are reported under the importing
// stylesheet's name, where the @import is written. Only a stylesheet on the
// chain of imports that leads here would import itself; one imported already
// from elsewhere is not read again: with the first written of equally
// specific rules winning, a second copy of its rules would change nothing.
void StyleParser2::importStyleSheet(std::int32_t line, const std::string& url)
{
    if (owner_ != nullptr && !isRelative(url)) {
        reportImportError(line, fmt::format("import of stylesheet {} from outside the style set refused", url));
        return;
    }
    std::string location = url;
    if (owner_ == nullptr && isRelative(url)) {
        location = (std::filesystem::path(withForwardSlashes(currentPath_)).parent_path() / withForwardSlashes(url))
                       .generic_string();
    }
    const std::string key = importKey(location);
    if (std::ranges::find(chain_, key) != chain_.end()) {
        reportImportError(line, fmt::format("recursive import of stylesheet {}", url));
    } else if (depth_ == MaxImportDepth) {
        reportImportError(line, fmt::format("import of stylesheet {} refused: imports nested more than {} deep", url,
                                            MaxImportDepth));
    } else if (!importsUsedUp_ && !imported_.contains(key)) {
        readImport(line, url, location, key);
    }
}

// Once the count or the bytes are used up, later imports are passed over
// with no further message. A file too large for a stylesheet is left to
// processStream, which refuses it unread.
void StyleParser2::readImport(std::int32_t line, const std::string& url, const std::string& location,
                              const std::string& key)
{
    const auto stream = openImport(url, location);
    const std::int64_t size = stream != nullptr ? stream->size() : 0;
    const std::int64_t counted = size >= 0 && size <= MaxStyleSheetBytes ? size : 0;
    const std::string refusal = stream != nullptr ? limitReached(counted) : std::string();
    if (!refusal.empty()) {
        importsUsedUp_ = true;
        reportImportError(line, fmt::format("import of stylesheet {} refused: {}", url, refusal));
        return;
    }
    importedFiles_ += stream != nullptr ? 1 : 0;
    importedBytes_ += counted;
    imported_.insert(key);
    const std::string savedPath = currentPath_;
    const std::string savedSource = sourceName_;
    const BufferEncoding savedEncoding = encoding_;
    currentPath_ = location;
    ++depth_;
    const bool parsed = stream != nullptr && processStream(*stream, location);
    --depth_;
    currentPath_ = savedPath;
    sourceName_ = savedSource;
    encoding_ = savedEncoding;
    if (!parsed) {
        reportImportError(line, fmt::format("Failed to import stylesheet {}", url));
        imported_.erase(key);
    }
}

std::string StyleParser2::limitReached(std::int64_t bytes) const
{
    if (importedFiles_ == MaxImportedFiles) {
        return fmt::format("more than {} stylesheets imported", MaxImportedFiles);
    }
    if (bytes > MaxImportedBytes - importedBytes_) {
        return fmt::format("more than {} bytes imported", MaxImportedBytes);
    }
    return {};
}

std::shared_ptr<Basalt::Stream> StyleParser2::openImport(const std::string& url, const std::string& location)
{
    if (owner_ != nullptr) {
        return owner_->container().getResourceStream(url, ManagerContainer::StyleSheetKind, true);
    }
    auto stream = std::make_shared<Basalt::FileStream>();
    return stream->open(location) ? stream : nullptr;
}

void StyleParser2::reportImportError(std::int32_t line, const std::string& message)
{
    reportError(sourceName_, line, fmt::format("PARSER ERROR at line {}: {}", line, message));
}

void StyleParser2::reportError(const std::string& path, std::int32_t line, const std::string& message)
{
    errorLog_[path].emplace_back(line, message);
    reportWarning(fmt::format("Stylesheet error: {0}:{1} - {2}", path, line, message));
}

} // namespace Trellis
