// Times the style engine on the generated stylesheet of about 22 KB
// (GeneratedStyleSheet.h) and a tree of 50 widgets styled by it: loading the
// stylesheet (parse and rule database), then computeStyle for all 50 widgets
// with the match cache empty (the first styling of a window) and filled (a
// restyle after an attribute change). Prints the median and the best of N.
//
//   bench_style_matching [N]      (default 500)
#include "BenchTimes.h"
#include "GeneratedStyleSheet.h"

#include <trellis/ManagerContainer.h>
#include <trellis/Pane.h>
#include <trellis/StyleManager.h>
#include <trellis/Widget.h>

#include <basalt/ResourceModule.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

class NamedWidget : public Trellis::Widget {
public:
    explicit NamedWidget(std::string type) : type_(std::move(type)) {}
    std::string_view getClass() const override { return type_; }

private:
    std::string type_;
};

constexpr int Panels = 10;

// Ten panels of five widgets each, named as the generated stylesheet names them.
std::vector<Trellis::Widget*> buildTree(Trellis::Pane& pane)
{
    auto root = std::make_shared<NamedWidget>("Bar");
    pane.setRoot(root);
    std::vector<Trellis::Widget*> widgets;
    const auto add = [&](Trellis::Widget& parent, const char* type, const std::string& id) {
        auto child = std::make_shared<NamedWidget>(type);
        parent.addChild(child, Trellis::PooledName(id));
        widgets.push_back(child.get());
        return child;
    };
    for (int n = 0; n < Panels; ++n) {
        const std::string panel = "Panel" + std::to_string(n);
        auto bar = add(*root, "Bar", panel);
        add(*bar, "Bar", panel + "Title");
        add(*bar, "Button", panel + "Action");
        add(*bar, "Button", panel + "Quit");
        add(*bar, "Label", "")->setStyle("Status");
    }
    return widgets;
}

using Trellis::Bench::tTimes;

} // namespace

int main(int argc, char** argv)
{
    const long runs = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 500;
    if (runs <= 0) {
        std::fprintf(stderr, "usage: bench_style_matching [runs]\n");
        return 2;
    }
    const std::string text = Trellis::Bench::generatedStylesheet();
    Trellis::ManagerContainer resources(Basalt::ResourceModule::program());
    Trellis::StyleManager& manager = *resources.styleSets().front().manager;
    Trellis::Pane pane;
    const std::vector<Trellis::Widget*> widgets = buildTree(pane);
    const auto computeAll = [&] {
        for (const Trellis::Widget* widget : widgets) {
            resources.computeStyle(*widget);
        }
    };

    tTimes load, cold, warm;
    for (long i = 0; i < runs; ++i) {
        load.add([&] {
            if (!manager.loadStyleSheetText(text)) {
                std::fprintf(stderr, "the generated stylesheet did not load\n");
                std::exit(1);
            }
        });
        cold.add(computeAll);
        warm.add(computeAll);
    }
    std::printf("%zu bytes, %zu widgets, %ld runs\n", text.size(), widgets.size(), runs);
    load.print("loadStyleSheetText (parse and rule database)");
    cold.print("computeStyle x50, match cache empty");
    warm.print("computeStyle x50, match cache filled");
    pane.setRoot(nullptr);
    return 0;
}
