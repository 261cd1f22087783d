#pragma once

#include "TestResources.h"

#include <trellis/Bar.h>
#include <trellis/ManagerContainer.h>
#include <trellis/Pane.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Trellis::Testing {

// Opaque colours of the test pictures.
constexpr std::uint32_t Red = 0xFFE02020;
constexpr std::uint32_t Green = 0xFF20C040;
constexpr std::uint32_t Blue = 0xFF2040E0;
constexpr std::uint32_t Yellow = 0xFFF0D020;

// Widget trees styled by stylesheet text, in a Pane without a window. The
// program resources hold the test fonts and these pictures:
// - "Solid.tga": 10 x 6, blue;
// - "Framed.tga": 12 x 12, a 3-pixel red border around green, and
//   "Framed@2x.tga": 24 x 24, a 6-pixel yellow border around green;
// - "Strip.tga": four frames of 8 x 4 stacked, red, green, blue, yellow;
// - "Mask.tga": 8 x 8, alpha 255 on the left half and 0 on the right.
class TreeTest : public testing::Test {
protected:
    TreeTest();
    ~TreeTest() override;

    // Makes the stylesheet "Test.txt" the rules and the Pane `size` large,
    // with a root Bar of style "Root" stacking in `direction`.
    void build(const std::string& styleSheet, Casement::Point size = {200, 100},
               std::uint32_t direction = TopToBottom);
    // A Bar added below `parent` under `id`.
    std::shared_ptr<Bar> bar(Widget& parent, const std::string& id, std::uint32_t direction = TopToBottom,
                             const char* style = nullptr);
    std::vector<Casement::Rect> frame() { return pane.runFrameCycle(); }
    // Mouse events of the window layer at a Pane point: a button event of a
    // kind (press, release, double click) and a move (a drag while a button
    // is held).
    void mouse(std::uint32_t kind, std::int32_t x, std::int32_t y, std::uint32_t which = 1);
    void move(std::int32_t x, std::int32_t y);

    TestModule table;
    Basalt::ResourceModule module;
    std::unique_ptr<ManagerContainer> resources;
    Pane pane;
    std::shared_ptr<Bar> root;
    WarningCollector warnings;
};

// A text widget (Label, Button, MultilineLabel) with `text` added below
// `parent` under `id`, unstyled.
template <typename T>
std::shared_ptr<T> addText(Widget& parent, const char* id, std::string_view text)
{
    auto widget = std::make_shared<T>();
    parent.addChild(widget, PooledName(id));
    widget->init(text, nullptr);
    return widget;
}

// (x, y, width, height) of a widget relative to its parent's content box.
struct tPlace {
    std::int32_t x, y, width, height;
    bool operator==(const tPlace&) const = default;
};
tPlace placeOf(const Widget& widget);
void PrintTo(const tPlace& place, std::ostream* out);

} // namespace Trellis::Testing
