#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// The firmware the updater carries: two images and the revision the device
// reports once it runs them. The images are compiled into the program (see
// firmware/CMakeLists.txt) and go to the device byte for byte.
struct FirmwareImageSet {
    static constexpr std::size_t ImageASize = 60416;
    static constexpr std::size_t ImageBSize = 15360;
    static constexpr std::uint16_t NewestRelease = 33;
    static constexpr std::uint16_t NewestSecondaryRevision = 103;

    // Written with DFU downloads.
    static std::span<const std::uint8_t> imageA();
    // Written with vendor transfers, 256 bytes at a time.
    static std::span<const std::uint8_t> imageB();
};
