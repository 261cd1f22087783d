#include "basalt/ResourceStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Basalt::ResourceModule;
using Basalt::ResourceStream;
using tBytes = std::vector<unsigned char>;

// Every picture the updater carries, under the name the stylesheet uses, with
// its size at 1x and its number of frames (stacked vertically).
struct tPicture {
    std::string_view name;
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t frames;
};

constexpr tPicture Inventory[] = {
    {"Bg_Header_FU.png", 609, 38, 1},
    {"Logo_VX.png", 29, 21, 1},
    {"Bg_Inner_FU.png", 100, 100, 1},
    {"Bg_Status.png", 100, 153, 3},
    {"Icon_Big_Status.png", 23, 46, 2},
    {"Busywheel.png", 22, 264, 12},
    {"button_forward_FU.png", 105, 231, 7},
    {"button_forward_focus_FU.png", 105, 231, 7},
    {"Bg_Content.png", 100, 100, 1},
    {"Text_Display.png", 100, 72, 4},
    {"device.png", 95, 72, 1},
    {"Bg_Overlay_FU.png", 450, 274, 1},
    {"Bottom_Bar.png", 67, 19, 1},
    {"Button.png", 80, 60, 3},
    {"Logo.png", 22, 17, 1},
    {"Scrollbar_Bg.png", 16, 55, 1},
    {"Scrollbar_Bg_Ho.png", 55, 16, 1},
    {"Scrollbar_Dec.png", 16, 11, 1},
    {"Scrollbar_Dec_Ho.png", 11, 16, 1},
    {"Scrollbar_Inc.png", 16, 11, 1},
    {"Scrollbar_Inc_Ho.png", 11, 16, 1},
    {"Scrollbar_Slider_GR_Wide.png", 12, 29, 1},
    {"Scrollbar_Slider_Ho.png", 29, 12, 1},
    {"Selection.png", 15, 15, 1},
    {"Top_Bar.png", 65, 19, 1},
    {"Top_Dotted.png", 27, 27, 1},
    {"Tree_Bg.png", 33, 32, 1},
};

constexpr std::array<unsigned char, 8> PngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The resource's bytes; empty when there is no such resource.
tBytes resource(const Basalt::ResourceName& name, std::string_view type)
{
    ResourceStream stream;
    tBytes bytes;
    if (stream.open(ResourceModule::program(), name, type)) {
        EXPECT_TRUE(stream.readAll(bytes));
    }
    return bytes;
}

std::string upperCase(std::string_view name)
{
    std::string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

// "Busywheel.png" -> "BUSYWHEEL@2X.PNG"
std::string doubleSizeName(std::string_view name)
{
    const std::string upper = upperCase(name);
    const std::size_t dot = upper.rfind('.');
    return upper.substr(0, dot) + "@2X" + upper.substr(dot);
}

std::uint32_t bigEndian32(const unsigned char* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

struct tPngHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    unsigned bitDepth = 0;
    unsigned colourType = 0;
};

// The IHDR fields of PNG data, which is the first chunk after the signature.
std::optional<tPngHeader> pngHeader(const unsigned char* data, std::size_t size)
{
    if (size < 26 || !std::equal(PngSignature.begin(), PngSignature.end(), data) ||
        std::string_view(reinterpret_cast<const char*>(data + 12), 4) != "IHDR") {
        return std::nullopt;
    }
    return tPngHeader{bigEndian32(data + 16), bigEndian32(data + 20), data[24], data[25]};
}

std::optional<tPngHeader> pngHeader(const tBytes& bytes)
{
    return pngHeader(bytes.data(), bytes.size());
}

TEST(ResourceInventory, EveryPictureHasItsSizeFramesAndRgbaPixels)
{
    for (const tPicture& picture : Inventory) {
        SCOPED_TRACE(picture.name);
        const auto header = pngHeader(resource(upperCase(picture.name), "PICTURE"));
        ASSERT_TRUE(header);
        EXPECT_EQ(header->width, picture.width);
        EXPECT_EQ(header->height, picture.height);
        EXPECT_EQ(header->height % picture.frames, 0u);
        EXPECT_EQ(header->bitDepth, 8u);
        EXPECT_EQ(header->colourType, 6u);
    }
}

TEST(ResourceInventory, EveryPictureHasADoubleSizeVariant)
{
    for (const tPicture& picture : Inventory) {
        SCOPED_TRACE(picture.name);
        const auto header = pngHeader(resource(doubleSizeName(picture.name), "PICTURE"));
        ASSERT_TRUE(header);
        EXPECT_EQ(header->width, 2 * picture.width);
        EXPECT_EQ(header->height, 2 * picture.height);
        EXPECT_EQ(header->bitDepth, 8u);
        EXPECT_EQ(header->colourType, 6u);
    }
}

bool isTrueType(const tBytes& font)
{
    return font.size() > 12 && bigEndian32(font.data()) == 0x00010000;
}

TEST(ResourceInventory, TheUpdatersStyleSheetIsAStylesheetResource)
{
    const tBytes text = resource(std::string_view("FirmwareUpdaterStyles.txt"), "STYLESHEET");
    const std::string_view start(reinterpret_cast<const char*>(text.data()), std::min<std::size_t>(text.size(), 2));
    EXPECT_EQ(start, "/*") << "a stylesheet that opens with its comment";
}

TEST(ResourceInventory, TheUiFontAndTheDefaultFontAreTwoTrueTypeFonts)
{
    const tBytes ui = resource(std::string_view("corvel.ttf"), "TTFd");
    const tBytes fallback = resource(std::uint16_t{1}, "TTFd");
    EXPECT_TRUE(isTrueType(ui));
    EXPECT_TRUE(isTrueType(fallback));
    EXPECT_NE(ui, fallback);
}

TEST(ResourceInventory, TextsBesideTheFontsAndTheNumberedFontHaveNoNames)
{
    for (const std::string_view name : {"README", "LICENSE-OpenSans.txt", "DejaVuSans.ttf"}) {
        ::testing::internal::CaptureStderr();
        EXPECT_TRUE(resource(name, "TTFd").empty()) << name;
        ::testing::internal::GetCapturedStderr();
    }
}

// An ICO entry: its size from the directory (0 stands for 256) and its data.
struct tIconEntry {
    unsigned size = 0;
    const unsigned char* data = nullptr;
    std::size_t length = 0;
};

std::uint32_t littleEndian(const unsigned char* p, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | p[i];
    }
    return value;
}

// The entries of ICO data; empty when the header or an entry is malformed.
std::vector<tIconEntry> iconEntries(const tBytes& ico)
{
    if (ico.size() < 6 || littleEndian(ico.data(), 2) != 0 || littleEndian(ico.data() + 2, 2) != 1) {
        return {};
    }
    const std::size_t count = littleEndian(ico.data() + 4, 2);
    std::vector<tIconEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 6 + 16 * i;
        if (at + 16 > ico.size()) {
            return {};
        }
        const std::size_t length = littleEndian(ico.data() + at + 8, 4);
        const std::size_t offset = littleEndian(ico.data() + at + 12, 4);
        if (offset > ico.size() || length > ico.size() - offset) {
            return {};
        }
        const unsigned size = ico[at] == 0 ? 256 : ico[at];
        entries.push_back({size, ico.data() + offset, length});
    }
    return entries;
}

TEST(ResourceInventory, TheIconHoldsRgbaPngEntriesFrom16To256Pixels)
{
    const tBytes ico = resource(std::uint16_t{1}, "ICON");  // the entries point into it
    const std::vector<tIconEntry> entries = iconEntries(ico);
    std::vector<unsigned> sizes;
    for (const tIconEntry& entry : entries) {
        SCOPED_TRACE(entry.size);
        sizes.push_back(entry.size);
        const auto header = pngHeader(entry.data, entry.length);
        ASSERT_TRUE(header);
        EXPECT_EQ(header->width, entry.size);
        EXPECT_EQ(header->height, entry.size);
        EXPECT_EQ(header->colourType, 6u);
    }
    EXPECT_EQ(sizes, (std::vector<unsigned>{16, 24, 32, 48, 64, 128, 256}));
}

} // namespace
