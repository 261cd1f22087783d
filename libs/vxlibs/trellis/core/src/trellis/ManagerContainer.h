#pragma once

#include "trellis/FontDescription.h"
#include "trellis/ResourceLocation.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

namespace Basalt {
class ResourceModule;
class Stream;
} // namespace Basalt

namespace Casement {
class Font;
class PictureProperties;
} // namespace Casement

namespace Trellis {

class LazyPicture;

// Finds pictures, stylesheets and fonts by name, either among the program's
// own resources or, when the toolkit's skin-folder switch is on and a "skin"
// folder exists next to the program or in the current directory, in the
// files of that folder. The choice is made once, at the first look-up. The
// container also shares what is made from resources: fonts by description and
// lazily loaded pictures by name and properties. Misses are reported through
// reportWarning(); nothing here throws. Used on the user-interface thread only.
class ManagerContainer {
public:
    enum eResourceKind { PictureKind = 0, StyleSheetKind = 1, FontKind = 2 };

    // The toolkit-wide skin-folder switch, off unless switched on; it matters
    // only before a container's first look-up.
    static void setUseSkinFolder(bool use);
    static bool useSkinFolder();

    // Resources of `module`; a skin folder is looked for in `places`, by
    // default in the program's directory and the current directory of the
    // moment of the first look-up.
    explicit ManagerContainer(const Basalt::ResourceModule& module,
                              std::optional<SkinSearchPlaces> places = std::nullopt);
    ~ManagerContainer();
    ManagerContainer(const ManagerContainer&) = delete;
    ManagerContainer& operator=(const ManagerContainer&) = delete;

    // A read-only stream over the named resource of a kind ("/" separates
    // sub-folders of a skin folder), or null. A name with a ".." component is
    // refused like a miss. With `report`, a miss is passed to reportWarning().
    std::shared_ptr<Basalt::Stream> getResourceStream(std::string_view name, eResourceKind kind, bool report);

    // Where resources are read from; decided on the first call.
    const ResourceLocation& location();

    // The picture of that name drawn with those properties, loaded when its
    // pixels are first asked for; one object per name and properties.
    std::shared_ptr<LazyPicture> createPicture(const std::string& name, const Casement::PictureProperties& properties);

    // The font for the description, made on first use and shared; null when
    // its data cannot be found or is not a font (also remembered).
    std::shared_ptr<Casement::Font> lookupFont(const FontDescription& description);

private:
    using tPictureKey = std::tuple<std::string, bool, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                                   std::uint32_t, std::uint32_t, std::uint32_t>;

    std::shared_ptr<Basalt::Stream> folderStream(std::string_view name, eResourceKind kind, bool report);
    std::shared_ptr<Basalt::Stream> programStream(std::string_view name, eResourceKind kind, bool report);
    std::shared_ptr<Casement::Font> makeFont(const FontDescription& description);

    const Basalt::ResourceModule& module_;
    std::optional<SkinSearchPlaces> places_;
    ResourceLocation location_;
    std::map<FontDescription, std::shared_ptr<Casement::Font>> fonts_;
    std::map<tPictureKey, std::shared_ptr<LazyPicture>> pictures_;
};

} // namespace Trellis
