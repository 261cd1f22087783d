#pragma once

#include "trellis/Accessibility.h"
#include "trellis/AccessiblePeers.h"

#include <casement/EventTarget.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace Trellis {

// The ATK half of the accessibility layer: the application object, a frame
// per registered window and a peer per accessible widget, kept by widget;
// the ATK bridge that publishes them on the bus; the comparison after a
// frame cycle; and the clicks the "click" action queued, delivered from
// the message loop, outside the bridge's own dispatching.
class Accessibility::OSImpl final : public DETAIL::IPeerRegistry, private Casement::EventTarget {
public:
    // The running layer, or null.
    static OSImpl* running();
    static bool start(const std::string& programName, const std::vector<IAccessibleWindow*>& windows);
    static void stop();

    OSImpl(const OSImpl&) = delete;
    OSImpl& operator=(const OSImpl&) = delete;
    ~OSImpl() override;

    void addWindow(IAccessibleWindow& window);
    void removeWindow(IAccessibleWindow& window);
    void windowChanged(IAccessibleWindow& window);

    const std::string& programName() const override { return programName_; }
    AtkObject* applicationObject() const override { return application_->object(); }
    std::vector<AtkObject*> frameObjects() const override;
    AtkObject* objectFor(Widget& widget, DETAIL::FramePeer& frame) override;
    bool queueClick(Widget& widget) override;

private:
    class Comparison;

    explicit OSImpl(std::string programName);
    DETAIL::FramePeer* frameOf(const IAccessibleWindow& window) const;
    void forgetWidgetsOf(const DETAIL::FramePeer& frame);
    bool onCommand(std::uint32_t, void*) override;
    std::uintptr_t clickKey() const { return reinterpret_cast<std::uintptr_t>(this); }

    std::string programName_;
    std::unique_ptr<DETAIL::ApplicationPeer> application_;
    std::vector<std::unique_ptr<DETAIL::FramePeer>> frames_;
    std::unordered_map<const Widget*, std::unique_ptr<DETAIL::WidgetPeer>> widgets_;
    std::vector<std::weak_ptr<Widget>> clicks_;
    bool clicksPosted_ = false;
};

} // namespace Trellis
