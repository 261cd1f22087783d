#include "trellis/ComputedStyleBuilder.h"

#include "trellis/PropertyReaders.h"
#include "trellis/StyleManager.h"

#include <string>

namespace Trellis {
namespace {

const std::array<PooledName, ComputedStyle::ColourCount>& colourNames()
{
    static const std::array<PooledName, ComputedStyle::ColourCount> names = {
        PooledName("background-color"),        PooledName("selection-background-color"),
        PooledName("foreground-color"),        PooledName("selection-foreground-color"),
        PooledName("dye-color"),               PooledName("background-border-color"),
        PooledName("foreground-border-color"),
    };
    return names;
}

const std::array<PooledName, ComputedStyle::ColourCount>& paletteNames()
{
    static const auto names = [] {
        std::array<PooledName, ComputedStyle::ColourCount> made;
        for (std::size_t i = 0; i < made.size(); ++i) {
            made[i] = PooledName(colourNames()[i].str() + "-palette");
        }
        return made;
    }();
    return names;
}

class SlotFiller {
public:
    SlotFiller(const Widget& widget, StyleManager& manager) : widget_(widget), manager_(manager) {}

    template <typename T, typename Reader>
    void fill(ComputedStyle::tSlot<T>& slot, const PooledName& property, Reader read)
    {
        for (const StyleRule* rule : manager_.findRules(widget_, property)) {
            if (!attributeConditionsHold(*rule->selector, widget_)) {
                continue;
            }
            if (auto value = read(rule->value)) {
                slot.entries.push_back({rule->selector->states, std::move(*value)});
            }
        }
    }

private:
    const Widget& widget_;
    StyleManager& manager_;
};

std::optional<std::int32_t> index(const tPropertyValue& value)
{
    return readInteger(value, Property::UnitNone);
}

std::optional<std::uint32_t> colour(const tPropertyValue& value)
{
    return readColour(value, true);
}

void fillAll(ComputedStyle& style, SlotFiller& filler)
{
    static const PooledName Font("font"), HorizontalAlignment("horizontal-alignment"),
        VerticalAlignment("vertical-alignment"), Picture("picture"), AnimationIndex("animation-index"),
        DyeMask("dye-mask-picture"), DyeMaskAnimationIndex("dye-mask-animation-index"),
        PictureDisplacement("picture-displacement"), TextDisplacement("text-displacement"),
        PictureIncludesMargin("picture-includes-margin");
    for (std::size_t i = 0; i < ComputedStyle::ColourCount; ++i) {
        filler.fill(style.colours[i], colourNames()[i], colour);
        filler.fill(style.palettes[i], paletteNames()[i], index);
    }
    filler.fill(style.font, Font, readFont);
    filler.fill(style.horizontalAlignment, HorizontalAlignment, readHorizontalAlignment);
    filler.fill(style.verticalAlignment, VerticalAlignment, readVerticalAlignment);
    filler.fill(style.picture, Picture, readPicture);
    filler.fill(style.animationIndex, AnimationIndex, index);
    filler.fill(style.dyeMask, DyeMask, readPicture);
    filler.fill(style.dyeMaskAnimationIndex, DyeMaskAnimationIndex, index);
    filler.fill(style.pictureDisplacement, PictureDisplacement, readPoint);
    filler.fill(style.textDisplacement, TextDisplacement, readPoint);
    filler.fill(style.pictureIncludesMargin, PictureIncludesMargin, readBool);
}

} // namespace

ComputedStyle buildComputedStyle(const Widget& widget, StyleManager* manager,
                                 std::shared_ptr<Casement::Font> defaultFont)
{
    ComputedStyle style;
    style.font.fallback = std::move(defaultFont);
    if (manager) {
        SlotFiller filler(widget, *manager);
        fillAll(style, filler);
    }
    return style;
}

} // namespace Trellis
