#pragma once

#include "trellis/PaintContext.h"
#include "trellis/Widget.h"

#include <functional>

namespace Trellis {

// A widget of type T whose painting and post-layout work are function
// objects, so that each widget type brings its own painter and layout hook
// without the engine knowing the type. Empty ones do nothing.
template <typename T>
class WidgetTemplate : public Widget {
public:
    using tPainter = std::function<void(T& widget, PaintContext& context)>;
    using tLayoutHook = std::function<void(T& widget)>;

    void setPainter(tPainter painter) { painter_ = std::move(painter); }
    void setPostLayoutHook(tLayoutHook hook) { postLayoutHook_ = std::move(hook); }

    void paint(PaintContext& context) override
    {
        if (painter_) {
            painter_(static_cast<T&>(*this), context);
        }
    }

    void afterLayout() override
    {
        if (postLayoutHook_) {
            postLayoutHook_(static_cast<T&>(*this));
        }
    }

private:
    tPainter painter_;
    tLayoutHook postLayoutHook_;
};

} // namespace Trellis
