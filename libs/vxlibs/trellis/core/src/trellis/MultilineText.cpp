#include "trellis/MultilineText.h"

#include "trellis/Canvas.h"
#include "trellis/ComputedStyle.h"
#include "trellis/ManagerContainer.h"
#include "trellis/Pane.h"
#include "trellis/StyleLookups.h"
#include "trellis/TextDrawing.h"

#include <casement/Font.h>
#include <casement/Utf8Decoder.h>

#include <algorithm>
#include <cmath>

namespace Trellis {
namespace {

const PooledName LineSpacing("line-spacing");

std::shared_ptr<Casement::Font> fontOf(const Widget& widget)
{
    auto* container = ManagerContainer::instance();
    const ComputedStyle* style = container ? container->computedStyle(widget) : nullptr;
    return style ? readScaledFont(widget, *style) : nullptr;
}

float scaleOf(const Widget& widget)
{
    return widget.pane() ? widget.pane()->scale() : 1.0f;
}

bool isBreakPoint(char32_t codePoint)
{
    return codePoint == U'\t' || codePoint == U' ' || codePoint == U'-';
}

// The line starts of `text` wrapped at `width` layout pixels.
class Wrapper {
public:
    Wrapper(std::string_view text, Casement::Font& font, float scale, std::int32_t width)
        : text_(text), font_(font), scale_(scale), width_(width)
    {
    }

    std::vector<std::size_t> wrap()
    {
        Casement::Utf8Decoder decoder(text_);
        for (std::size_t at = 0;; at = decoder.position()) {
            const auto next = decoder.next();
            if (next.status != Casement::Utf8Decoder::Decoded) {
                break;  // an invalid sequence ends what can be measured
            }
            place(next.codePoint, at, decoder.position());
        }
        starts_.push_back(text_.size());
        return starts_;
    }

private:
    void place(char32_t codePoint, std::size_t at, std::size_t after)
    {
        if (codePoint == U'\n') {
            startLine(after);
            return;
        }
        advance_ += font_.advance(codePoint);
        if (at > lineStart_ && toLayoutPixels(advance_, scale_) > width_) {
            // Break after the last space or hyphen, else before this code point.
            const std::size_t start = breakAfter_ > lineStart_ ? breakAfter_ : at;
            startLine(start);
            advance_ = font_.width(text_.data() + start, after - start);
        }
        if (isBreakPoint(codePoint)) {
            breakAfter_ = after;
        }
    }

    void startLine(std::size_t start)
    {
        starts_.push_back(start);
        lineStart_ = breakAfter_ = start;
        advance_ = 0;
    }

    std::string_view text_;
    Casement::Font& font_;
    float scale_;
    std::int32_t width_;
    std::vector<std::size_t> starts_{0};
    std::size_t lineStart_ = 0;
    std::size_t breakAfter_ = 0;  // where a line may start after a break point; lineStart_ when none
    std::int64_t advance_ = 0;
};

} // namespace

void MultilineText::setText(std::string_view text)
{
    std::string kept;
    std::copy_if(text.begin(), text.end(), std::back_inserter(kept),
                 [](char byte) { return static_cast<unsigned char>(byte) >= 32 || byte == '\n'; });
    if (kept != text_) {
        text_ = std::move(kept);
        rewrap();
    }
}

std::vector<std::string_view> MultilineText::lines() const
{
    std::vector<std::string_view> result;
    for (std::size_t i = 0; i + 1 < lineStarts_.size(); ++i) {
        std::string_view line(text_.data() + lineStarts_[i], lineStarts_[i + 1] - lineStarts_[i]);
        if (!line.empty() && line.back() == '\n') {
            line.remove_suffix(1);
        }
        result.push_back(line);
    }
    return result;
}

// The style pass that follows the attachment of a widget with an out-of-date
// style wraps it anyway.
void MultilineText::attachChanged(bool attached)
{
    if (attached && !isStyleOutOfDate()) {
        rewrap();
    }
}

void MultilineText::layout()
{
    if (contentWidth() != wrapWidth_) {
        rewrap();
    }
}

void MultilineText::applyStyle()
{
    lineSpacing_ = 0;
    if (lookupInteger(*this, LineSpacing, lineSpacing_)) {
        lineSpacing_ = limitExtent(lineSpacing_);
    }
    Widget::applyStyle();
    rewrap();
}

// Off the screen the line table is dropped rather than kept: it would
// describe a text that may have changed since.
void MultilineText::rewrap()
{
    if (!hasFlags(Attached)) {
        lineStarts_.clear();
        wrapWidth_ = -1;
        return;
    }
    wrapWidth_ = contentWidth();
    const auto font = fontOf(*this);
    lineStarts_ = font ? Wrapper(text_, *font, scaleOf(*this), wrapWidth_).wrap()
                       : std::vector<std::size_t>{0, text_.size()};
    repaint();
}

MultilineLabel& MultilineLabel::init(std::string_view text, const char* style)
{
    setStyle(style);
    setText(text);
    return *this;
}

void MultilineLabel::setAutoHeight(bool on)
{
    autoHeight_ = on;
    rewrap();
}

std::int32_t MultilineLabel::lineHeight() const
{
    const auto font = fontOf(*this);
    return (font ? toLayoutPixels(font->lineHeight(), scaleOf(*this)) : 0) + lineSpacing();
}

void MultilineLabel::rewrap()
{
    MultilineText::rewrap();
    if (autoHeight_ && hasFlags(Attached)) {
        std::int64_t height = std::int64_t{lineHeight()} * static_cast<std::int64_t>(lineCount());
        if (maximumHeight() > 0) {
            height = std::min<std::int64_t>(height, maximumHeight());
        }
        setSize(width(), static_cast<std::int32_t>(std::min<std::int64_t>(height, 1 << 22)));
    }
}

// Each line in its own box, one line height below the one before, shifted
// as the whole text's first line is aligned.
void MultilineLabel::paint(PaintContext& context)
{
    drawer_.drawPanel(*this, context);
    const auto font = fontOf(*this);
    if (!font) {
        return;
    }
    const tEdges& m = margins();
    const std::int32_t contentWidth = width() - m.left - m.right;
    const Casement::Rect content{m.left, m.top, contentWidth, height() - m.top - m.bottom};
    const float scale = scaleOf(*this);
    const std::int32_t offset = toLayoutPixels(
        font->alignOffset(text(), styleAlignment(*this), static_cast<std::int32_t>(std::lround(contentWidth * static_cast<double>(scale)))), scale);
    const std::int32_t step = lineHeight();
    const auto all = lines();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Casement::Rect box{m.left + offset, m.top + static_cast<std::int32_t>(i) * step, contentWidth, step};
        if (!Casement::intersect(box, content).empty()) {
            drawWidgetText(*this, drawer_, all[i], box, Casement::Font::Left | Casement::Font::Top, context);
        }
    }
}

} // namespace Trellis
