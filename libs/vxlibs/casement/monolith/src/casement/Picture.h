#pragma once

#include "casement/Geometry.h"
#include "casement/PictureProperties.h"

#include <cstdint>
#include <vector>

namespace Basalt {
class Stream;
} // namespace Basalt

namespace Casement {

namespace DETAIL {
struct tDecodedPicture;
} // namespace DETAIL

// A 32-bit picture (see casement/PixelArithmetic.h for the pixel layout) with
// its drawing properties. It is also the target that pictures and text are
// drawn into: the drawing origin is added to every pixel address and the
// visible rectangle is the part that may be drawn.
class Picture : public PictureProperties {
public:
    Picture() = default;

    // Decodes PNG, else JPEG, else TGA data from the stream's position. With
    // `alphaCheck`, a picture whose format can carry alpha is marked as having
    // alpha only when one pixel is not opaque. False (the picture unchanged,
    // the stream back at its position) when no decoder accepts the data.
    // A loaded picture has origin (0, 0), the whole picture visible, no
    // fast-blend flag and no part masks; its other properties are kept.
    bool load(Basalt::Stream& stream, bool alphaCheck);

    // Makes the picture width x height pixels, all 0; the visible rectangle
    // becomes the whole picture and the origin (0, 0).
    virtual void allocate(std::int32_t width, std::int32_t height);

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    std::uint32_t* pixels() { return pixels_.data(); }
    const std::uint32_t* pixels() const { return pixels_.data(); }
    std::uint32_t* row(std::int32_t y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* row(std::int32_t y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }

    Point origin() const { return origin_; }
    void setOrigin(Point origin) { origin_ = origin; }
    const Rect& visibleRect() const { return visible_; }
    void setVisibleRect(const Rect& visible) { visible_ = visible; }
    bool fastBlend() const { return fastBlend_; }
    void setFastBlend(bool fast) { fastBlend_ = fast; }

    // Per frame, bits 1, 2, 4 … 256 hide the nine parts of a stretched
    // drawing (top-left, top, top-right, left, centre, right, bottom-left,
    // bottom, bottom-right). Empty for loaded pictures.
    const std::vector<std::uint16_t>& partMasks() const { return partMasks_; }
    void setPartMasks(std::vector<std::uint16_t> masks) { partMasks_ = std::move(masks); }

    // max(frame count, 1) frames, stacked vertically or side by side.
    std::uint32_t frames() const;
    // The area of a frame inside the picture; an index past the last frame
    // gives the last frame.
    Rect frameRect(std::uint32_t frame) const;

private:
    void adopt(DETAIL::tDecodedPicture& decoded);

    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::vector<std::uint32_t> pixels_;
    Point origin_;
    Rect visible_;
    bool fastBlend_ = false;
    std::vector<std::uint16_t> partMasks_;
};

} // namespace Casement
