#pragma once

#include "trellis/PanelDrawer.h"
#include "trellis/WidgetTemplate.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace Trellis {

// A UTF-8 text that word-wraps to the widget's content width (its width less
// the left and right margins). Lines break after a space, a tab or a hyphen
// when the next code point would not fit, before the code point that does
// not fit when the line has no such place, and after every line feed.
// Control bytes other than the line feed are dropped. Wrapping measures with
// the style's font at the Pane's scale, and happens only while the widget is
// on the screen (attached): a widget off the screen has no lines, and wraps
// again when it is attached.
class MultilineText : public WidgetTemplate<MultilineText> {
public:
    void setText(std::string_view text);
    const std::string& text() const { return text_; }
    std::string_view shownText() const override { return text_; }
    // The lines as (start, end) byte ranges of text(); a line feed that ends
    // a line is not part of it.
    std::vector<std::string_view> lines() const;
    std::size_t lineCount() const { return lineStarts_.empty() ? 0 : lineStarts_.size() - 1; }
    // Extra pixels below every line ("line-spacing").
    std::int32_t lineSpacing() const { return lineSpacing_; }

    void attachChanged(bool attached) override;
    void layout() override;
    void applyStyle() override;

protected:
    // Wraps the text anew for the current content width.
    virtual void rewrap();

private:
    std::int32_t contentWidth() const { return width() - margins().left - margins().right; }

    std::string text_;
    std::vector<std::size_t> lineStarts_;  // each line's first byte, then the text's size
    std::int32_t lineSpacing_ = 0;
    std::int32_t wrapWidth_ = -1;
};

// A MultilineText drawn over the standard panel, line by line, which can
// make its height follow the number of lines.
class MultilineLabel : public MultilineText {
public:
    // Sets the style (a null style leaves the style name unset), then the text.
    MultilineLabel& init(std::string_view text, const char* style);
    // The height becomes the number of lines times the line height (the
    // font's, plus the line spacing), at most the maximum height; margins are
    // not added.
    void setAutoHeight(bool on);

    std::string_view getClass() const override { return "MultilineLabel"; }
    void paint(PaintContext& context) override;

protected:
    eAccessibleRole classAccessibleRole() const override { return eAccessibleRole::Text; }
    void rewrap() override;

private:
    std::int32_t lineHeight() const;

    bool autoHeight_ = false;
    PanelDrawer drawer_;
};

} // namespace Trellis
