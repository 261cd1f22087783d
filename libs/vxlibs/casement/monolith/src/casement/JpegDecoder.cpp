#include "casement/GuardedCall.h"
#include "casement/PictureDecoders.h"

#include <basalt/Stream.h>

#include <array>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace Casement::DETAIL {
namespace {

// The working memory libjpeg may take (whole-picture coefficient buffers of
// progressive pictures); a picture that needs more fails.
constexpr long MaxDecoderMemory = 64L << 20;

// The error manager: errors, and the warnings about corrupt data, end the
// guarded call by a long jump; other messages are dropped. (libjpeg would
// decode past corrupt data, filling the rest of a picture of any size.)
struct tErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jumpOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<tErrorManager*>(info->err)->jump, 1);
}

void dropMessage(j_common_ptr) {}

void failOnWarning(j_common_ptr info, int level)
{
    if (level < 0) {
        jumpOnError(info);
    }
}

// The data source: the stream, read in blocks. The end of the stream is an
// error, so that truncated data fails instead of being padded.
struct tStreamSource {
    jpeg_source_mgr manager;
    Basalt::Stream* stream;
    std::array<JOCTET, 4096> buffer;
};

tStreamSource& sourceOf(j_decompress_ptr info)
{
    return *reinterpret_cast<tStreamSource*>(info->src);
}

void startSource(j_decompress_ptr) {}
void endSource(j_decompress_ptr) {}

boolean fillBuffer(j_decompress_ptr info)
{
    tStreamSource& source = sourceOf(info);
    const std::size_t count = source.stream->read(source.buffer.data(), source.buffer.size());
    if (count == 0) {
        ERREXIT(info, JERR_INPUT_EOF);
    }
    source.manager.next_input_byte = source.buffer.data();
    source.manager.bytes_in_buffer = count;
    return TRUE;
}

void skipData(j_decompress_ptr info, long count)
{
    tStreamSource& source = sourceOf(info);
    if (count <= 0) {
        return;
    }
    if (static_cast<std::size_t>(count) <= source.manager.bytes_in_buffer) {
        source.manager.next_input_byte += count;
        source.manager.bytes_in_buffer -= static_cast<std::size_t>(count);
        return;
    }
    const std::int64_t beyond = count - static_cast<std::int64_t>(source.manager.bytes_in_buffer);
    source.manager.bytes_in_buffer = 0;
    if (!source.stream->seek(beyond, Basalt::IStorage::FromCurrent)) {
        ERREXIT(info, JERR_INPUT_EOF);
    }
}

// A libjpeg decompressor reading from a stream, destroyed with its owner.
class JpegReader {
public:
    explicit JpegReader(Basalt::Stream& stream)
    {
        info_.err = jpeg_std_error(&error_.manager);
        error_.manager.error_exit = jumpOnError;
        error_.manager.emit_message = failOnWarning;
        error_.manager.output_message = dropMessage;
        source_.stream = &stream;
        source_.manager.init_source = startSource;
        source_.manager.fill_input_buffer = fillBuffer;
        source_.manager.skip_input_data = skipData;
        source_.manager.resync_to_restart = jpeg_resync_to_restart;
        source_.manager.term_source = endSource;
    }
    ~JpegReader() { jpeg_destroy_decompress(&info_); }
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    jpeg_decompress_struct& info() { return info_; }
    jpeg_source_mgr* source() { return &source_.manager; }
    template <class Step>
    bool guarded(Step&& step)
    {
        return guardedCall(error_.jump, step);
    }

private:
    tErrorManager error_{};
    tStreamSource source_{};
    jpeg_decompress_struct info_{};
};

bool readHeader(JpegReader& reader)
{
    jpeg_decompress_struct& info = reader.info();
    return reader.guarded([&] {
        jpeg_create_decompress(&info);
        info.src = reader.source();
        jpeg_read_header(&info, TRUE);
    });
}

bool startDecoding(JpegReader& reader)
{
    jpeg_decompress_struct& info = reader.info();
    if (!acceptablePictureSize(info.image_width, info.image_height) || info.jpeg_color_space == JCS_CMYK ||
        info.jpeg_color_space == JCS_YCCK) {
        return false;
    }
    info.out_color_space = JCS_EXT_BGRA;
    info.mem->max_memory_to_use = MaxDecoderMemory;
    return reader.guarded([&] { jpeg_start_decompress(&info); }) && info.output_components == 4 &&
           info.output_width == info.image_width && info.output_height == info.image_height;
}

// Rows are added as they are decoded, so truncated data fails before a
// large picture has been allocated; the data must go on to its end marker.
bool readRows(JpegReader& reader, tDecodedPicture& picture)
{
    jpeg_decompress_struct& info = reader.info();
    picture.width = static_cast<std::int32_t>(info.output_width);
    picture.height = static_cast<std::int32_t>(info.output_height);
    for (std::int32_t y = 0; y < picture.height; ++y) {
        picture.pixels.resize(static_cast<std::size_t>(y + 1) * picture.width);
        JSAMPROW row = reinterpret_cast<JSAMPROW>(picture.pixels.data() + static_cast<std::size_t>(y) * picture.width);
        JDIMENSION read = 0;
        if (!reader.guarded([&] { read = jpeg_read_scanlines(&info, &row, 1); }) || read != 1) {
            return false;
        }
    }
    return reader.guarded([&] { jpeg_finish_decompress(&info); });
}

} // namespace

std::optional<tDecodedPicture> decodeJpeg(Basalt::Stream& stream, bool)
{
    JpegReader reader(stream);
    tDecodedPicture picture;
    if (!readHeader(reader) || !startDecoding(reader) || !readRows(reader, picture)) {
        return std::nullopt;
    }
    return picture;
}

} // namespace Casement::DETAIL
