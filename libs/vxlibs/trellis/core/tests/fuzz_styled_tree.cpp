// Fuzzes what a stylesheet does to a widget tree: the bytes are loaded as the
// rules of a small tree of Bars (every stacking direction, automatic breadth
// and length, a flexible child, pictures with and without stretch borders),
// which is then laid out and painted at scale 2. Hostile sizes, margins,
// positions and frame indices must neither crash nor overflow; the layout
// must settle or be cut off after the last allowed update pass.
#include "TestResources.h"

#include <trellis/BackgroundDrawingCanvas.h>
#include <trellis/Bar.h>
#include <trellis/ManagerContainer.h>
#include <trellis/Pane.h>
#include <trellis/StyleManager.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {

using namespace Trellis;

ManagerContainer& resources()
{
    static Testing::TestModule table = [] {
        Testing::TestModule made;
        made.add("PICTURE", "A.TGA", Testing::tgaPicture(6, 8, [](int x, int y) { return (x + y) % 3 ? 0xFF00FF00u : 0x80FF0000u; }));
        made.add("PICTURE", "B.TGA", Testing::tgaPicture(3, 3, 0xFF0000FFu));
        return made;
    }();
    static const Basalt::ResourceModule module = table.module();
    static ManagerContainer container(module);
    return container;
}

std::shared_ptr<Bar> addBar(Widget& parent, const char* id, std::uint32_t direction)
{
    auto bar = std::make_shared<Bar>();
    parent.addChild(bar, PooledName(id));
    bar->init(direction, id);
    return bar;
}

// Ids double as style names, so that "#A" and ".A" both reach a Bar.
std::shared_ptr<Bar> buildTree(Pane& pane)
{
    auto root = std::make_shared<Bar>();
    pane.setRoot(root);
    root->init(TopToBottom, "Root");
    auto row = addBar(*root, "A", LeftToRight);
    row->setAutoBreadth();
    addBar(*row, "B", TopToBottom);
    addBar(*addBar(*row, "C", RightToLeft), "D", BottomToTop);
    auto column = addBar(*root, "E", BottomToTop);
    column->setAutoLength(true);
    addBar(*column, "F", LeftToRight);
    addBar(*column, "G", TopToBottom)->setVisible(false);
    auto flexible = addBar(*root, "H", RightToLeft);
    flexible->setFlexibleChild(1);
    addBar(*flexible, "I", LeftToRight);
    addBar(*flexible, "J", LeftToRight);
    return root;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ManagerContainer& container = resources();
    container.styleSets().front().manager->loadStyleSheetText(
        std::string_view(reinterpret_cast<const char*>(data), size));
    Pane pane;
    const auto root = buildTree(pane);
    pane.setSize(64, 48);
    BackgroundDrawingCanvas canvas;
    canvas.setScale(2);
    canvas.resize({64, 48});
    for (int frame = 0; frame < 3; ++frame) {
        pane.paint(pane.runFrameCycle(), canvas, Pane::AllTrees);
    }
    pane.setRoot(nullptr);
    return 0;
}
