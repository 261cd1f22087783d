#pragma once

// A widget tree shaped like the updater's window, for the benchmarks: 628 x 336,
// about 40 Bars, most of them drawn from the updater's pictures with stretch
// borders (stand-ins for the labels and buttons, which are Bars with the same
// pictures), and a hidden about overlay. The pictures come from the updater's
// program resources (tvs_embed_updater_resources).
#include <trellis/Bar.h>
#include <trellis/Pane.h>

#include <casement/Geometry.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace UpdaterWindowTree {

constexpr std::int32_t Width = 628;
constexpr std::int32_t Height = 336;

// The window's look; positions follow the updater's layout (title strip at
// 9, 9; body panel at 9, 56; info panel at 28, 185; buttons at y 280).
inline const char* const StyleSheet = R"(
*.Main { background-color: rgb(242, 242, 242); width: 628; height: 336; }
Bar#Title { image: url("Bg_Header_FU.png"); outer-margin: 9; }
Bar#Headline { width: 609; }
Bar#About { image: url("Logo_VX.png"); x: 570; y: 9; }
Bar#Body { background-color: rgb(242, 242, 242); width: 609; height: 270; image: url("Bg_Inner_FU.png");
    fixed: 5; margin-left: 19; margin-top: 19; margin-right: 18; picture-includes-margin: true; spacing: 18;
    outer-margin-left: 9; outer-margin-right: 9; outer-margin-bottom: 9; }
Bar#Firmware { image: url("Bg_Content.png"); fixed: 6; width: 571; height: 92; spacing: 9; }
Bar#FirmwareBody { height: 92; }
Bar#Revisions { width: 421; margin: 10; spacing: 9; }
Bar#Row0, Bar#Row1, Bar#Row2 { spacing: 9; }
Bar#Value0, Bar#Value1, Bar#Value2 { image: url("Text_Display.png"); animations: 4; fixed-left: 2; fixed-right: 2; }
Bar#Value0, Bar#Value1 { width: 100; }
Bar#Value1 { animation-index: 2; }
Bar#Value2 { width: 200; }
Bar#Caption0, Bar#Caption1, Bar#Caption2 { width: 128; height: 18; }
Bar#Device { image: url("device.png"); width: 95; outer-margin-top: 10; }
Bar#Veil { background-color: rgba(255, 255, 255, 217); height: 72; }
Bar#Info { image: url("Bg_Status.png"); animations: 3; animation-index: 2; fixed: 6; width: 570; height: 71;
    margin-left: 12; picture-includes-margin: true; spacing: 10; }
Bar#Icon { image: url("Icon_Big_Status.png"); animations: 2; animation-index: 1; outer-margin-top: 23; }
Bar#Wheel { image: url("Busywheel.png"); animations: 12; animation-index: 5; outer-margin-top: 21; }
Bar#MessageBar { width: 525; margin-top: 13; }
Bar#Message { width: 520; height: 45; }
Bar#Buttons { width: 571; height: 33; outer-margin-top: 6; spacing: 7; }
Bar#Action, Bar#Quit, Bar#Close { image: url("button_forward_FU.png"); animations: 7; picture-includes-margin: true;
    margin-left: 10; margin-right: 10; }
Bar#Overlay { x: 0; y: 0; width: 628; height: 336; background-color: rgba(0, 0, 0, 128); margin-left: 105;
    margin-top: 41; }
Bar#AboutPanel { image: url("Bg_Overlay_FU.png"); picture-includes-margin: true; margin: 13; spacing: 6; }
Bar#AboutTitle { height: 22; }
Bar#Version, Bar#Credit0, Bar#Credit1, Bar#Credit2, Bar#Credit3, Bar#Link { height: 16; }
Bar#Copyright { x: 226; y: 28; width: 80; height: 16; }
Bar#Separator { background-color: rgb(200, 200, 200); height: 1; }
)";

inline std::shared_ptr<Trellis::Bar> addBar(Trellis::Widget& parent, std::uint32_t direction, const std::string& id)
{
    auto bar = std::make_shared<Trellis::Bar>();
    parent.addChild(bar, Trellis::PooledName(id));
    bar->init(direction, nullptr);
    return bar;
}

inline void buildTitle(Trellis::Widget& root)
{
    auto title = addBar(root, Trellis::RightToLeft, "Title");
    addBar(*title, Trellis::LeftToRight, "Headline");
    addBar(*title, Trellis::LeftToRight, "About");
}

// Three rows of a value field and its caption, and the device picture with
// its veil.
inline void buildFirmware(Trellis::Widget& body)
{
    auto panel = addBar(body, Trellis::TopToBottom, "Firmware");
    auto inner = addBar(*panel, Trellis::LeftToRight, "FirmwareBody");
    auto revisions = addBar(*inner, Trellis::TopToBottom, "Revisions");
    for (int row = 0; row < 3; ++row) {
        const std::string n = std::to_string(row);
        auto line = addBar(*revisions, Trellis::LeftToRight, "Row" + n);
        line->setAutoBreadth();
        addBar(*line, Trellis::LeftToRight, "Value" + n);
        addBar(*line, Trellis::LeftToRight, "Caption" + n);
    }
    auto device = addBar(*inner, Trellis::TopToBottom, "Device");
    addBar(*device, Trellis::TopToBottom, "Veil");
}

// The status icon is shown, the busy wheel hidden, as on the page that
// offers an update.
inline void buildInfo(Trellis::Widget& body)
{
    auto info = addBar(body, Trellis::LeftToRight, "Info");
    addBar(*info, Trellis::TopToBottom, "Icon");
    addBar(*info, Trellis::TopToBottom, "Wheel")->setVisible(false);
    auto message = addBar(*info, Trellis::TopToBottom, "MessageBar");
    addBar(*message, Trellis::TopToBottom, "Message");
}

inline void buildButtons(Trellis::Widget& body)
{
    auto buttons = addBar(body, Trellis::RightToLeft, "Buttons");
    addBar(*buttons, Trellis::LeftToRight, "Action");
    addBar(*buttons, Trellis::LeftToRight, "Quit");
}

// The about box: a dimming Bar over the window holding the panel. Hidden,
// as it is until asked for, so it is neither laid out nor painted.
inline void buildOverlay(Trellis::Widget& root)
{
    auto overlay = addBar(root, Trellis::TopToBottom, "Overlay");
    overlay->setFloating(true);
    overlay->setVisible(false);
    auto panel = addBar(*overlay, Trellis::TopToBottom, "AboutPanel");
    for (const char* id : {"AboutTitle", "Version", "Copyright", "Separator", "Credit0", "Credit1", "Credit2",
                           "Credit3", "Link", "Close"}) {
        addBar(*panel, Trellis::LeftToRight, id);
    }
}

struct tTree {
    std::shared_ptr<Trellis::Bar> root;
    Trellis::Widget* body = nullptr;
};

// Makes the tree the root tree of `pane` (the caller sizes the pane, or the
// window does).
inline tTree build(Trellis::Pane& pane)
{
    tTree tree{std::make_shared<Trellis::Bar>(), nullptr};
    tree.root->init(Trellis::TopToBottom, "Main");
    pane.setRoot(tree.root);
    buildTitle(*tree.root);
    auto body = addBar(*tree.root, Trellis::TopToBottom, "Body");
    buildFirmware(*body);
    buildInfo(*body);
    buildButtons(*body);
    buildOverlay(*tree.root);
    tree.body = body.get();
    return tree;
}

inline int countWidgets(const Trellis::Widget& widget)
{
    int count = 1;
    for (const auto& child : widget.children()) {
        count += countWidgets(*child);
    }
    return count;
}

inline const Trellis::Widget* findWidget(const Trellis::Widget& widget, const char* id)
{
    if (widget.id().str() == id) {
        return &widget;
    }
    for (const auto& child : widget.children()) {
        if (const Trellis::Widget* found = findWidget(*child, id)) {
            return found;
        }
    }
    return nullptr;
}

struct tExpectedPlace {
    const char* id;
    Casement::Rect rect;
};

// Compares places of the updater's layout that the stylesheet is meant to
// reproduce, after a frame cycle; warns on standard error about each one that
// differs and returns their number.
inline int checkLayout(const Trellis::Widget& root)
{
    const tExpectedPlace expected[] = {
        {"Title", {9, 9, 609, 38}},       {"About", {579, 18, 29, 21}},     {"Body", {9, 56, 609, 270}},
        {"Firmware", {28, 75, 571, 92}},  {"Value0", {38, 85, 100, 18}},    {"Value2", {38, 139, 200, 18}},
        {"Device", {449, 85, 95, 72}},    {"Caption2", {247, 139, 128, 18}}, {"Info", {28, 185, 570, 71}},
        {"Icon", {40, 208, 23, 23}},      {"Message", {73, 198, 520, 45}},  {"Action", {494, 280, 105, 33}},
        {"Quit", {382, 280, 105, 33}},
    };
    int problems = 0;
    for (const tExpectedPlace& place : expected) {
        const Trellis::Widget* widget = findWidget(root, place.id);
        const Casement::Rect actual = widget ? widget->rect() : Casement::Rect{};
        if (actual != place.rect) {
            std::fprintf(stderr, "warning: %s is at %d,%d %dx%d, expected %d,%d %dx%d\n", place.id, actual.x,
                         actual.y, actual.width, actual.height, place.rect.x, place.rect.y, place.rect.width,
                         place.rect.height);
            ++problems;
        }
    }
    return problems;
}

} // namespace UpdaterWindowTree
