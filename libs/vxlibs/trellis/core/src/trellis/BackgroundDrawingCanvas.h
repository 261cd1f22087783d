#pragma once

#include "trellis/Canvas.h"

#include <casement/Picture.h>

namespace Trellis {

// The off-screen canvas of a window: a 32-bit buffer at a whole-number scale.
// Every position and length it is given in layout pixels is multiplied by the
// scale before it reaches the buffer, so a widget 71 pixels high fills 142
// device pixels at scale 2.
class BackgroundDrawingCanvas : public Canvas {
public:
    // The buffer: a picture with a clip rectangle that every drawing into it
    // obeys. Positions are device pixels in drawing coordinates (the
    // picture's origin is added to them).
    class BGDrawBuffer : public Casement::Picture {
    public:
        void allocate(std::int32_t width, std::int32_t height) override;

        void resetClip();
        void setClip(const Casement::Rect& clip) { clip_ = clip; }
        const Casement::Rect& clip() const { return clip_; }

        void fillRect(const Casement::Rect& rect, std::uint32_t colour);
        void clearRect(const Casement::Rect& rect, std::uint32_t value);
        void drawRectOutline(const Casement::Rect& rect, std::uint32_t colour);
        // The font draws within its rectangle and the visible rectangle,
        // which is narrowed to the clip for the time of the drawing.
        void drawText(std::string_view text, const Casement::Rect& rect, Casement::Font& font, std::uint32_t colour,
                      std::uint32_t alignment, std::int32_t lineSpacing);

    private:
        // The buffer pixels of the rectangle that may be written.
        Casement::Rect writable(const Casement::Rect& rect) const;

        Casement::Rect clip_;
    };

    BackgroundDrawingCanvas() = default;

    void resetClip() override { buffer_.resetClip(); }
    void setClip(const Casement::Rect& clip) override { buffer_.setClip(toDevice(clip)); }
    void resetOrigin() override { buffer_.setOrigin({}); }
    void setOrigin(Casement::Point origin) override;
    Casement::Point getSize() const override { return size_; }
    void resize(Casement::Point size) override;

    void drawRectOutline(const Casement::Rect& rect, std::uint32_t colour) override;
    void fillRect(const Casement::Rect& rect, std::uint32_t colour) override;
    void clearRect(const Casement::Rect& rect, std::uint32_t value) override;
    void drawPicture(const Casement::Rect& rect, const Casement::Picture& picture, std::uint32_t frame,
                     Casement::eDrawMode mode) override;
    void drawStretchedPicture(const Casement::Rect& rect, const Casement::Picture& picture, std::uint32_t frame,
                              Casement::eDrawMode mode) override;
    void drawDyedPicture(const Casement::Rect& rect, std::uint32_t colour, const Casement::Picture& mask,
                         std::uint32_t frame) override;
    void drawText(std::string_view text, const Casement::Rect& rect, Casement::Font& font, std::uint32_t colour,
                  std::uint32_t alignment, std::int32_t lineSpacing) override;

    // Reallocates the buffer for the current size (its pixels become 0).
    void setScale(std::int32_t scale) override;
    std::int32_t getScale() const override { return scale_; }
    const Casement::Picture& getBuffer() const override { return buffer_; }

private:
    Casement::Rect toDevice(const Casement::Rect& rect) const;

    std::int32_t scale_ = 1;
    Casement::Point size_;
    BGDrawBuffer buffer_;
};

} // namespace Trellis
