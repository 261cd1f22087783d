// Times the updater's window as it starts and while it waits for an update:
//   - parsing the updater's stylesheet alone (StyleParser2::processString);
//   - loading it into the style manager and building and styling the whole
//     wizard tree (construction, the first frame cycle: styles and layout),
//     the first time (pictures decoded, fonts made) and later;
//   - one step of the busy wheel: the frame cycle and the repaint of the
//     region it returns, at scale 1 and 2, with the region printed.
// Prints the median and the best of N runs of each (default 200). Targets:
// 5 ms for loading, building and styling at scale 1, 50 µs for a wheel step.
//
//   bench_wizard [N]
#include "BenchTimes.h"
#include "logic/Credits.h"
#include "logic/UpdaterDescription.h"
#include "wizard/UpdateWizardMainWidget.h"

#include <trellis/BackgroundDrawingCanvas.h>
#include <trellis/ManagerContainer.h>
#include <trellis/Pane.h>
#include <trellis/StyleManager.h>
#include <trellis/StyleParser2.h>

#include <basalt/ResourceModule.h>
#include <basalt/ResourceStream.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using Trellis::Bench::tTimes;

const char* const StyleSheet = "FirmwareUpdaterStyles.txt";

UpdaterDescription texts()
{
    UpdaterDescription description;
    description.deviceName = "Trovix Studio";
    description.productCode = description.productCode2 = "TVS";
    description.updaterName = "TVS Updater";
    description.applicationTitle = "TROVIX STUDIO UPDATER";
    description.copyrightText = "\xC2\xA9 2018";
    description.versionText = "1.1.0 (R147)";
    description.contributorLines = creditLines();
    return description;
}

std::string styleSheetText()
{
    Basalt::ResourceStream stream;
    std::vector<unsigned char> bytes;
    if (!stream.open(Basalt::ResourceModule::program(), std::string_view(StyleSheet), "STYLESHEET") ||
        !stream.readAll(bytes)) {
        std::fprintf(stderr, "the stylesheet resource is missing\n");
        std::exit(1);
    }
    return std::string(bytes.begin(), bytes.end());
}

void printRegion(const std::vector<Casement::Rect>& region, int scale)
{
    std::printf("  region of a wheel step at scale %d:", scale);
    for (const Casement::Rect& rect : region) {
        std::printf(" %dx%d at %d,%d (%dx%d device pixels)", rect.width, rect.height, rect.x, rect.y,
                    rect.width * scale, rect.height * scale);
    }
    std::printf("\n");
}

// A wheel step is two timer periods: the first changes nothing.
void measureWheel(long runs, int scale)
{
    Trellis::Pane pane;
    auto wizard = std::make_shared<UpdateWizardMainWidget>(texts());
    pane.setRoot(wizard);
    pane.setSize(628, 336);
    Trellis::BackgroundDrawingCanvas canvas;
    canvas.setScale(scale);
    canvas.resize({628, 336});
    wizard->wheel().start();
    pane.paint(pane.runFrameCycle(), canvas, Trellis::Pane::AllTrees);
    tTimes times;
    std::vector<Casement::Rect> region;
    for (long run = -runs / 10; run < runs; ++run) {
        wizard->wheel().onTick();
        wizard->wheel().onTick();
        const auto step = [&] {
            region = pane.runFrameCycle();
            pane.paint(region, canvas, Trellis::Pane::AllTrees);
        };
        run < 0 ? step() : times.add(step);
    }
    times.print(scale == 1 ? "wheel step, scale 1 (target 50 us)" : "wheel step, scale 2 (target 50 us)");
    printRegion(region, scale);
    pane.setRoot(nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    const long runs = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 200;
    if (runs <= 0) {
        std::fprintf(stderr, "usage: bench_wizard [runs]\n");
        return 2;
    }
    Trellis::ManagerContainer resources(Basalt::ResourceModule::program());
    const std::string text = styleSheetText();
    std::printf("%s: %zu bytes, %ld runs\n", StyleSheet, text.size(), runs);

    tTimes parse;
    tTimes build;
    for (long run = 0; run < runs; ++run) {
        parse.add([&] { Trellis::StyleParser2().processString(text); });
        Trellis::Pane pane;
        build.add([&] {
            resources.styleSets().front().manager->loadStyleSheet(StyleSheet);
            pane.setRoot(std::make_shared<UpdateWizardMainWidget>(texts()));
            pane.setSize(628, 336);
            pane.runFrameCycle();
        });
        pane.setRoot(nullptr);
    }
    // The first run also decodes the pictures and makes the fonts, which the
    // resources keep for the runs after it.
    std::printf("loading, building and styling, first run (pictures and fonts made): %.1f us\n", build.micros.front());
    parse.print("parsing the stylesheet alone");
    build.print("loading it, building and styling the tree (target 5000 us)");
    measureWheel(runs * 10, 1);
    measureWheel(runs * 10, 2);
    return 0;
}
