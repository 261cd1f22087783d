#pragma once

#include "casement/PixelArithmetic.h"

#include <cstdint>

namespace Casement::Pixel {

// Dyes the destination pixel with `dye` through a mask value (the mask
// picture's alpha, or a glyph's coverage): w = div255(mask x dye alpha), each
// colour channel div255(dye x w + destination x (255 - w)); the destination
// keeps its alpha. A dye with alpha 0 leaves the destination unchanged.
constexpr std::uint32_t dyeUsingAlphaMask(std::uint32_t destination, std::uint32_t dye, std::uint32_t mask)
{
    const std::uint32_t w = div255(mask * alpha(dye));
    const auto mix = [w](std::uint32_t dyeChannel, std::uint32_t destinationChannel) {
        return div255(dyeChannel * w + destinationChannel * (255 - w));
    };
    return make(mix(blue(dye), blue(destination)), mix(green(dye), green(destination)),
                mix(red(dye), red(destination)), alpha(destination));
}

} // namespace Casement::Pixel
