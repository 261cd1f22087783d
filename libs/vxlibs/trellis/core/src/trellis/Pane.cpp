#include "trellis/Pane.h"

#include "trellis/ManagerContainer.h"
#include "trellis/StyleManager.h"
#include "trellis/Widget.h"

namespace Trellis {

Pane::Pane() = default;

// The tree may outlive the Pane through other handles; it must not keep
// pointing here.
Pane::~Pane()
{
    if (root_) {
        root_->attachToPane(nullptr);
    }
}

void Pane::setRoot(std::shared_ptr<Widget> root)
{
    if (root_) {
        root_->attachToPane(nullptr);
    }
    root_ = std::move(root);
    if (root_) {
        root_->attachToPane(this);
    }
}

// The tree's matches in the manager that styled it so far would be stale
// should that manager style the tree again.
void Pane::setStyleManager(std::unique_ptr<StyleManager> manager)
{
    if (auto* container = ManagerContainer::instance(); container && root_) {
        if (auto* previous = container->styleManagerFor(*root_)) {
            previous->forgetWidget(*root_);
        }
    }
    styleManager_ = std::move(manager);
}

void Pane::forgetWidget(const Widget& widget)
{
    for (Widget** pointer : {&hover_, &pressed_, &focus_, &previousFocus_, &input_}) {
        if (*pointer == &widget) {
            *pointer = nullptr;
        }
    }
}

} // namespace Trellis
