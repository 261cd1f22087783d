#include "casement/PictureEnlarging.h"

#include "casement/PictureDecoders.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace Casement {
namespace {

std::uint32_t scaledBorder(std::uint32_t border, double scale)
{
    const double scaled = std::round(border * scale);
    return static_cast<std::uint32_t>(std::min<double>(scaled, std::numeric_limits<std::uint32_t>::max()));
}

void copyProperties(const Picture& source, double scale, Picture& copy)
{
    static_cast<PictureProperties&>(copy) = source;
    copy.setTopBorder(scaledBorder(source.topBorder(), scale));
    copy.setBottomBorder(scaledBorder(source.bottomBorder(), scale));
    copy.setLeftBorder(scaledBorder(source.leftBorder(), scale));
    copy.setRightBorder(scaledBorder(source.rightBorder(), scale));
    copy.setPartMasks(source.partMasks());
}

// The source column (or row) of each copy column: its block's, or the last.
std::vector<std::int32_t> sourceIndices(std::int32_t copyLength, std::int32_t sourceLength, std::int32_t block)
{
    std::vector<std::int32_t> indices(copyLength);
    for (std::int32_t i = 0; i < copyLength; ++i) {
        indices[i] = std::min(i / block, sourceLength - 1);
    }
    return indices;
}

} // namespace

std::optional<Picture> enlargePicture(const Picture& source, float scale)
{
    const double factor = scale;
    if (!(factor >= 1.0) || source.width() <= 0 || source.height() <= 0) {
        return std::nullopt;
    }
    const double width = std::round(source.width() * factor);
    const double height = std::round(source.height() * factor);
    if (!DETAIL::acceptablePictureSize(static_cast<std::int64_t>(std::min(width, 1e9)),
                                       static_cast<std::int64_t>(std::min(height, 1e9)))) {
        return std::nullopt;
    }
    Picture copy;
    copy.allocate(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
    copyProperties(source, factor, copy);
    const auto block = static_cast<std::int32_t>(factor);
    const std::vector<std::int32_t> columns = sourceIndices(copy.width(), source.width(), block);
    const std::vector<std::int32_t> rows = sourceIndices(copy.height(), source.height(), block);
    for (std::int32_t y = 0; y < copy.height(); ++y) {
        const std::uint32_t* from = source.row(rows[y]);
        std::transform(columns.begin(), columns.end(), copy.row(y), [from](std::int32_t x) { return from[x]; });
    }
    return copy;
}

} // namespace Casement
