#include "firmware/FirmwareImageSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

// The bytes of an image file the build was configured with.
std::vector<std::uint8_t> fileContent(const char* path)
{
    std::vector<std::uint8_t> bytes(std::filesystem::file_size(path));
    std::ifstream file(path, std::ios::binary);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(file) << path;
    return bytes;
}

std::vector<std::uint8_t> bytesOf(std::span<const std::uint8_t> image)
{
    return {image.begin(), image.end()};
}

TEST(FirmwareImageSet, ImagesHaveTheirExactSizes)
{
    EXPECT_EQ(FirmwareImageSet::imageA().size(), FirmwareImageSet::ImageASize);
    EXPECT_EQ(FirmwareImageSet::imageB().size(), FirmwareImageSet::ImageBSize);
    EXPECT_EQ(FirmwareImageSet::imageB().size() % 256, 0u) << "image B goes in blocks of 256 bytes";
}

TEST(FirmwareImageSet, EmbeddedBytesEqualTheImageFiles)
{
    EXPECT_EQ(bytesOf(FirmwareImageSet::imageA()), fileContent(TVS_FIRMWARE_IMAGE_A));
    EXPECT_EQ(bytesOf(FirmwareImageSet::imageB()), fileContent(TVS_FIRMWARE_IMAGE_B));
}

TEST(FirmwareImageSet, ImagesAreDistinct)
{
    const auto a = FirmwareImageSet::imageA();
    const auto b = FirmwareImageSet::imageB();
    EXPECT_FALSE(std::ranges::equal(a.first(b.size()), b));
}

} // namespace
