#include "firmware/FirmwareImageSet.h"

// The bounds of the images that firmware/CMakeLists.txt assembles in with
// .incbin.
extern "C" {
extern const std::uint8_t tvsfw_image_a_begin[];
extern const std::uint8_t tvsfw_image_a_end[];
extern const std::uint8_t tvsfw_image_b_begin[];
extern const std::uint8_t tvsfw_image_b_end[];
}

std::span<const std::uint8_t> FirmwareImageSet::imageA()
{
    return {tvsfw_image_a_begin, tvsfw_image_a_end};
}

std::span<const std::uint8_t> FirmwareImageSet::imageB()
{
    return {tvsfw_image_b_begin, tvsfw_image_b_end};
}
