// Times the frame cycle and the painting of a tree shaped like the updater's
// window: 628 x 336, about 40 Bars, most of them drawn from the updater's
// pictures with stretch borders (stand-ins for the labels and buttons, which
// are Bars with the same pictures), and a hidden about overlay. Measured in
// one process with std::chrono::steady_clock, after a warm-up:
//   - a full repaint into a 628 x 336 canvas at scale 1, and at scale 2 (the
//     @2x pictures) into a 1256 x 672 canvas;
//   - an update pass: every style out of date (an attribute of the root
//     changes), then runFrameCycle() (styles, layout, repaint region);
//   - an idle frame: tick() and runFrameCycle() with nothing to do;
//   - std::memcpy of a buffer of each canvas size, as the yardstick.
// Prints the median and the best of N runs of each, the ratio of the median to
// the memcpy of the same canvas size, and the target. The first frame is
// checked first: widgets not where the updater's layout puts them, pictures
// that do not load and toolkit warnings are reported on standard error.
//
//   bench_pane_frame [N]      (default 200)
#include <trellis/BackgroundDrawingCanvas.h>
#include <trellis/Bar.h>
#include <trellis/ComputedStyle.h>
#include <trellis/LazyPicture.h>
#include <trellis/ManagerContainer.h>
#include <trellis/Pane.h>
#include <trellis/StyleManager.h>
#include <trellis/Warnings.h>

#include <basalt/ResourceModule.h>
#include <casement/Picture.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t WindowWidth = 628;
constexpr std::int32_t WindowHeight = 336;

// The window's look; positions follow the updater's layout (title strip at
// 9, 9; body panel at 9, 56; info panel at 28, 185; buttons at y 280).
const char* const StyleSheet = R"(
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

std::shared_ptr<Trellis::Bar> addBar(Trellis::Widget& parent, std::uint32_t direction, const std::string& id)
{
    auto bar = std::make_shared<Trellis::Bar>();
    parent.addChild(bar, Trellis::PooledName(id));
    bar->init(direction, nullptr);
    return bar;
}

void buildTitle(Trellis::Widget& root)
{
    auto title = addBar(root, Trellis::RightToLeft, "Title");
    addBar(*title, Trellis::LeftToRight, "Headline");
    addBar(*title, Trellis::LeftToRight, "About");
}

// Three rows of a value field and its caption, and the device picture with
// its veil.
void buildFirmware(Trellis::Widget& body)
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
void buildInfo(Trellis::Widget& body)
{
    auto info = addBar(body, Trellis::LeftToRight, "Info");
    addBar(*info, Trellis::TopToBottom, "Icon");
    addBar(*info, Trellis::TopToBottom, "Wheel")->setVisible(false);
    auto message = addBar(*info, Trellis::TopToBottom, "MessageBar");
    addBar(*message, Trellis::TopToBottom, "Message");
}

void buildButtons(Trellis::Widget& body)
{
    auto buttons = addBar(body, Trellis::RightToLeft, "Buttons");
    addBar(*buttons, Trellis::LeftToRight, "Action");
    addBar(*buttons, Trellis::LeftToRight, "Quit");
}

// The about box: a dimming Bar over the window holding the panel. Hidden,
// as it is until asked for, so it is neither laid out nor painted.
void buildOverlay(Trellis::Widget& root)
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

struct tWindow {
    Trellis::Pane pane;
    std::shared_ptr<Trellis::Bar> root = std::make_shared<Trellis::Bar>();
    Trellis::Widget* body = nullptr;
};

void buildWindow(tWindow& window)
{
    window.root->init(Trellis::TopToBottom, "Main");
    window.pane.setRoot(window.root);
    window.pane.setSize(WindowWidth, WindowHeight);
    buildTitle(*window.root);
    auto body = addBar(*window.root, Trellis::TopToBottom, "Body");
    buildFirmware(*body);
    buildInfo(*body);
    buildButtons(*body);
    buildOverlay(*window.root);
    window.body = body.get();
}

int countWidgets(const Trellis::Widget& widget)
{
    int count = 1;
    for (const auto& child : widget.children()) {
        count += countWidgets(*child);
    }
    return count;
}

const Trellis::Widget* findWidget(const Trellis::Widget& widget, const char* id)
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

// Every picture of a styled widget must load at scale 1, and its @2x
// variant must be twice as large (an enlarged copy means the variant was not
// found). Returns the number of problems.
int checkPictures(Trellis::ManagerContainer& resources, const Trellis::Widget& widget)
{
    int problems = 0;
    if (const Trellis::ComputedStyle* style = resources.computedStyle(widget)) {
        const auto& lazy = Trellis::readSlot(widget, style->picture);
        const auto single = lazy ? lazy->get(1.0f) : nullptr;
        const auto twice = lazy ? lazy->get(2.0f) : nullptr;
        if (lazy && (!single || !twice)) {
            std::fprintf(stderr, "warning: picture %s of %s did not load\n", lazy->name().c_str(),
                         widget.id().str().c_str());
            ++problems;
        } else if (lazy && (twice->width() != 2 * single->width() || twice->height() != 2 * single->height())) {
            std::fprintf(stderr, "warning: picture %s of %s has no @2x variant\n", lazy->name().c_str(),
                         widget.id().str().c_str());
            ++problems;
        }
    }
    for (const auto& child : widget.children()) {
        problems += checkPictures(resources, *child);
    }
    return problems;
}

struct tExpectedPlace {
    const char* id;
    Casement::Rect rect;
};

// Places of the updater's layout that the stylesheet is meant to reproduce.
int checkLayout(const tWindow& window)
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
        const Trellis::Widget* widget = findWidget(*window.root, place.id);
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

struct tTimes {
    std::vector<double> micros;

    void add(const std::function<void()>& work)
    {
        const auto start = std::chrono::steady_clock::now();
        work();
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    double median()
    {
        std::sort(micros.begin(), micros.end());
        return micros[micros.size() / 2];
    }
    double best()
    {
        std::sort(micros.begin(), micros.end());
        return micros.front();
    }
};

// Runs `prepare` and `work` `warmUp` times, then `runs` times timing only
// `work`. Both are given the call's number, counted on from the warm-up, so
// that work alternating by it alternates at the start of the timed runs too.
tTimes measure(long runs, const std::function<void(long)>& work,
               const std::function<void(long)>& prepare = [](long) {})
{
    const long warmUp = std::max(runs / 10, 5L);
    for (long i = 0; i < warmUp; ++i) {
        prepare(i);
        work(i);
    }
    tTimes times;
    for (long i = warmUp; i < warmUp + runs; ++i) {
        prepare(i);
        times.add([&] { work(i); });
    }
    return times;
}

// Copies one buffer into another; the source changes in one pixel each run
// and a pixel of the copy goes into the checksum, so no copy can be skipped.
tTimes measureCopy(long runs, std::size_t pixels, std::uint64_t& checksum)
{
    std::vector<std::uint32_t> source(pixels, 0xFFF2F2F2U);
    std::vector<std::uint32_t> target(pixels);
    return measure(runs, [&](long i) {
        const auto at = static_cast<std::size_t>(i) * 7919U % pixels;
        source[at] ^= static_cast<std::uint32_t>(i);
        std::memcpy(target.data(), source.data(), pixels * sizeof(std::uint32_t));
        checksum += target[at];
    });
}

std::uint64_t bufferChecksum(const Trellis::BackgroundDrawingCanvas& canvas)
{
    const Casement::Picture& buffer = canvas.getBuffer();
    std::uint64_t sum = 0;
    for (std::int32_t y = 0; y < buffer.height(); ++y) {
        const std::uint32_t* row = buffer.row(y);
        for (std::int32_t x = 0; x < buffer.width(); ++x) {
            sum = sum * 31 + row[x];
        }
    }
    return sum;
}

struct tRow {
    const char* what;
    tTimes times;
    double copyMedian;
    double targetMicros;
};

void printTable(std::vector<tRow>& rows)
{
    std::printf("\n%-37s %11s %11s %9s %11s\n", "", "median", "best", "/ memcpy", "target");
    for (tRow& row : rows) {
        const double median = row.times.median();
        std::printf("%-37s %8.2f us %8.2f us %9.3g", row.what, median, row.times.best(), median / row.copyMedian);
        if (row.targetMicros > 0) {
            std::printf(" %8.0f us %s\n", row.targetMicros, median <= row.targetMicros ? "met" : "MISSED");
        } else {
            std::printf("\n");
        }
    }
}

// The first frame cycle and paint: counts and places, with warnings for
// anything that did not load or lay out as expected.
void checkFirstFrame(tWindow& window, Trellis::ManagerContainer& resources, Trellis::BackgroundDrawingCanvas& canvas,
                     int warnings)
{
    window.pane.paint(window.pane.runFrameCycle(), canvas, Trellis::Pane::AllTrees);
    const Trellis::Widget& body = *window.body;
    std::printf("%d widgets; root %dx%d, body panel %dx%d at %d,%d\n", countWidgets(*window.root),
                window.root->width(), window.root->height(), body.width(), body.height(), body.absolutePosition().x,
                body.absolutePosition().y);
    const int problems = checkPictures(resources, *window.root) + checkLayout(window);
    if (problems > 0 || warnings > 0) {
        std::fprintf(stderr, "warning: %d picture or layout problems, %d toolkit warnings\n", problems, warnings);
    }
}

// Each measurement in a loop of its own; the scale-1 figures are compared
// with the copy of a scale-1 buffer, the scale-2 repaint with the larger one.
std::vector<tRow> measureAll(tWindow& window, Trellis::BackgroundDrawingCanvas& single,
                             Trellis::BackgroundDrawingCanvas& twice, long runs, std::uint64_t& checksum)
{
    Trellis::Pane& pane = window.pane;
    const std::vector<Casement::Rect> all{pane.bounds()};
    const std::size_t pixels = std::size_t{WindowWidth} * WindowHeight;
    tTimes copy1 = measureCopy(runs, pixels, checksum);
    tTimes copy2 = measureCopy(runs, 4 * pixels, checksum);
    const double base1 = copy1.median();
    const double base2 = copy2.median();
    const auto paint1 = [&](long) { pane.paint(all, single, Trellis::Pane::AllTrees); };
    const auto paint2 = [&](long) { pane.paint(all, twice, Trellis::Pane::AllTrees); };
    // Only the frame cycle is timed, not the attribute change before it.
    const auto outdate = [&](long i) { window.root->setAttribute("bench", i % 2 ? "a" : "b"); };
    const auto cycle = [&](long) { checksum += pane.runFrameCycle().size(); };
    const auto idle = [&](long) {
        pane.tick();
        checksum += pane.runFrameCycle().size();
    };
    std::vector<tRow> rows;
    rows.push_back({"memcpy 628x336x4 (scale 1)", copy1, base1, 0});
    rows.push_back({"memcpy 1256x672x4 (scale 2)", copy2, base2, 0});
    rows.push_back({"full repaint, scale 1", measure(runs, paint1), base1, 1000});
    rows.push_back({"full repaint, scale 2", measure(runs, paint2), base2, 4000});
    rows.push_back({"update pass (all styles out of date)", measure(runs, cycle, outdate), base1, 500});
    rows.push_back({"idle frame (tick + runFrameCycle)", measure(runs, idle), base1, 20});
    return rows;
}

} // namespace

int main(int argc, char** argv)
{
    const long runs = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 200;
    if (runs <= 0) {
        std::fprintf(stderr, "usage: bench_pane_frame [runs]\n");
        return 2;
    }
    int warnings = 0;
    Trellis::addWarningListener([&warnings](const std::string& text) {
        std::fprintf(stderr, "toolkit warning: %s\n", text.c_str());
        ++warnings;
    });
    Trellis::ManagerContainer resources(Basalt::ResourceModule::program());
    if (!resources.styleSets().front().manager->loadStyleSheetText(StyleSheet)) {
        std::fprintf(stderr, "the window's stylesheet did not load\n");
        return 1;
    }
    tWindow window;
    buildWindow(window);
    Trellis::BackgroundDrawingCanvas single, twice;
    single.setScale(1);
    single.resize({WindowWidth, WindowHeight});
    twice.setScale(2);
    twice.resize({WindowWidth, WindowHeight});
    checkFirstFrame(window, resources, single, warnings);

    std::printf("%ld runs\n", runs);
    std::uint64_t checksum = 0;
    std::vector<tRow> rows = measureAll(window, single, twice, runs, checksum);
    printTable(rows);
    std::printf("\n(checksum %llx)\n",
                static_cast<unsigned long long>(checksum ^ bufferChecksum(single) ^ bufferChecksum(twice)));
    if (warnings > 0) {
        std::fprintf(stderr, "warning: %d toolkit warnings in all\n", warnings);
    }
    window.pane.setRoot(nullptr);
    return 0;
}
