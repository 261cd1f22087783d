// Word wrapping of multi-line text, as tables of text and width against the
// lines they give, at scale 1 and 2.
#include "TreeTestSupport.h"

#include <trellis/ComputedStyle.h>
#include <trellis/MultilineText.h>
#include <trellis/TextDrawing.h>

#include <casement/Font.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <tuple>

namespace Trellis {
namespace {

using namespace Testing;

struct tWrap {
    const char* name;
    const char* text;
    const char* fits;  // the widest text that fits on a line
    std::vector<std::string_view> lines;
};

void PrintTo(const tWrap& wrap, std::ostream* out)
{
    *out << wrap.name;
}

class TextWrap : public TreeTest, public testing::WithParamInterface<std::tuple<tWrap, int>> {
protected:
    void SetUp() override
    {
        build("MultilineLabel { font-size: 12; margin-left: 3; margin-right: 4; margin-top: 9; }\n",
              {1000, 400});
        pane.setScale(static_cast<float>(std::get<1>(GetParam())));
        label = std::make_shared<MultilineLabel>();
        root->addChild(label, PooledName("Message"));
        label->init("", nullptr);
        label->setAutoHeight(true);
        frame();
    }

    // The width of the text in layout pixels, as wrapping measures it.
    std::int32_t widthOf(std::string_view text)
    {
        const auto font = readScaledFont(*label, *resources->computedStyle(*label));
        return toLayoutPixels(font->width(text.data(), text.size()), pane.scale());
    }

    std::int32_t lineHeight()
    {
        const auto font = readScaledFont(*label, *resources->computedStyle(*label));
        return toLayoutPixels(font->lineHeight(), pane.scale());
    }

    std::shared_ptr<MultilineLabel> label;
};

TEST_P(TextWrap, BreaksWhereTheNextCodePointWouldNotFit)
{
    const tWrap& wrap = std::get<0>(GetParam());
    label->setSizeLimits({0, 0}, {widthOf(wrap.fits) + 7, 0});
    label->setText(wrap.text);
    frame();
    EXPECT_EQ(label->width(), widthOf(wrap.fits) + 7);
    EXPECT_EQ(label->lines(), wrap.lines);
    EXPECT_EQ(label->height(), lineHeight() * static_cast<std::int32_t>(wrap.lines.size()))
        << "the height follows the lines; margins are not added";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextWrap,
    testing::Combine(
        testing::Values(
            // The space or hyphen at which a line breaks ends that line.
            tWrap{"SpaceEndsTheLine", "one two three", "one two ", {"one two ", "three"}},
            tWrap{"HyphenEndsTheLine", "well-known", "well-kno", {"well-", "known"}},
            // A word longer than the line breaks before what does not fit.
            tWrap{"LongWordBreaksWhereItMust", "aaaaaaaaaa", "aaaa", {"aaaa", "aaaa", "aa"}},
            // Line feeds always break; control bytes are dropped.
            tWrap{"LineFeedBreaks", "alpha\nbeta", "alpha beta gamma", {"alpha", "beta"}},
            tWrap{"ControlBytesAreDropped", "ta\tb\rle", "table", {"table"}},
            tWrap{"Accents", "café crème brûlée", "café crème ", {"café crème ", "brûlée"}},
            tWrap{"GreekAndCyrillic", "Ελληνικά Кириллица", "Ελληνικά Кир", {"Ελληνικά ", "Кириллица"}},
            tWrap{"Empty", "", "x", {""}}),
        testing::Values(1, 2)),
    [](const testing::TestParamInfo<std::tuple<tWrap, int>>& test) {
        return std::string(std::get<0>(test.param).name) + "_Scale" + std::to_string(std::get<1>(test.param));
    });

TEST_F(TreeTest, AutomaticHeightStopsAtTheMaximumAndWrapsOnlyOnTheScreen)
{
    build("MultilineLabel { font-size: 12; max-height: 20; width: 30; }\n");
    auto label = std::make_shared<MultilineLabel>();
    label->setAutoHeight(true);
    label->init("a b c d e f g h", nullptr);
    EXPECT_EQ(label->lineCount(), 0u) << "no wrapping before the widget is on the screen";
    root->addChild(label, PooledName("Message"));
    frame();
    EXPECT_GT(label->lineCount(), 1u);
    EXPECT_EQ(label->height(), 20);
    label->setText("a b c d e f g h");
    EXPECT_FALSE(label->needsUpdate()) << "the same text changes nothing";
}

// A text set while the label is hidden leaves no line of the old text
// behind, and is wrapped when the label is shown again.
TEST_F(TreeTest, ATextSetWhileHiddenIsWrappedWhenShown)
{
    build("MultilineLabel { font-size: 12; width: 30; }\n");
    auto label = std::make_shared<MultilineLabel>();
    root->addChild(label, PooledName("Message"));
    label->init("alpha beta gamma delta epsilon zeta", nullptr);
    frame();
    ASSERT_GT(label->lineCount(), 4u);
    const auto withinText = [&label] {
        const std::string& text = label->text();
        return std::ranges::all_of(label->lines(), [&text](std::string_view line) {
            return line.data() >= text.data() && line.data() + line.size() <= text.data() + text.size();
        });
    };
    label->setVisible(false);
    frame();
    label->setText("x");
    EXPECT_TRUE(withinText()) << "while hidden";
    label->setVisible(true);
    frame();
    EXPECT_TRUE(withinText()) << "once shown";
    EXPECT_EQ(label->lines(), (std::vector<std::string_view>{"x"}));
}

} // namespace
} // namespace Trellis
