#pragma once

#include <cstdint>

namespace Basalt {
class Stream;
} // namespace Basalt

namespace Casement {

// How a picture is drawn: whether it uses its alpha channel, how many
// animation frames it holds and how they are laid out, and which border strips
// may be repeated to fill a larger area. Every setter ends with changed().
class PictureProperties {
public:
    enum eOrientation : std::uint32_t { Vertical = 1, Horizontal = 2 };
    enum eStretch : std::uint32_t { VerticallyStretchable = 1, HorizontallyStretchable = 2 };

    virtual ~PictureProperties() = default;

    virtual void setHasAlpha(bool hasAlpha);
    virtual void setHorizontalFrames(bool horizontal);
    virtual void setOrientation(std::uint32_t orientation);
    virtual void setFrameCount(std::uint32_t count);
    virtual void setVerticallyStretchable(bool stretchable);
    virtual void setHorizontallyStretchable(bool stretchable);
    virtual void setTopBorder(std::uint32_t pixels);
    virtual void setBottomBorder(std::uint32_t pixels);
    virtual void setLeftBorder(std::uint32_t pixels);
    virtual void setRightBorder(std::uint32_t pixels);
    // The serialised form: a version word (1), has-alpha as one byte, then
    // orientation, frame count, stretch flags and the top, bottom, left and
    // right borders, each 32-bit little-endian. False when the stream ends
    // early (the properties are then left as they were) or cannot be written.
    virtual bool readFrom(Basalt::Stream& stream);
    virtual bool writeTo(Basalt::Stream& stream) const;
    virtual void changed() {}

    bool hasAlpha() const { return hasAlpha_; }
    std::uint32_t orientation() const { return orientation_; }
    std::uint32_t frameCount() const { return frameCount_; }
    std::uint32_t stretchFlags() const { return stretchFlags_; }
    bool verticallyStretchable() const { return (stretchFlags_ & VerticallyStretchable) != 0; }
    bool horizontallyStretchable() const { return (stretchFlags_ & HorizontallyStretchable) != 0; }
    std::uint32_t topBorder() const { return top_; }
    std::uint32_t bottomBorder() const { return bottom_; }
    std::uint32_t leftBorder() const { return left_; }
    std::uint32_t rightBorder() const { return right_; }

private:
    bool hasAlpha_ = false;
    std::uint32_t orientation_ = Vertical;
    std::uint32_t frameCount_ = 0;
    std::uint32_t stretchFlags_ = 0;
    std::uint32_t top_ = 0;
    std::uint32_t bottom_ = 0;
    std::uint32_t left_ = 0;
    std::uint32_t right_ = 0;
};

} // namespace Casement
