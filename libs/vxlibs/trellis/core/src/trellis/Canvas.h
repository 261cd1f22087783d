#pragma once

#include <casement/Geometry.h>
#include <casement/PictureDrawing.h>

#include <cstdint>
#include <string_view>

namespace Casement {
class Font;
class Picture;
} // namespace Casement

namespace Trellis {

// A drawing surface in layout pixels. Positions and rectangles are relative
// to the origin; nothing is drawn outside the clip rectangle (also relative
// to the origin when it is set). Pictures are given at the canvas's scale.
// Colours are 0xAARRGGBB with straight alpha; a colour of alpha 0 draws
// nothing.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void resetClip() = 0;
    virtual void setClip(const Casement::Rect& clip) = 0;
    virtual void resetOrigin() = 0;
    virtual void setOrigin(Casement::Point origin) = 0;
    // The size in layout pixels.
    virtual Casement::Point getSize() const = 0;
    virtual void resize(Casement::Point size) = 0;

    // A one-pixel outline along the inside of the rectangle, blended.
    virtual void drawRectOutline(const Casement::Rect& rect, std::uint32_t colour) = 0;
    virtual void fillRect(const Casement::Rect& rect, std::uint32_t colour) = 0;
    // Stores the value into every pixel of the rectangle, without blending.
    virtual void clearRect(const Casement::Rect& rect, std::uint32_t value) = 0;
    // The frame at its natural size at the rectangle's top-left corner.
    virtual void drawPicture(const Casement::Rect& rect, const Casement::Picture& picture, std::uint32_t frame,
                             Casement::eDrawMode mode) = 0;
    // The frame stretched over the rectangle by its borders.
    virtual void drawStretchedPicture(const Casement::Rect& rect, const Casement::Picture& picture,
                                      std::uint32_t frame, Casement::eDrawMode mode) = 0;
    // The frame's alpha as a mask, laid out as drawStretchedPicture() does,
    // painted in the colour.
    virtual void drawDyedPicture(const Casement::Rect& rect, std::uint32_t colour, const Casement::Picture& mask,
                                 std::uint32_t frame) = 0;

    // The text's lines, `lineSpacing` layout pixels apart, aligned in the
    // rectangle (Casement::Font's alignment word) and clipped to it, drawn by
    // the font at the canvas's scale.
    virtual void drawText(std::string_view text, const Casement::Rect& rect, Casement::Font& font,
                          std::uint32_t colour, std::uint32_t alignment, std::int32_t lineSpacing) = 0;

    // Device pixels per layout pixel, a whole number of at least 1.
    virtual void setScale(std::int32_t scale) = 0;
    virtual std::int32_t getScale() const = 0;
    // The pixels, in device pixels.
    virtual const Casement::Picture& getBuffer() const = 0;
};

} // namespace Trellis
