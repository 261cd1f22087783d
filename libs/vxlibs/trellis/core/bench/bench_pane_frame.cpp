// Times the frame cycle and the painting of a tree shaped like the updater's
// window (UpdaterWindowTree.h) in a Pane without a window. Measured in one
// process with std::chrono::steady_clock, after a warm-up:
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
#include "BenchTimes.h"
#include "UpdaterWindowTree.h"

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

using UpdaterWindowTree::Height;
using UpdaterWindowTree::Width;

struct tWindow {
    Trellis::Pane pane;
    UpdaterWindowTree::tTree tree;
};

void buildWindow(tWindow& window)
{
    window.tree = UpdaterWindowTree::build(window.pane);
    window.pane.setSize(Width, Height);
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

using Trellis::Bench::tTimes;

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
    const Trellis::Widget& root = *window.tree.root;
    const Trellis::Widget& body = *window.tree.body;
    std::printf("%d widgets; root %dx%d, body panel %dx%d at %d,%d\n", UpdaterWindowTree::countWidgets(root),
                root.width(), root.height(), body.width(), body.height(), body.absolutePosition().x,
                body.absolutePosition().y);
    const int problems = checkPictures(resources, root) + UpdaterWindowTree::checkLayout(root);
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
    const std::size_t pixels = std::size_t{Width} * Height;
    tTimes copy1 = measureCopy(runs, pixels, checksum);
    tTimes copy2 = measureCopy(runs, 4 * pixels, checksum);
    const double base1 = copy1.median();
    const double base2 = copy2.median();
    const auto paint1 = [&](long) { pane.paint(all, single, Trellis::Pane::AllTrees); };
    const auto paint2 = [&](long) { pane.paint(all, twice, Trellis::Pane::AllTrees); };
    // Only the frame cycle is timed, not the attribute change before it.
    const auto outdate = [&](long i) { window.tree.root->setAttribute("bench", i % 2 ? "a" : "b"); };
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
    if (!resources.styleSets().front().manager->loadStyleSheetText(UpdaterWindowTree::StyleSheet)) {
        std::fprintf(stderr, "the window's stylesheet did not load\n");
        return 1;
    }
    tWindow window;
    buildWindow(window);
    Trellis::BackgroundDrawingCanvas single, twice;
    single.setScale(1);
    single.resize({Width, Height});
    twice.setScale(2);
    twice.resize({Width, Height});
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
