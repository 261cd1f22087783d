#include "PictureEncoders.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace CasementTests {
namespace {

void appendToBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* bytes = static_cast<Bytes*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + length);
}

void flushNothing(png_structp) {}

void writeChunks(png_structp png, png_infop info, const tPngContent& content, png_bytepp rows)
{
    png_set_IHDR(png, info, content.width, content.height, content.bitDepth, content.colourType,
                 content.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!content.palette.empty()) {
        png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(content.palette.data()),
                     static_cast<int>(content.palette.size() / 3));
    }
    if (!content.transparency.empty()) {
        png_set_tRNS(png, info, content.transparency.data(), static_cast<int>(content.transparency.size()), nullptr);
    } else if (content.transparentGray != 0xFFFF) {
        png_color_16 gray{};
        gray.gray = content.transparentGray;
        png_set_tRNS(png, info, nullptr, 0, &gray);
    }
    png_set_rows(png, info, rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
}

} // namespace

Bytes encodePng(const tPngContent& content)
{
    Bytes bytes;
    std::vector<png_bytep> rows;
    for (const Bytes& row : content.rows) {
        rows.push_back(const_cast<png_bytep>(row.data()));
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_set_write_fn(png, &bytes, appendToBytes, flushNothing);
        writeChunks(png, info, content, rows.data());
    } else {
        bytes.clear();
    }
    png_destroy_write_struct(&png, &info);
    return bytes;
}

Bytes encodeJpeg(int width, int height, int components, const Bytes& samples, bool progressive)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    if (progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < height; ++y) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + static_cast<std::size_t>(y) * width * components);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    Bytes bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

Bytes encodeTga(std::uint8_t imageType, std::uint16_t width, std::uint16_t height, std::uint8_t depth,
                std::uint8_t descriptor, const Bytes& data, const Bytes& id, std::uint16_t mapEntries)
{
    const auto low = [](std::uint16_t value) { return static_cast<unsigned char>(value & 0xFF); };
    const auto high = [](std::uint16_t value) { return static_cast<unsigned char>(value >> 8); };
    Bytes bytes{static_cast<unsigned char>(id.size()), static_cast<unsigned char>(mapEntries > 0 ? 1 : 0),
                imageType, 0, 0, low(mapEntries), high(mapEntries), static_cast<unsigned char>(mapEntries > 0 ? 24 : 0),
                0, 0, 0, 0, low(width), high(width), low(height), high(height), depth, descriptor};
    bytes.insert(bytes.end(), id.begin(), id.end());
    bytes.insert(bytes.end(), std::size_t{mapEntries} * 3, 0x77);
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

ByteStream::ByteStream(Bytes bytes, std::int64_t offset)
    : bytes_(std::move(bytes))
    , storage_(std::make_shared<Basalt::MemoryStorage>())
    , stream_(storage_)
{
    storage_->open(bytes_.data(), bytes_.size());
    stream_.seek(offset, Basalt::IStorage::FromStart);
}

} // namespace CasementTests
