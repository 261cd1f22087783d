#include "PixelComparison.h"

#include <basalt/FileStream.h>
#include <casement/PixelArithmetic.h>

#include <png.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

namespace Trellis::Testing {
namespace {

constexpr const char* UpdateCommand = "scripts/update-references [gtest filter]";
constexpr std::uint32_t DifferingPixel = 0xFFFF0000; // opaque red

std::filesystem::path referencePath(const std::string& name)
{
    return std::filesystem::path(TEST_REFERENCE_DIR) / (name + ".png");
}

std::filesystem::path outputPath(const std::string& name, const char* suffix)
{
    return std::filesystem::path(TEST_OUTPUT_DIR) / (name + suffix + ".png");
}

bool updateRequested()
{
    const char* value = std::getenv("TVS_UPDATE_REFERENCES");
    return value != nullptr && std::string_view(value) == "1";
}

// libpng reports errors by longjmp; this frame holds no C++ objects that the
// jump would skip.
bool encodePng(std::FILE* file, png_bytepp rows, png_uint_32 width, png_uint_32 height)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool written = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_rows(png, info, rows);
        png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    return written;
}

// The reference's pixels as 0xAARRGGBB values. The decoder keeps straight
// alpha and the colour of transparent pixels, so every channel compares. Only
// PNG data is accepted: the loader would also take a damaged file for TGA.
std::optional<Casement::Picture> readPng(const std::filesystem::path& path)
{
    Basalt::FileStream stream;
    std::array<png_byte, 8> signature{};
    if (!stream.open(path.string()) || stream.read(signature.data(), signature.size()) != signature.size() ||
        png_sig_cmp(signature.data(), 0, signature.size()) != 0 || !stream.seek(0, Basalt::IStorage::FromStart)) {
        return std::nullopt;
    }
    Casement::Picture picture;
    if (!picture.load(stream, false)) {
        return std::nullopt;
    }
    return picture;
}

// The largest difference of one channel, alpha included, between two pixels.
int channelDifference(std::uint32_t a, std::uint32_t b)
{
    int largest = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        largest = std::max(largest, std::abs(difference));
    }
    return largest;
}

// A light, opaque grey of the pixel's brightness over white, for the
// background of the difference picture.
std::uint32_t fadedGrey(std::uint32_t pixel)
{
    using namespace Casement::Pixel;
    const std::uint32_t luma = (red(pixel) * 77 + green(pixel) * 150 + blue(pixel) * 29) >> 8;
    const std::uint32_t overWhite = 255 - div255((255 - luma) * alpha(pixel));
    const std::uint32_t faded = 255 - (255 - overWhite) / 3;
    return make(faded, faded, faded, 255);
}

// Why the picture does not match its reference (empty when it does) and, when
// the sizes agree, the difference picture.
struct tVerdict {
    std::string mismatch;
    std::optional<Casement::Picture> diff;
};

tVerdict comparePixels(const Casement::Picture& picture, const Casement::Picture& reference,
                       tPixelTolerance tolerance)
{
    tVerdict verdict{{}, Casement::Picture()};
    verdict.diff->allocate(picture.width(), picture.height());
    std::size_t differing = 0;
    int largest = 0;
    Casement::Point largestAt;
    for (std::int32_t y = 0; y < picture.height(); ++y) {
        for (std::int32_t x = 0; x < picture.width(); ++x) {
            const std::uint32_t painted = picture.row(y)[x];
            const int difference = channelDifference(painted, reference.row(y)[x]);
            if (difference > largest) {
                largest = difference;
                largestAt = {x, y};
            }
            const bool differs = difference > tolerance.channel;
            differing += differs ? 1 : 0;
            verdict.diff->row(y)[x] = differs ? DifferingPixel : fadedGrey(painted);
        }
    }
    if (differing > tolerance.pixels) {
        verdict.mismatch = std::to_string(differing) + " of " + std::to_string(static_cast<std::size_t>(picture.width()) * picture.height()) +
                           " pixels differ by more than " + std::to_string(tolerance.channel) + " in a channel (" +
                           std::to_string(tolerance.pixels) + " may); the largest channel difference is " +
                           std::to_string(largest) + ", first at (" + std::to_string(largestAt.x) + ", " +
                           std::to_string(largestAt.y) + ")";
    }
    return verdict;
}

tVerdict compareWithReference(const Casement::Picture& picture, const std::string& name, tPixelTolerance tolerance)
{
    const auto path = referencePath(name);
    const auto reference = readPng(path);
    if (!reference) {
        return {"no readable reference " + path.string(), std::nullopt};
    }
    if (reference->width() != picture.width() || reference->height() != picture.height()) {
        return {"the picture is " + std::to_string(picture.width()) + "x" + std::to_string(picture.height()) +
                    " pixels, the reference " + std::to_string(reference->width()) + "x" +
                    std::to_string(reference->height()),
                std::nullopt};
    }
    return comparePixels(picture, *reference, tolerance);
}

std::string writtenOrNot(const Casement::Picture& picture, const std::filesystem::path& path)
{
    return writePng(picture, path) ? path.string() : "(could not write " + path.string() + ")";
}

::testing::AssertionResult reportMismatch(const Casement::Picture& picture, const std::string& name,
                                          const tVerdict& verdict)
{
    ::testing::AssertionResult result = ::testing::AssertionFailure();
    result << "pixel test " << name << ": " << verdict.mismatch;
    result << "\n  painted picture: " << writtenOrNot(picture, outputPath(name, ""));
    if (verdict.diff) {
        result << "\n  difference (red: beyond the tolerance): " << writtenOrNot(*verdict.diff, outputPath(name, "_diff"));
    }
    result << "\n  after an intended visual change, refresh the reference with " << UpdateCommand
           << " and review it before committing";
    return result;
}

::testing::AssertionResult updateReference(const Casement::Picture& picture, const std::string& name,
                                           const std::string& mismatch)
{
    const auto path = referencePath(name);
    if (!writePng(picture, path)) {
        return ::testing::AssertionFailure() << "could not write the reference " << path.string();
    }
    // gtest shows no message of a passing assertion; the person updating wants the list.
    std::cout << "updated reference " << path.string() << " (" << mismatch << ")\n";
    return ::testing::AssertionSuccess() << "updated the reference " << path.string();
}

} // namespace

bool writePng(const Casement::Picture& picture, const std::filesystem::path& path)
{
    if (picture.width() <= 0 || picture.height() <= 0) {
        return false;
    }
    std::vector<png_byte> bytes;
    bytes.reserve(static_cast<std::size_t>(picture.width()) * picture.height() * 4);
    for (std::int32_t y = 0; y < picture.height(); ++y) {
        for (std::int32_t x = 0; x < picture.width(); ++x) {
            const std::uint32_t pixel = picture.row(y)[x];
            for (const int shift : {16, 8, 0, 24}) {
                bytes.push_back(static_cast<png_byte>(pixel >> shift));
            }
        }
    }
    std::vector<png_bytep> rows;
    for (std::size_t offset = 0; offset < bytes.size(); offset += static_cast<std::size_t>(picture.width()) * 4) {
        rows.push_back(bytes.data() + offset);
    }
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool encoded = encodePng(file, rows.data(), static_cast<png_uint_32>(picture.width()),
                                   static_cast<png_uint_32>(picture.height()));
    return std::fclose(file) == 0 && encoded;
}

// Output files of an earlier run are removed first, so that the output folder
// only ever shows the current mismatches. A reference that still matches is
// left as it is in update mode too, so that only real changes show in git.
::testing::AssertionResult matchesReference(const Casement::Picture& picture, const std::string& name,
                                            tPixelTolerance tolerance)
{
    std::error_code ignored;
    std::filesystem::remove(outputPath(name, ""), ignored);
    std::filesystem::remove(outputPath(name, "_diff"), ignored);
    const tVerdict verdict = compareWithReference(picture, name, tolerance);
    if (verdict.mismatch.empty()) {
        return ::testing::AssertionSuccess();
    }
    return updateRequested() ? updateReference(picture, name, verdict.mismatch)
                             : reportMismatch(picture, name, verdict);
}

} // namespace Trellis::Testing
