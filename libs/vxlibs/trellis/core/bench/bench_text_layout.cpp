// Times laying out and drawing a message as the updater's info panel shows
// it: a MultilineLabel at font size 12 in the updater's font with automatic
// height, 400 pixels wide so that the message takes four lines. Each run
// gives the label the updater's longest message with the other of two error
// numbers (so it wraps anew), runs the frame cycle and paints the region it
// returns into a 628 x 336 canvas. Prints the median and the best of N runs
// at scale 1 and 2 (the target is 100 µs at scale 1) and the number of lines.
//
//   bench_text_layout [N]      (default 2000)
#include <trellis/BackgroundDrawingCanvas.h>
#include <trellis/Bar.h>
#include <trellis/ManagerContainer.h>
#include <trellis/MultilineText.h>
#include <trellis/Pane.h>
#include <trellis/StyleManager.h>

#include <basalt/ResourceModule.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const StyleSheet = "*.Root { background-color: rgb(242, 242, 242); }\n"
                               "MultilineLabel { width: 400; font-name: url(\"corvel.ttf\"); font-size: 12;\n"
                               "  foreground-color: rgb(16, 35, 49); margin-top: 1; background-color: no; }\n";

// The updater's longest message, for a Trovix Studio, with two error numbers.
const char* const Messages[] = {
    "An error occurred while updating your Trovix Studio (error -1). Please disconnect the Trovix Studio, "
    "unpower it and quit the TVS Updater. Then reconnect the Trovix Studio, restart TVS Updater and try "
    "performing the update again. Alternatively contact the VX Technical Support.",
    "An error occurred while updating your Trovix Studio (error -2). Please disconnect the Trovix Studio, "
    "unpower it and quit the TVS Updater. Then reconnect the Trovix Studio, restart TVS Updater and try "
    "performing the update again. Alternatively contact the VX Technical Support.",
};

struct tResult {
    double median;
    double best;
    std::size_t lines;
};

tResult measure(int scale, int runs)
{
    Trellis::Pane pane;
    auto root = std::make_shared<Trellis::Bar>();
    pane.setRoot(root);
    root->init(Trellis::TopToBottom, "Root");
    pane.setSize(628, 336);
    auto label = std::make_shared<Trellis::MultilineLabel>();
    root->addChild(label, Trellis::PooledName("Message"));
    label->init("", nullptr);
    label->setAutoHeight(true);
    Trellis::BackgroundDrawingCanvas canvas;
    canvas.setScale(scale);
    canvas.resize({628, 336});
    pane.paint(pane.runFrameCycle(), canvas, Trellis::Pane::AllTrees);

    std::vector<double> micros;
    for (int run = -runs / 10; run < runs; ++run) {  // the first tenth warms up
        const auto start = std::chrono::steady_clock::now();
        label->setText(Messages[(run + runs) % 2]);
        pane.paint(pane.runFrameCycle(), canvas, Trellis::Pane::AllTrees);
        const auto end = std::chrono::steady_clock::now();
        if (run >= 0) {
            micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        }
    }
    std::sort(micros.begin(), micros.end());
    return {micros[micros.size() / 2], micros.front(), label->lineCount()};
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    Trellis::ManagerContainer resources(Basalt::ResourceModule::program());
    resources.styleSets().front().manager->loadStyleSheetText(StyleSheet);
    std::printf("message, width 400, font size 12, %d runs\n", runs);
    for (const int scale : {1, 2}) {
        const tResult result = measure(scale, runs);
        std::printf("scale %d: median %.1f us, best %.1f us, %zu lines%s\n", scale, result.median, result.best,
                    result.lines, scale == 1 ? " (target 100 us)" : "");
    }
    return 0;
}
