#include "trellis/ComputedStyle.h"

#include "trellis/Pane.h"
#include "trellis/StyleLookups.h"
#include "trellis/Widget.h"

#include <fmt/format.h>

namespace Trellis {

std::shared_ptr<Casement::Font> readScaledFont(const Widget& widget, const ComputedStyle& style)
{
    const auto& font = readSlot(widget, style.font);
    if (font) {
        font->setScale(widget.pane() ? widget.pane()->scale() : 1.0f);
    }
    return font;
}

// Only the vertical codes of the vertical slot count: the 4096 of an unknown
// vertical word is the left code, which would override a right or centred
// horizontal alignment.
std::uint32_t readAlignment(const Widget& widget, const ComputedStyle& style)
{
    constexpr std::uint32_t VerticalCodes = Casement::Font::Top | Casement::Font::Bottom;
    return readSlot(widget, style.horizontalAlignment) | (readSlot(widget, style.verticalAlignment) & VerticalCodes);
}

std::uint32_t readPaletteColour(const Widget& widget, const ComputedStyle& style, ComputedStyle::eColour colour,
                         std::int32_t entry)
{
    std::uint32_t value = readSlot(widget, style.colours[colour]);
    const std::int32_t palette = readSlot(widget, style.palettes[colour]);
    const Pane* pane = widget.pane();
    if (palette != 0 && pane && pane->root()) {
        lookupColour(*pane->root(), PooledName(fmt::format("palette{}-color{}", palette, entry)), value);
    }
    return value;
}

} // namespace Trellis
