// Fuzzes the picture loader (PNG, then JPEG, then TGA), and draws what it
// loads, stretched by borders taken from the data, into a small buffer.
#include <casement/Picture.h>
#include <casement/PictureDrawing.h>

#include <basalt/MemoryStorage.h>
#include <basalt/Stream.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto storage = std::make_shared<Basalt::MemoryStorage>();
    storage->open(data, size);
    Basalt::Stream stream(storage);
    Casement::Picture picture;
    if (!picture.load(stream, size % 2 == 0)) {
        if (stream.tell() != 0) {
            std::abort();
        }
        return 0;
    }
    const std::uint32_t border = size > 0 ? data[size - 1] % 16 : 0;
    picture.setFrameCount(size % 5);
    picture.setVerticallyStretchable(true);
    picture.setHorizontallyStretchable(true);
    picture.setTopBorder(border);
    picture.setLeftBorder(border / 2);
    Casement::Picture buffer;
    buffer.allocate(64, 48);
    buffer.setOrigin({-3, 5});
    Casement::drawStretchedPicture(buffer, {-10, -10, 80, 70}, picture, 1, {0, 0, 60, 60},
                                   Casement::eDrawMode::CopySource);
    Casement::drawPicture(buffer, 7, 3, picture, 0, {0, 0, 64, 48}, Casement::eDrawMode::BlendUsingAlpha);
    return 0;
}
