// Stylesheets as written, from text to the values widgets read: the parser,
// the rule database, composition and computed styles together.
#include "StyleTestBuilder.h"

#include <trellis/ComputedStyle.h>
#include <trellis/DefaultStyleSheet.h>
#include <trellis/LazyPicture.h>

#include <casement/Picture.h>

namespace Trellis {
namespace {

using namespace Testing;

class StyleSheetText : public StyleTest {
protected:
    // Makes the text the stylesheet resource `name` of a fresh container.
    void useStyleSheet(const char* upperCaseName, const std::string& text)
    {
        table.add("STYLESHEET", upperCaseName, std::vector<unsigned char>(text.begin(), text.end()));
        pane.setRoot(nullptr);
        resources.reset();
        module = table.module();
        resources = std::make_unique<ManagerContainer>(module);
        root = widget("Bar", true);
        pane.setRoot(root);
    }

    std::uint32_t background(const Widget& widget)
    {
        return readSlot(widget, resources->computeStyle(widget).colours[ComputedStyle::BackgroundColour]);
    }

    WarningCollector collector;
};

TEST_F(StyleSheetText, TheDefaultStyleSheetGivesGreyWidgetsAndDarkBars)
{
    auto button = add("Button");
    const ComputedStyle& style = resources->computeStyle(*button);
    EXPECT_EQ(readSlot(*button, style.colours[ComputedStyle::BackgroundColour]), 0xFFC0C0C0u);
    EXPECT_EQ(readSlot(*button, style.colours[ComputedStyle::BackgroundBorderColour]), 0xFF808080u);
    EXPECT_EQ(readSlot(*button, style.colours[ComputedStyle::ForegroundColour]), 0xFF000000u);
    EXPECT_EQ(background(*root), 0xFF202020u);

    pane.setPressedWidget(button.get());
    pane.pressMouseButton(1);
    pane.setHoverWidget(button.get());
    EXPECT_EQ(readSlot(*button, style.colours[ComputedStyle::BackgroundColour]), 0xFFB0B0B0u)
        << ":down is written before the equally specific :over";
    pane.releaseMouseButton(1);
    EXPECT_EQ(readSlot(*button, style.colours[ComputedStyle::BackgroundColour]), 0xFFD0D0D0u);
    EXPECT_TRUE(collector.warnings.empty());
}

TEST_F(StyleSheetText, ALoadedStyleSheetReplacesTheDefaultRules)
{
    useStyleSheet("SKIN.TXT", "@define $panel rgb(1, 2, 3);\n"
                              "Bar { background-color: $panel; }\n");
    resources->setStyleSheet("Skin.txt");
    auto button = add("Button");
    EXPECT_EQ(background(*root), 0xFF010203u);
    EXPECT_EQ(background(*button), 0u) << "no rule is left from the default stylesheet";
    EXPECT_TRUE(collector.warnings.empty());
}

TEST_F(StyleSheetText, StatesAndAttributesFollowTheWidgetWithoutReloading)
{
    useStyleSheet("SKIN.TXT", "Button:down { background-color: #000001; }\n"
                              "Button:over { background-color: #000002; }\n"
                              "Button:selected:over { background-color: #000003; }\n"
                              "Bar#Info[ background=error ] { animation-index: 1; }\n"
                              "Bar#Info[ background=ok ] { animation-index: 2; }\n");
    resources->setStyleSheet("Skin.txt");
    auto button = add("Button");
    auto info = add("Bar", "Info");

    pane.setHoverWidget(button.get());
    pane.setPressedWidget(button.get());
    pane.pressMouseButton(1);
    EXPECT_EQ(background(*button), 0xFF000001u);
    button->setSelected(true);
    EXPECT_EQ(background(*button), 0xFF000003u) << "two state conditions beat one";

    info->setAttribute("background", "error");
    EXPECT_EQ(readSlot(*info, resources->computeStyle(*info).animationIndex), 1);
    info->setAttribute("background", "ok");
    EXPECT_TRUE(info->isStyleOutOfDate());
    EXPECT_EQ(readSlot(*info, resources->computeStyle(*info).animationIndex), 2);
}

TEST_F(StyleSheetText, ComposedPicturesAndFontsComeFromOneStyleEach)
{
    useStyleSheet("SKIN.TXT", "@define $uiFont url(\"corvel.ttf\");\n"
                              "Bar Button { image: url(\"Wheel.png\"); animations: 7; fixed: 6px; }\n"
                              "Bar#top Button { animation-index: 3; }\n"
                              "Label { font-size: 13; }\n"
                              "Label.named { font-name: $uiFont; font-size: 13; }\n");
    resources->setStyleSheet("Skin.txt");
    auto top = add("Bar", "top");
    auto button = add("Button", "", top.get());
    const ComputedStyle& style = resources->computeStyle(*button);
    const auto picture = readSlot(*button, style.picture);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->name(), "Wheel.png");
    EXPECT_EQ(readSlot(*button, style.animationIndex), 3);

    auto plain = add("Label");
    auto named = add("Label");
    named->setStyle("named");
    const auto plainFont = readSlot(*plain, resources->computeStyle(*plain).font);
    const auto namedFont = readSlot(*named, resources->computeStyle(*named).font);
    ASSERT_TRUE(plainFont && namedFont);
    EXPECT_EQ(plainFont->size(), 13);
    EXPECT_EQ(namedFont->size(), 13);
    EXPECT_NE(plainFont, namedFont) << "the built-in font and corvel.ttf are different fonts";
}

TEST_F(StyleSheetText, ImportsThroughTheResourcesAreRemembered)
{
    table.add("STYLESHEET", "COLOURS.TXT", {'@', 'd', 'e', 'f', 'i', 'n', 'e', ' ', '$', 'c', ' ', '#', '4', '2', ';'});
    useStyleSheet("SKIN.TXT", "@import url(\"Colours.txt\");\nBar { background-color: $c; }\n");
    resources->setStyleSheet("Skin.txt");
    EXPECT_EQ(background(*root), 0xFF000042u);
    EXPECT_EQ(manager().importedSet().size(), 1u);
    EXPECT_TRUE(collector.warnings.empty());
}

} // namespace
} // namespace Trellis
