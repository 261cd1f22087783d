#include "casement/StretchParts.h"

#include "casement/Picture.h"

#include <algorithm>
#include <array>

namespace Casement::DETAIL {
namespace {

// The start and length of the three bands of one axis.
using tBands = std::array<std::array<std::int64_t, 2>, 3>;

tBands bands(std::int64_t start, std::int64_t length, std::int64_t before, std::int64_t after)
{
    return {{{start, before}, {start + before, length - before - after}, {start + length - after, after}}};
}

std::uint16_t hiddenParts(const Picture& picture, std::uint32_t frame)
{
    const std::uint32_t drawn = std::min(frame, picture.frames() - 1);
    const auto& masks = picture.partMasks();
    return drawn < masks.size() ? masks[drawn] : 0;
}

} // namespace

std::vector<tStretchPart> stretchParts(const Picture& picture, std::uint32_t frame, const Rect& rect)
{
    const Rect area = picture.frameRect(frame);
    const std::int64_t top = picture.verticallyStretchable() ? picture.topBorder() : 0;
    const std::int64_t bottom = picture.verticallyStretchable() ? picture.bottomBorder() : 0;
    const std::int64_t left = picture.horizontallyStretchable() ? picture.leftBorder() : 0;
    const std::int64_t right = picture.horizontallyStretchable() ? picture.rightBorder() : 0;
    if (area.width - left - right <= 0 || area.height - top - bottom <= 0) {
        return {};
    }
    const tBands sourceColumns = bands(area.x, area.width, left, right);
    const tBands sourceRows = bands(area.y, area.height, top, bottom);
    const tBands targetColumns = bands(rect.x, rect.width, left, right);
    const tBands targetRows = bands(rect.y, rect.height, top, bottom);
    const std::uint16_t hidden = hiddenParts(picture, frame);
    std::vector<tStretchPart> parts;
    for (std::size_t index = 0; index < 9; ++index) {
        const auto [column, row] = std::pair{index % 3, index / 3};
        const tDrawArea target{targetColumns[column][0], targetRows[row][0], targetColumns[column][1],
                               targetRows[row][1]};
        if ((hidden & (1u << index)) != 0 || sourceColumns[column][1] <= 0 || sourceRows[row][1] <= 0 ||
            target.width <= 0 || target.height <= 0) {
            continue;
        }
        const auto narrow = [](std::int64_t value) { return static_cast<std::int32_t>(value); };
        const Rect source{narrow(sourceColumns[column][0]), narrow(sourceRows[row][0]),
                          narrow(sourceColumns[column][1]), narrow(sourceRows[row][1])};
        parts.push_back({source, target});
    }
    return parts;
}

} // namespace Casement::DETAIL
