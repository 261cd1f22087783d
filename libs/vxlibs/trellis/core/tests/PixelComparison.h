#pragma once

#include <casement/Picture.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <string>

namespace Trellis::Testing {

// How far a painted picture may be from its reference and still match.
struct tPixelTolerance {
    int channel = 0;        // largest allowed difference of one channel (0-255) for a pixel to count as equal
    std::size_t pixels = 0; // how many pixels may differ by more than that
};

// Writes the picture as an 8-bit RGBA PNG, straight alpha, not interlaced.
// False when the file cannot be written or the picture is empty.
bool writePng(const Casement::Picture& picture, const std::filesystem::path& path);

// Compares the picture with the reference PNG <TEST_REFERENCE_DIR>/<name>.png.
// On a mismatch, or when the reference is missing or unreadable, writes the
// picture (and, when the sizes agree, a difference picture) under
// TEST_OUTPUT_DIR and fails with a message naming them. With the environment
// variable TVS_UPDATE_REFERENCES=1 a reference that does not match is
// replaced by the picture instead (see scripts/update-references).
::testing::AssertionResult matchesReference(const Casement::Picture& picture, const std::string& name,
                                            tPixelTolerance tolerance = {});

} // namespace Trellis::Testing
