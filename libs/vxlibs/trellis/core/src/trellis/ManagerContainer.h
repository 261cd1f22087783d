#pragma once

#include "trellis/ComputedStyle.h"
#include "trellis/FontDescription.h"
#include "trellis/ResourceLocation.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

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
class StyleManager;
class Widget;

// Finds pictures, stylesheets and fonts by name, either among the program's
// own resources or, when the toolkit's skin-folder switch is on and a "skin"
// folder exists next to the program or in the current directory, in the
// files of that folder. The choice is made once, at the first look-up. The
// container also shares what is made from resources: fonts by description and
// lazily loaded pictures by name and properties. Misses are reported through
// reportWarning(); nothing here throws. Used on the user-interface thread only.
//
// It also keeps the style sets, each a stylesheet name and its rule
// database; the first is made with the built-in default stylesheet. There is
// one container per process: the first one made registers itself as
// instance(), through which widgets reach their styles, and unregisters
// when it is destroyed.
class ManagerContainer {
public:
    enum eResourceKind { PictureKind = 0, StyleSheetKind = 1, FontKind = 2 };

    struct tStyleSet {
        std::string name;  // the stylesheet resource it was loaded from; empty for the default
        std::unique_ptr<StyleManager> manager;
    };

    // The registered container, or null.
    static ManagerContainer* instance();

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

    // The largest file of each kind a skin folder may hold: a larger one is
    // refused, so that a huge (or sparse) file cannot exhaust the memory.
    static constexpr std::int64_t MaxSkinFileBytes[] = {16 << 20, 8 << 20, 32 << 20};

    // A read-only stream over the named resource of a kind ("/" separates
    // sub-folders of a skin folder), or null. A name with a ".." component is
    // refused like a miss; in a skin folder so are symbolic links (a linked
    // pictures/, stylesheets/ or fonts/ folder too), files that are not
    // regular and files larger than MaxSkinFileBytes. With `report`, a miss
    // is passed to reportWarning().
    std::shared_ptr<Basalt::Stream> getResourceStream(std::string_view name, eResourceKind kind, bool report);

    // Where resources are read from; decided on the first call.
    const ResourceLocation& location();

    // The picture of that name drawn with those properties, loaded when its
    // pixels are first asked for; one object per name and properties.
    std::shared_ptr<LazyPicture> createPicture(const std::string& name, const Casement::PictureProperties& properties);

    // The font for the description, made on first use and shared; null when
    // its data cannot be found or is not a font (also remembered).
    std::shared_ptr<Casement::Font> lookupFont(const FontDescription& description);

    // Loads the named stylesheet into the first style set, unless that set
    // already carries the name. The name is kept even when the load fails,
    // and then the previous rules stay.
    void setStyleSheet(const std::string& name);
    const std::vector<tStyleSet>& styleSets() const { return styleSets_; }
    // The manager that styles the widget: its Pane's own, else the first
    // style set's; null for a widget outside a Pane.
    StyleManager* styleManagerFor(const Widget& widget) const;

    // Rebuilds the widget's computed style from the rules that hold for it now.
    const ComputedStyle& computeStyle(const Widget& widget);
    // The widget's computed style, or null before the first computeStyle().
    const ComputedStyle* computedStyle(const Widget& widget) const;
    // Forgets everything kept for a widget that is being destroyed.
    void widgetDestroyed(const Widget& widget);

private:
    using tPictureKey = std::tuple<std::string, bool, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                                   std::uint32_t, std::uint32_t, std::uint32_t>;

    std::shared_ptr<Basalt::Stream> folderStream(std::string_view name, eResourceKind kind, bool report);
    std::shared_ptr<Basalt::Stream> programStream(std::string_view name, eResourceKind kind, bool report);
    std::shared_ptr<Casement::Font> makeFont(const FontDescription& description);
    std::shared_ptr<const std::vector<std::uint8_t>> fontFile(const FontDescription& description);

    const Basalt::ResourceModule& module_;
    std::optional<SkinSearchPlaces> places_;
    ResourceLocation location_;
    std::map<FontDescription, std::shared_ptr<Casement::Font>> fonts_;
    // Each font file is read once, whatever the sizes made from it: keyed by
    // resource id (0 for a file by name) and name.
    std::map<std::pair<std::int32_t, std::string>, std::shared_ptr<const std::vector<std::uint8_t>>> fontFiles_;
    std::map<tPictureKey, std::shared_ptr<LazyPicture>> pictures_;
    std::vector<tStyleSet> styleSets_;
    std::unordered_map<const Widget*, ComputedStyle> computedStyles_;
};

} // namespace Trellis
