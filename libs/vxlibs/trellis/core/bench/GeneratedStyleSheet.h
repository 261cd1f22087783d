#pragma once

// A generated stylesheet of about 22 KB (or of another size) written like a
// skin's: comments of both kinds, @define constants, type, id, style,
// attribute and state selectors, both relations, selector lists and every
// value form. Panel n styles the widgets with ids "Panel<n>Title",
// "Panel<n>Action", "Panel<n>Quit" and "Panel<n>"; a larger sheet has more
// panels, so every property gets more rules.

#include <cstddef>
#include <string>

namespace Trellis::Bench {

inline constexpr std::size_t TargetSize = 22 * 1024;

inline const char* const Types[] = {"Bar", "Button", "Label", "Image", "Pane", "ProgressBar"};
inline const char* const States[] = {":over", ":down", ":!enabled", ":selected:over", ":focus", ":!dormant"};

inline void appendConstants(std::string& text)
{
    text += "/* Colours and sizes shared by every panel.\n   Change them here only. */\n";
    text += "@define $colorButtonFont rgba( 16, 35, 49, 230 ); //button colors\n";
    text += "@define $colorPanel rgb(32, 40, 48);\n";
    text += "@define $colorAccent #FF8000;\n";
    text += "@define $margin 9px;\n";
    text += "@define $fontFace Corvel;\n\n";
}

// One block of styles around the panel numbered `n`.
inline void appendPanel(std::string& text, int n)
{
    const std::string panel = "Panel" + std::to_string(n);
    const char* type = Types[n % 6];
    text += "// " + panel + ": title, buttons and status\n";
    text += "Bar#" + panel + "Title // header\n{\n";
    text += "\timage: url( \"Bg_Header_" + std::to_string(n) + ".png\" );\n";
    text += "\touter-margin: $margin;\n\tinner-margin: 4px;\n\theight: 38;\n}\n";
    text += std::string(type) + "#" + panel + "Action" + States[n % 6] + ",\n";
    text += "\tButton#" + panel + "Quit:!enabled\n{\n";
    text += "\tfont-color: $colorButtonFont;\n\tbackground-color: rgba (0,0,0,128);\n";
    text += "\topacity: 50%;\n\tvisible: false;\n\ttext-align: center;\n}\n";
    text += "tree<Bar>.Design::Bar#" + panel + " Button[ product^=S0 ][state!=busy]" + States[(n + 1) % 6] + "\n{\n";
    text += "\tfont: $fontFace;\n\tfont-size: 12.5px;\n\tbackground-color: $colorAccent;\n\tcolor: #80FF0000;\n}\n";
    text += "*#" + panel + "  Label.Status, Pane#" + panel + " :: Image { animation-index: 0; scale: 1.5; }\n\n";
}

inline std::string generatedStylesheet(std::size_t targetSize = TargetSize)
{
    std::string text;
    appendConstants(text);
    for (int n = 0; text.size() < targetSize; ++n) {
        appendPanel(text, n);
    }
    return text;
}

} // namespace Trellis::Bench
