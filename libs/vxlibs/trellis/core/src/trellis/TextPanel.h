#pragma once

#include "trellis/PanelDrawer.h"
#include "trellis/TextDrawing.h"
#include "trellis/WidgetTemplate.h"

#include <casement/Font.h>

#include <memory>
#include <string>
#include <string_view>

namespace Trellis {

// A widget that shows one text (UTF-8) over its panel: background, picture
// and dye mask, then the text in the content box (the rectangle inside the
// margins) with the style's alignment, font and foreground colour. Its size
// comes from the stylesheet only; a new text is repainted, not laid out.
template <typename T>
class TextPanel : public WidgetTemplate<T> {
public:
    void setText(std::string_view text)
    {
        if (text != text_) {
            text_.assign(text);
            this->repaint();
        }
    }
    const std::string& text() const { return text_; }
    std::string_view shownText() const override { return text_; }

protected:
    // The painter of the text widgets: the panel, then the text.
    static void paintPanelAndText(T& widget, PaintContext& context)
    {
        widget.drawer_.drawPanel(widget, context);
        const tEdges& margins = widget.margins();
        const Casement::Rect content{margins.left, margins.top, widget.width() - margins.left - margins.right,
                                     widget.height() - margins.top - margins.bottom};
        drawWidgetText(widget, widget.drawer_, widget.text_, content, styleAlignment(widget), context);
    }

private:
    PanelDrawer drawer_;
    std::string text_;
};

} // namespace Trellis
