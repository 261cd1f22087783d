#pragma once

#include "trellis/ParsedStyle.h"
#include "trellis/StyleMatching.h"

#include <casement/Font.h>
#include <casement/Geometry.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace Trellis {

class LazyPicture;
class Widget;

// The values of one widget that painters read often, each slot a list of
// (state conditions, value) entries in precedence order, built when the
// widget's style is computed. Which entry applies is decided when the slot is
// read, so hovering or pressing a widget needs no new computation.
struct ComputedStyle {
    template <typename T>
    struct tSlot {
        struct tEntry {
            tStateConditions states;
            T value;
        };
        std::vector<tEntry> entries;
        T fallback{};  // when no entry holds
    };

    enum eColour : std::uint8_t {
        BackgroundColour = 0,
        SelectionBackgroundColour = 1,
        ForegroundColour = 2,
        SelectionForegroundColour = 3,
        DyeColour = 4,
        BackgroundBorderColour = 5,
        ForegroundBorderColour = 6,
        ColourCount = 7,
    };

    std::array<tSlot<std::uint32_t>, ColourCount> colours;
    std::array<tSlot<std::int32_t>, ColourCount> palettes;  // 0: no palette
    tSlot<std::shared_ptr<Casement::Font>> font;
    tSlot<std::uint32_t> horizontalAlignment{{}, Casement::Font::Left};
    tSlot<std::uint32_t> verticalAlignment{{}, Casement::Font::Centre};
    tSlot<std::shared_ptr<LazyPicture>> picture;
    tSlot<std::int32_t> animationIndex;
    tSlot<std::shared_ptr<LazyPicture>> dyeMask;
    tSlot<std::int32_t> dyeMaskAnimationIndex;
    tSlot<Casement::Point> pictureDisplacement;
    tSlot<Casement::Point> textDisplacement;
    tSlot<bool> pictureIncludesMargin;
};

// The value of the first entry whose state conditions hold for the widget
// now, else the slot's fallback.
template <typename T>
const T& readSlot(const Widget& widget, const ComputedStyle::tSlot<T>& slot)
{
    for (const auto& entry : slot.entries) {
        if (stateConditionsHold(entry.states, widget)) {
            return entry.value;
        }
    }
    return slot.fallback;
}

// The font slot, set to the scale of the widget's Pane (1 without a Pane).
// Fonts are shared: the scale only selects which of the font's faces the
// next measuring or drawing call uses, so every user sets it before use.
std::shared_ptr<Casement::Font> readScaledFont(const Widget& widget, const ComputedStyle& style);

// The horizontal alignment code OR the vertical one; a vertical word that is
// none of "top", "bottom" and "center" centres vertically.
std::uint32_t readAlignment(const Widget& widget, const ComputedStyle& style);

// The colour of a slot for a palette entry: the slot's colour, unless the
// slot's palette slot gives a palette p other than 0 and the root widget of
// the widget's Pane has a colour "palette<p>-color<entry>".
std::uint32_t readPaletteColour(const Widget& widget, const ComputedStyle& style, ComputedStyle::eColour colour,
                         std::int32_t entry);

} // namespace Trellis
