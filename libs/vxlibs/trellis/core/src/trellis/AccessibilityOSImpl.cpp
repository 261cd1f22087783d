#include "trellis/AccessibilityOSImpl.h"

#include "trellis/Pane.h"
#include "trellis/Warnings.h"
#include "trellis/Widget.h"

#include <casement/AsyncEventTarget.h>
#include <casement/MainContextPump.h>

#include <atk-bridge.h>
#include <fmt/format.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include <dlfcn.h>

namespace Trellis {
namespace {

using DETAIL::FramePeer;
using DETAIL::WidgetPeer;

std::unique_ptr<Accessibility::OSImpl>& instance()
{
    static std::unique_ptr<Accessibility::OSImpl> layer;
    return layer;
}

AtkObject* rootObject()
{
    Accessibility::OSImpl* layer = Accessibility::OSImpl::running();
    return layer ? layer->applicationObject() : nullptr;
}

const gchar* toolkitName()
{
    return "Trellis";
}

const gchar* toolkitVersion()
{
    return "1.0";
}

// The bridge finds the program's object through ATK's utility class, which
// only a toolkit fills in.
void installToolkitHooks()
{
    static AtkUtilClass* const util = [] {
        auto* klass = ATK_UTIL_CLASS(g_type_class_ref(ATK_TYPE_UTIL));
        klass->get_root = rootObject;
        klass->get_toolkit_name = toolkitName;
        klass->get_toolkit_version = toolkitVersion;
        return klass;
    }();
    static_cast<void>(util);
}

// A desktop without an accessibility bus is nothing to warn about; the
// bridge's other complaints become the toolkit's warnings.
void onBridgeMessage(const gchar* domain, GLogLevelFlags, const gchar* message, gpointer)
{
    if (std::strcmp(domain, "dbind") != 0) {
        reportWarning(fmt::format("Accessibility: {0}", message));
    }
}

void routeBridgeMessages()
{
    const auto levels = static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_MESSAGE);
    for (const char* domain : {"dbind", "atk-bridge", "Atk"}) {
        g_log_set_handler(domain, levels, onBridgeMessage, nullptr);
    }
}

// The ATK bridge, loaded when the layer first starts: linked into the
// program, it and the AT-SPI and D-Bus libraries under it would be loaded
// before the first frame, which they delay by a few milliseconds. It is
// never unloaded, since it leaves a handler to run at the program's exit.
class Bridge {
public:
    static Bridge& instance()
    {
        static Bridge bridge;
        return bridge;
    }

    bool load()
    {
        if (!handle_) {
            // Without the bridge, the desktop has no accessibility stack
            // for the program to join.
            handle_ = dlopen("libatk-bridge-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
            if (!handle_) {
                return false;
            }
            init_ = reinterpret_cast<decltype(&atk_bridge_adaptor_init)>(dlsym(handle_, "atk_bridge_adaptor_init"));
            cleanup_ =
                reinterpret_cast<decltype(&atk_bridge_adaptor_cleanup)>(dlsym(handle_, "atk_bridge_adaptor_cleanup"));
        }
        return init_ && cleanup_;
    }
    // 0 when the program joined the bus.
    int init() const { return init_(nullptr, nullptr); }
    void cleanup() const { cleanup_(); }

private:
    void* handle_ = nullptr;
    decltype(&atk_bridge_adaptor_init) init_ = nullptr;
    decltype(&atk_bridge_adaptor_cleanup) cleanup_ = nullptr;
};

bool isSwitchedOff()
{
    const char* off = std::getenv("NO_AT_BRIDGE");
    return off && std::strcmp(off, "1") == 0;
}

} // namespace

// The comparison of one frame with what it last told: the frame, its
// published widgets in tree order, then the widgets that are no longer
// published (hidden ones only change their states; gone ones become
// defunct), the focus gains, and the window's announcements.
class Accessibility::OSImpl::Comparison {
public:
    Comparison(OSImpl& layer, FramePeer& frame) : layer_(layer), frame_(frame) {}

    void run()
    {
        compareFrame();
        for (AtkObject* child : frame_.toldChildren) {
            compareSubtree(child);
        }
        compareUnpublished();
        if (activated_) {
            focusOnActivation();
        }
        for (AtkObject* gained : focusGains_) {
            atk_object_notify_state_change(gained, ATK_STATE_FOCUSED, TRUE);
        }
        announce();
    }

private:
    void compareFrame()
    {
        AtkObject* object = frame_.object();
        if (const std::string name = frame_.name(); name != frame_.toldName) {
            frame_.toldName = name;
            g_object_notify(G_OBJECT(object), "accessible-name");
        }
        const std::uint32_t states = frame_.currentStates();
        DETAIL::emitStateChanges(object, frame_.toldStates, states, focusGains_);
        frame_.toldStates = states;
        if (const bool active = frame_.window().isActiveWindow(); active != frame_.toldActive) {
            frame_.toldActive = active;
            atk_object_notify_state_change(object, ATK_STATE_ACTIVE, active);
            g_signal_emit_by_name(object, active ? "activate" : "deactivate");
            activated_ = active;
        }
        auto children = frame_.children();
        DETAIL::emitChildrenChanges(object, frame_.toldChildren, children);
        frame_.toldChildren = std::move(children);
    }

    void compareSubtree(AtkObject* object)
    {
        auto* peer = static_cast<WidgetPeer*>(DETAIL::peerOf(object));
        if (!peer || !visited_.insert(peer).second) {
            return;
        }
        compareWidget(*peer);
        auto children = peer->children();
        DETAIL::emitChildrenChanges(object, peer->toldChildren, children);
        peer->toldChildren = std::move(children);
        for (AtkObject* child : peer->toldChildren) {
            compareSubtree(child);
        }
    }

    void compareWidget(WidgetPeer& peer)
    {
        const tAccessibleDescription now = peer.describe();
        const tAccessibleDescription before = std::exchange(peer.told, now);
        if (!peer.toldOnce) {
            peer.toldOnce = true;
            return;
        }
        AtkObject* object = peer.object();
        DETAIL::emitStateChanges(object, before.states, now.states, focusGains_);
        // What a hidden widget shows is no news (the updater renames the
        // button it hides); it is told when the widget shows again.
        if ((now.states & AccessibleShowing) == 0) {
            peer.told = before;
            peer.told.states = now.states;
            return;
        }
        if (now.name != before.name) {
            g_object_notify(G_OBJECT(object), "accessible-name");
        }
        if (now.description != before.description) {
            g_object_notify(G_OBJECT(object), "accessible-description");
        }
        if (now.text != before.text) {
            g_signal_emit_by_name(object, "text-remove", 0, DETAIL::characterCount(before.text), before.text.c_str());
            g_signal_emit_by_name(object, "text-insert", 0, DETAIL::characterCount(now.text), now.text.c_str());
        }
    }

    void compareUnpublished()
    {
        std::vector<const Widget*> unpublished;
        for (const auto& [widget, peer] : layer_.widgets_) {
            if (&peer->frame() == &frame_ && !visited_.count(peer.get())) {
                unpublished.push_back(widget);
            }
        }
        Pane& pane = frame_.window().accessiblePane();
        for (const Widget* key : unpublished) {
            const auto found = layer_.widgets_.find(key);
            const auto widget = found->second->widget();
            if (widget && widget->pane() == &pane) {
                compareWidget(*found->second);
            } else {
                layer_.widgets_.erase(found);
            }
        }
    }

    // A window that becomes active gives its focus widget the focus again,
    // so that a screen reader that turned to the window finds where it is.
    void focusOnActivation()
    {
        Widget* focus = frame_.window().accessiblePane().focusWidget();
        if (!focus || !isAccessible(*focus)) {
            return;
        }
        AtkObject* object = layer_.objectFor(*focus, frame_);
        if (std::find(focusGains_.begin(), focusGains_.end(), object) == focusGains_.end()) {
            focusGains_.push_back(object);
        }
    }

    void announce()
    {
        Pane& pane = frame_.window().accessiblePane();
        for (const auto& [speaker, text] : pane.takeAnnouncements()) {
            const auto widget = std::const_pointer_cast<Widget>(speaker.lock());
            AtkObject* object = widget && widget->pane() == &pane && isAccessible(*widget)
                                    ? layer_.objectFor(*widget, frame_)
                                    : frame_.object();
            g_signal_emit_by_name(object, "announcement", text.c_str());
        }
    }

    OSImpl& layer_;
    FramePeer& frame_;
    std::unordered_set<const WidgetPeer*> visited_;
    std::vector<AtkObject*> focusGains_;
    bool activated_ = false;
};

Accessibility::OSImpl* Accessibility::OSImpl::running()
{
    return instance().get();
}

bool Accessibility::OSImpl::start(const std::string& programName, const std::vector<IAccessibleWindow*>& windows)
{
    if (instance()) {
        return true;
    }
    if (isSwitchedOff() || !Bridge::instance().load() || !Casement::MainContextPump::start()) {
        return false;
    }
    installToolkitHooks();
    routeBridgeMessages();
    instance().reset(new OSImpl(programName));
    for (IAccessibleWindow* window : windows) {
        instance()->frames_.push_back(std::make_unique<FramePeer>(*instance(), *window));
    }
    if (Bridge::instance().init() != 0) {
        instance().reset();
        Casement::MainContextPump::stop();
        return false;
    }
    Casement::AsyncEventTarget::add(instance()->clickKey(), instance().get());
    return true;
}

void Accessibility::OSImpl::stop()
{
    if (!instance()) {
        return;
    }
    Casement::AsyncEventTarget::remove(instance()->clickKey());
    Bridge::instance().cleanup();
    instance().reset();
    Casement::MainContextPump::stop();
}

Accessibility::OSImpl::OSImpl(std::string programName)
    : programName_(std::move(programName)), application_(std::make_unique<DETAIL::ApplicationPeer>(*this))
{
}

// Widgets first: their peers refer to their frames.
Accessibility::OSImpl::~OSImpl()
{
    widgets_.clear();
    frames_.clear();
}

std::vector<AtkObject*> Accessibility::OSImpl::frameObjects() const
{
    std::vector<AtkObject*> objects;
    for (const auto& frame : frames_) {
        objects.push_back(frame->object());
    }
    return objects;
}

FramePeer* Accessibility::OSImpl::frameOf(const IAccessibleWindow& window) const
{
    for (const auto& frame : frames_) {
        if (&frame->window() == &window) {
            return frame.get();
        }
    }
    return nullptr;
}

void Accessibility::OSImpl::addWindow(IAccessibleWindow& window)
{
    if (frameOf(window)) {
        return;
    }
    frames_.push_back(std::make_unique<FramePeer>(*this, window));
    AtkObject* frame = frames_.back()->object();
    g_signal_emit_by_name(applicationObject(), "children-changed::add", static_cast<gint>(frames_.size() - 1), frame);
    g_signal_emit_by_name(frame, "create");
}

void Accessibility::OSImpl::removeWindow(IAccessibleWindow& window)
{
    const auto found = std::find_if(frames_.begin(), frames_.end(),
                                    [&window](const auto& frame) { return &frame->window() == &window; });
    if (found == frames_.end()) {
        return;
    }
    forgetWidgetsOf(**found);
    AtkObject* frame = (*found)->object();
    g_signal_emit_by_name(frame, "destroy");
    g_signal_emit_by_name(applicationObject(), "children-changed::remove",
                          static_cast<gint>(found - frames_.begin()), frame);
    frames_.erase(found);
}

void Accessibility::OSImpl::forgetWidgetsOf(const FramePeer& frame)
{
    std::erase_if(widgets_, [&frame](const auto& entry) { return &entry.second->frame() == &frame; });
}

void Accessibility::OSImpl::windowChanged(IAccessibleWindow& window)
{
    if (FramePeer* frame = frameOf(window)) {
        Comparison(*this, *frame).run();
    }
}

// A widget's address may be taken by a new widget after the old one went:
// the peer must still be the widget's, and of its role's type.
AtkObject* Accessibility::OSImpl::objectFor(Widget& widget, FramePeer& frame)
{
    auto& peer = widgets_[&widget];
    if (!peer || peer->widget().get() != &widget ||
        G_OBJECT_TYPE(peer->object()) != WidgetPeer::typeFor(widget.accessibleRole())) {
        peer = std::make_unique<WidgetPeer>(widget, frame);
    }
    return peer->object();
}

bool Accessibility::OSImpl::queueClick(Widget& widget)
{
    if (!clicksPosted_) {
        clicksPosted_ = Casement::AsyncEventTarget::post(0, clickKey());
        if (!clicksPosted_) {
            return false;
        }
    }
    clicks_.push_back(widget.weak_from_this());
    return true;
}

// Each click finds the window as the clicks before it left it: a second
// click on a button that the first one hid does nothing.
bool Accessibility::OSImpl::onCommand(std::uint32_t, void*)
{
    clicksPosted_ = false;
    for (const auto& queued : std::exchange(clicks_, {})) {
        if (const auto widget = queued.lock(); widget && widget->pane()) {
            widget->pane()->clickAsIfPointed(*widget);
        }
    }
    return true;
}

} // namespace Trellis
