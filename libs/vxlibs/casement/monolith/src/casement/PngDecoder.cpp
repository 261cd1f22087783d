#include "casement/GuardedCall.h"
#include "casement/PictureDecoders.h"

#include <basalt/Stream.h>

#include <png.h>

#include <array>

namespace Casement::DETAIL {
namespace {

constexpr std::size_t SignatureSize = 8;
// A deflate stream expands at most 1032 times; pictures whose rows would need
// more data than the stream holds are refused before anything is allocated.
constexpr std::int64_t MaxInflateRatio = 1032;
constexpr std::int64_t InflateSlack = 64;

[[noreturn]] void jumpOnError(png_structp png, png_const_charp)
{
    std::longjmp(*static_cast<std::jmp_buf*>(png_get_error_ptr(png)), 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

void readFromStream(png_structp png, png_bytep data, png_size_t length)
{
    auto* stream = static_cast<Basalt::Stream*>(png_get_io_ptr(png));
    if (stream->read(data, length) != length) {
        png_error(png, "the PNG data ends early");
    }
}

// The libpng read and info structures, reading from a stream; libpng's errors
// end the guarded call that met them.
class PngReader {
public:
    explicit PngReader(Basalt::Stream& stream)
        : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr))
        , info_(png_ != nullptr ? png_create_info_struct(png_) : nullptr)
    {
        // Set only now: libpng handles errors while it creates its structures.
        if (info_ != nullptr) {
            png_set_error_fn(png_, &jump_, jumpOnError, ignoreWarning);
            png_set_read_fn(png_, &stream, readFromStream);
            png_set_sig_bytes(png_, SignatureSize);
        }
    }
    ~PngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    bool ready() const { return info_ != nullptr; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }
    template <class Step>
    bool guarded(Step&& step)
    {
        return guardedCall(jump_, step);
    }

private:
    std::jmp_buf jump_;
    png_structp png_;
    png_infop info_;
};

bool hasPngSignature(Basalt::Stream& stream)
{
    std::array<png_byte, SignatureSize> signature{};
    return stream.read(signature.data(), signature.size()) == signature.size() &&
           png_sig_cmp(signature.data(), 0, signature.size()) == 0;
}

// Refuses sizes out of range and rows that the rest of the stream cannot hold.
bool plausibleSize(const PngReader& reader, const Basalt::Stream& stream)
{
    const std::int64_t width = png_get_image_width(reader.png(), reader.info());
    const std::int64_t height = png_get_image_height(reader.png(), reader.info());
    if (!acceptablePictureSize(width, height)) {
        return false;
    }
    const std::int64_t bitsPerPixel =
        std::int64_t{png_get_channels(reader.png(), reader.info())} * png_get_bit_depth(reader.png(), reader.info());
    const std::int64_t rowBytes = 1 + (width * bitsPerPixel + 7) / 8;
    return rowBytes * height <= MaxInflateRatio * (remainingBytes(stream) + InflateSlack);
}

// 8-bit blue, green, red, alpha from every colour type and depth.
void requestBgra(png_structp png, png_infop info)
{
    const int colourType = png_get_color_type(png, info);
    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (png_get_bit_depth(png, info) == 16) {
        png_set_strip_16(png);
    }
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
    }
    if (colourType == PNG_COLOR_TYPE_GRAY) {
        png_set_expand_gray_1_2_4_to_8(png);
    }
    if (transparency) {
        png_set_tRNS_to_alpha(png);
    }
    if ((colourType & PNG_COLOR_MASK_COLOR) == 0) {
        png_set_gray_to_rgb(png);
    }
    if ((colourType & PNG_COLOR_MASK_ALPHA) == 0 && !transparency) {
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    }
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

// Reads the rows and the chunks after them, so that truncated data fails.
bool readPixels(PngReader& reader, tDecodedPicture& picture)
{
    picture.width = static_cast<std::int32_t>(png_get_image_width(reader.png(), reader.info()));
    picture.height = static_cast<std::int32_t>(png_get_image_height(reader.png(), reader.info()));
    if (png_get_rowbytes(reader.png(), reader.info()) != static_cast<std::size_t>(picture.width) * 4) {
        return false;
    }
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
    std::vector<png_bytep> rows(picture.height);
    for (std::int32_t y = 0; y < picture.height; ++y) {
        rows[y] = reinterpret_cast<png_bytep>(picture.pixels.data() + static_cast<std::size_t>(y) * picture.width);
    }
    return reader.guarded([&] {
        png_read_image(reader.png(), rows.data());
        png_read_end(reader.png(), nullptr);
    });
}

} // namespace

std::optional<tDecodedPicture> decodePng(Basalt::Stream& stream, bool alphaCheck)
{
    if (!hasPngSignature(stream)) {
        return std::nullopt;
    }
    PngReader reader(stream);
    if (!reader.ready() || !reader.guarded([&] { png_read_info(reader.png(), reader.info()); }) ||
        !plausibleSize(reader, stream)) {
        return std::nullopt;
    }
    const int colourType = png_get_color_type(reader.png(), reader.info());
    tDecodedPicture picture;
    if (!reader.guarded([&] { requestBgra(reader.png(), reader.info()); }) || !readPixels(reader, picture)) {
        return std::nullopt;
    }
    const bool mayCarryAlpha = colourType == PNG_COLOR_TYPE_PALETTE || (colourType & PNG_COLOR_MASK_ALPHA) != 0;
    picture.hasAlpha = mayCarryAlpha && (!alphaCheck || anyTranslucentPixel(picture.pixels));
    return picture;
}

} // namespace Casement::DETAIL
