#pragma once

#include "trellis/TextPanel.h"

namespace Trellis {

// One line of text over the standard panel.
class Label : public TextPanel<Label> {
public:
    // Installs the painter, sets the text, then the style (a null style
    // leaves the style name unset).
    Label& init(std::string_view text, const char* style)
    {
        setPainter(paintPanelAndText);
        setText(text);
        setStyle(style);
        return *this;
    }

    std::string_view getClass() const override { return "Label"; }

protected:
    eAccessibleRole classAccessibleRole() const override { return eAccessibleRole::Label; }
};

} // namespace Trellis
