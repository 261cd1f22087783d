#include "trellis/BackgroundDrawingCanvas.h"

#include <casement/Font.h>
#include <casement/PictureCombinerFunctors.h>

#include <algorithm>
#include <limits>

namespace Trellis {
namespace {

// Layout values come from stylesheets; scaled ones are kept far from the
// limits of 32-bit arithmetic.
constexpr std::int64_t DeviceLimit = std::int64_t{1} << 28;

std::int32_t toDevice(std::int32_t value, std::int32_t scale)
{
    return static_cast<std::int32_t>(std::clamp(std::int64_t{value} * scale, -DeviceLimit, DeviceLimit));
}

} // namespace

void BackgroundDrawingCanvas::BGDrawBuffer::allocate(std::int32_t width, std::int32_t height)
{
    Picture::allocate(width, height);
    resetClip();
}

void BackgroundDrawingCanvas::BGDrawBuffer::resetClip()
{
    clip_ = {static_cast<std::int32_t>(-DeviceLimit), static_cast<std::int32_t>(-DeviceLimit),
             static_cast<std::int32_t>(2 * DeviceLimit), static_cast<std::int32_t>(2 * DeviceLimit)};
}

Casement::Rect BackgroundDrawingCanvas::BGDrawBuffer::writable(const Casement::Rect& rect) const
{
    Casement::Rect area = Casement::intersect(rect, clip_);
    area.x += origin().x;
    area.y += origin().y;
    return Casement::intersect(Casement::intersect(area, visibleRect()), {0, 0, width(), height()});
}

void BackgroundDrawingCanvas::BGDrawBuffer::fillRect(const Casement::Rect& rect, std::uint32_t colour)
{
    if ((colour >> 24) == 0) {
        return;
    }
    if ((colour >> 24) == 0xFF) {
        clearRect(rect, colour);
        return;
    }
    const Casement::Rect area = writable(rect);
    for (std::int32_t y = area.y; y < area.bottom(); ++y) {
        std::uint32_t* pixel = row(y) + area.x;
        std::transform(pixel, pixel + std::max(area.width, 0), pixel, [colour](std::uint32_t destination) {
            return Casement::PictureCombinerFunctors::CopySource::over(colour, destination);
        });
    }
}

void BackgroundDrawingCanvas::BGDrawBuffer::clearRect(const Casement::Rect& rect, std::uint32_t value)
{
    const Casement::Rect area = writable(rect);
    for (std::int32_t y = area.y; y < area.bottom(); ++y) {
        std::fill_n(row(y) + area.x, std::max(area.width, 0), value);
    }
}

void BackgroundDrawingCanvas::BGDrawBuffer::drawRectOutline(const Casement::Rect& rect, std::uint32_t colour)
{
    if (rect.empty()) {
        return;
    }
    fillRect({rect.x, rect.y, rect.width, 1}, colour);
    if (rect.height > 1) {
        fillRect({rect.x, rect.bottom() - 1, rect.width, 1}, colour);
    }
    if (rect.height > 2) {
        fillRect({rect.x, rect.y + 1, 1, rect.height - 2}, colour);
        if (rect.width > 1) {
            fillRect({rect.right() - 1, rect.y + 1, 1, rect.height - 2}, colour);
        }
    }
}

void BackgroundDrawingCanvas::BGDrawBuffer::drawText(std::string_view text, const Casement::Rect& rect,
                                                     Casement::Font& font, std::uint32_t colour,
                                                     std::uint32_t alignment, std::int32_t lineSpacing)
{
    const Casement::Rect visible = visibleRect();
    Casement::Rect clip = clip_;
    clip.x += origin().x;
    clip.y += origin().y;
    setVisibleRect(Casement::intersect(visible, clip));
    font.drawText(*this, rect, text, colour, alignment, lineSpacing);
    setVisibleRect(visible);
}

void BackgroundDrawingCanvas::setOrigin(Casement::Point origin)
{
    buffer_.setOrigin({Trellis::toDevice(origin.x, scale_), Trellis::toDevice(origin.y, scale_)});
}

void BackgroundDrawingCanvas::resize(Casement::Point size)
{
    size_ = {std::max(size.x, 0), std::max(size.y, 0)};
    buffer_.allocate(Trellis::toDevice(size_.x, scale_), Trellis::toDevice(size_.y, scale_));
}

void BackgroundDrawingCanvas::setScale(std::int32_t scale)
{
    scale_ = std::max(scale, 1);
    resize(size_);
}

Casement::Rect BackgroundDrawingCanvas::toDevice(const Casement::Rect& rect) const
{
    return {Trellis::toDevice(rect.x, scale_), Trellis::toDevice(rect.y, scale_),
            Trellis::toDevice(rect.width, scale_), Trellis::toDevice(rect.height, scale_)};
}

void BackgroundDrawingCanvas::drawRectOutline(const Casement::Rect& rect, std::uint32_t colour)
{
    buffer_.drawRectOutline(toDevice(rect), colour);
}

void BackgroundDrawingCanvas::fillRect(const Casement::Rect& rect, std::uint32_t colour)
{
    buffer_.fillRect(toDevice(rect), colour);
}

void BackgroundDrawingCanvas::clearRect(const Casement::Rect& rect, std::uint32_t value)
{
    buffer_.clearRect(toDevice(rect), value);
}

void BackgroundDrawingCanvas::drawPicture(const Casement::Rect& rect, const Casement::Picture& picture,
                                          std::uint32_t frame, Casement::eDrawMode mode)
{
    const Casement::Rect at = toDevice(rect);
    Casement::drawPicture(buffer_, at.x, at.y, picture, frame, buffer_.clip(), mode);
}

void BackgroundDrawingCanvas::drawStretchedPicture(const Casement::Rect& rect, const Casement::Picture& picture,
                                                   std::uint32_t frame, Casement::eDrawMode mode)
{
    Casement::drawStretchedPicture(buffer_, toDevice(rect), picture, frame, buffer_.clip(), mode);
}

void BackgroundDrawingCanvas::drawDyedPicture(const Casement::Rect& rect, std::uint32_t colour,
                                              const Casement::Picture& mask, std::uint32_t frame)
{
    Casement::drawDyedPicture(buffer_, toDevice(rect), mask, frame, colour, buffer_.clip());
}

void BackgroundDrawingCanvas::drawText(std::string_view text, const Casement::Rect& rect, Casement::Font& font,
                                       std::uint32_t colour, std::uint32_t alignment, std::int32_t lineSpacing)
{
    font.setScale(static_cast<float>(scale_));
    buffer_.drawText(text, toDevice(rect), font, colour, alignment, Trellis::toDevice(lineSpacing, scale_));
}

} // namespace Trellis
