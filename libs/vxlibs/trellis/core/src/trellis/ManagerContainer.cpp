#include "trellis/ManagerContainer.h"

#include "trellis/ComputedStyleBuilder.h"
#include "trellis/DefaultFont.h"
#include "trellis/DefaultStyleSheet.h"
#include "trellis/LazyPicture.h"
#include "trellis/Pane.h"
#include "trellis/StyleManager.h"
#include "trellis/Warnings.h"
#include "trellis/Widget.h"

#include <basalt/FileStream.h>
#include <basalt/ResourceModule.h>
#include <basalt/ResourceStream.h>
#include <casement/Font.h>
#include <casement/PictureProperties.h>

#include <fmt/format.h>

#include <limits>

namespace Trellis {
namespace {

bool skinFolderSwitch = false;
ManagerContainer* registered = nullptr;

struct KindPlace {
    const char* folder;
    const char* resourceType;
};

constexpr KindPlace KindPlaces[] = {{"pictures", "PICTURE"}, {"stylesheets", "STYLESHEET"}, {"fonts", "TTFd"}};

// A ".." component could lead out of the skin folder.
bool climbsUp(std::string_view name)
{
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find_first_of("/\\", start), name.size());
        if (name.substr(start, end - start) == "..") {
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::shared_ptr<const std::vector<std::uint8_t>> readWhole(Basalt::Stream& stream)
{
    std::vector<unsigned char> bytes;
    if (!stream.readAll(bytes)) {
        return nullptr;
    }
    return std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
}

} // namespace

void ManagerContainer::setUseSkinFolder(bool use)
{
    skinFolderSwitch = use;
}

bool ManagerContainer::useSkinFolder()
{
    return skinFolderSwitch;
}

ManagerContainer* ManagerContainer::instance()
{
    return registered;
}

ManagerContainer::ManagerContainer(const Basalt::ResourceModule& module, std::optional<SkinSearchPlaces> places)
    : module_(module), places_(std::move(places))
{
    if (!registered) {
        registered = this;
    }
    styleSets_.push_back({"", std::make_unique<StyleManager>(*this)});
    styleSets_.front().manager->loadStyleSheetText(DefaultStyleSheet);
}

ManagerContainer::~ManagerContainer()
{
    if (registered == this) {
        registered = nullptr;
    }
}

const ResourceLocation& ManagerContainer::location()
{
    if (location_.mode == ResourceLocation::Undecided) {
        location_ = decideResourceLocation(skinFolderSwitch, places_ ? *places_ : SkinSearchPlaces::ofThisProcess());
    }
    return location_;
}

std::shared_ptr<Basalt::Stream> ManagerContainer::getResourceStream(std::string_view name, eResourceKind kind,
                                                                    bool report)
{
    return location().mode == ResourceLocation::Folder ? folderStream(name, kind, report)
                                                       : programStream(name, kind, report);
}

std::shared_ptr<Basalt::Stream> ManagerContainer::folderStream(std::string_view name, eResourceKind kind, bool report)
{
    // The kind's folder is opened beneath the skin folder like the rest of the
    // name, so that a link in its place leads nowhere.
    const std::string folder = fmt::format("{}/{}", location_.base.string(), KindPlaces[kind].folder);
    auto stream = std::make_shared<Basalt::FileStream>();
    const std::string beneath = fmt::format("{}/{}", KindPlaces[kind].folder, name);
    const bool absolute = name.empty() || name.front() == '/';
    if (absolute || !stream->openInside(location_.base.string(), beneath)) {
        if (report) {
            reportWarning(fmt::format("Trellis::ManagerContainer::getResourceStream - can't find resource: {}/{}",
                                      folder, name));
        }
        return nullptr;
    }
    if (stream->size() > MaxSkinFileBytes[kind]) {
        reportWarning(fmt::format("Trellis::ManagerContainer::getResourceStream - resource too large: {}/{} ({} bytes, "
                                  "at most {})", folder, name, stream->size(), MaxSkinFileBytes[kind]));
        return nullptr;
    }
    return stream;
}

std::shared_ptr<Basalt::Stream> ManagerContainer::programStream(std::string_view name, eResourceKind kind,
                                                                bool report)
{
    auto stream = std::make_shared<Basalt::ResourceStream>();
    if (!climbsUp(name) && stream->open(module_, name, KindPlaces[kind].resourceType)) {
        return stream;
    }
    if (report) {
        reportWarning(fmt::format("Trellis::ManagerContainer::getResourceStream - can't load linked resource {}", name));
    }
    return nullptr;
}

std::shared_ptr<LazyPicture> ManagerContainer::createPicture(const std::string& name,
                                                             const Casement::PictureProperties& properties)
{
    const tPictureKey key{name,
                          properties.hasAlpha(),
                          properties.orientation(),
                          properties.frameCount(),
                          properties.stretchFlags(),
                          properties.topBorder(),
                          properties.bottomBorder(),
                          properties.leftBorder(),
                          properties.rightBorder()};
    auto& picture = pictures_[key];
    if (!picture) {
        picture = std::make_shared<LazyPicture>(*this, name, properties);
    }
    return picture;
}

std::shared_ptr<Casement::Font> ManagerContainer::lookupFont(const FontDescription& description)
{
    const auto cached = fonts_.find(description);
    if (cached != fonts_.end()) {
        return cached->second;
    }
    auto font = makeFont(description);
    fonts_.emplace(description, font);
    return font;
}

std::shared_ptr<Casement::Font> ManagerContainer::makeFont(const FontDescription& description)
{
    const auto bytes = fontFile(description);
    return bytes ? Casement::Font::create(bytes, description.size,
                                          (description.flags & FontDescription::Hinting) != 0)
                 : nullptr;
}

// A font by id comes from the program's own "TTFd" resources, whatever the
// location; a font by name is a font resource of the location. A file that
// cannot be read is looked for again next time.
std::shared_ptr<const std::vector<std::uint8_t>> ManagerContainer::fontFile(const FontDescription& description)
{
    const bool byId = description.loadsByResourceId();
    const auto key = byId ? std::pair(description.resourceId, std::string()) : std::pair(0, description.name);
    if (const auto read = fontFiles_.find(key); read != fontFiles_.end()) {
        return read->second;
    }
    std::shared_ptr<Basalt::Stream> stream;
    if (!byId) {
        stream = getResourceStream(description.name, FontKind, true);
    } else if (description.resourceId > 0 && description.resourceId <= std::numeric_limits<std::uint16_t>::max()) {
        auto resource = std::make_shared<Basalt::ResourceStream>();
        if (resource->open(module_, static_cast<std::uint16_t>(description.resourceId), KindPlaces[FontKind].resourceType)) {
            stream = resource;
        }
    }
    auto bytes = stream ? readWhole(*stream) : nullptr;
    if (bytes) {
        fontFiles_.emplace(key, bytes);
    }
    return bytes;
}

void ManagerContainer::setStyleSheet(const std::string& name)
{
    tStyleSet& first = styleSets_.front();
    if (first.name == name) {
        return;
    }
    first.name = name;
    first.manager->loadStyleSheet(name);
}

StyleManager* ManagerContainer::styleManagerFor(const Widget& widget) const
{
    const Pane* pane = widget.pane();
    if (!pane) {
        return nullptr;
    }
    return pane->styleManager() ? pane->styleManager() : styleSets_.front().manager.get();
}

const ComputedStyle& ManagerContainer::computeStyle(const Widget& widget)
{
    return computedStyles_[&widget] =
               buildComputedStyle(widget, styleManagerFor(widget), lookupFont(defaultFontDescription()));
}

const ComputedStyle* ManagerContainer::computedStyle(const Widget& widget) const
{
    const auto found = computedStyles_.find(&widget);
    return found != computedStyles_.end() ? &found->second : nullptr;
}

void ManagerContainer::widgetDestroyed(const Widget& widget)
{
    computedStyles_.erase(&widget);
    for (const tStyleSet& set : styleSets_) {
        set.manager->dropWidget(widget);
    }
    if (auto* own = widget.pane() ? widget.pane()->styleManager() : nullptr) {
        own->dropWidget(widget);
    }
}

} // namespace Trellis
