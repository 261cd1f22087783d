#include "TreeTestSupport.h"

#include <casement/WindowEvents.h>

#include <ostream>

namespace Trellis::Testing {
namespace {

std::uint32_t framed(int x, int y, int size, int border, std::uint32_t edge)
{
    const bool inside = x >= border && y >= border && x < size - border && y < size - border;
    return inside ? Green : edge;
}

void addPictures(TestModule& table)
{
    table.add("PICTURE", "SOLID.TGA", tgaPicture(10, 6, Blue));
    table.add("PICTURE", "FRAMED.TGA", tgaPicture(12, 12, [](int x, int y) { return framed(x, y, 12, 3, Red); }));
    table.add("PICTURE", "FRAMED@2X.TGA",
              tgaPicture(24, 24, [](int x, int y) { return framed(x, y, 24, 6, Yellow); }));
    table.add("PICTURE", "STRIP.TGA", tgaPicture(8, 16, [](int, int y) {
                  const std::uint32_t colours[] = {Red, Green, Blue, Yellow};
                  return colours[y / 4];
              }));
    table.add("PICTURE", "MASK.TGA", tgaPicture(8, 8, [](int x, int) { return x < 4 ? 0xFF000000u : 0u; }));
}

} // namespace

TreeTest::TreeTest()
{
    table.addNumbered("TTFd", 1, testFontBytes());
    addPictures(table);
}

TreeTest::~TreeTest()
{
    pane.setRoot(nullptr);
}

void TreeTest::build(const std::string& styleSheet, Casement::Point size, std::uint32_t direction)
{
    table.add("STYLESHEET", "TEST.TXT", std::vector<unsigned char>(styleSheet.begin(), styleSheet.end()));
    module = table.module();
    resources = std::make_unique<ManagerContainer>(module);
    resources->setStyleSheet("Test.txt");
    root = std::make_shared<Bar>();
    pane.setRoot(root);
    root->init(direction, "Root");
    pane.setSize(size.x, size.y);
}

std::shared_ptr<Bar> TreeTest::bar(Widget& parent, const std::string& id, std::uint32_t direction, const char* style)
{
    auto made = std::make_shared<Bar>();
    parent.addChild(made, PooledName(id));
    made->init(direction, style);
    return made;
}

void TreeTest::mouse(std::uint32_t kind, std::int32_t x, std::int32_t y, std::uint32_t which)
{
    const Casement::tMouseButtonEvent event{x, y, 0, which, kind};
    pane.handleEvent(Casement::MouseButton, &event);
}

void TreeTest::move(std::int32_t x, std::int32_t y)
{
    const Casement::tMouseMoveEvent event{x, y, 0};
    pane.handleEvent(pane.isMouseButtonHeld() ? Casement::MouseDrag : Casement::MouseMove, &event);
}

tPlace placeOf(const Widget& widget)
{
    return {widget.position().x, widget.position().y, widget.width(), widget.height()};
}

void PrintTo(const tPlace& place, std::ostream* out)
{
    *out << "(" << place.x << ", " << place.y << ", " << place.width << " x " << place.height << ")";
}

} // namespace Trellis::Testing
