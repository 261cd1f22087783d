#pragma once

#include "trellis/AccessiblePeer.h"

#include <memory>
#include <string>
#include <vector>

namespace Trellis {

class IAccessibleWindow;
class Widget;

namespace DETAIL {

class FramePeer;

// What the peers ask of the layer that keeps them.
class IPeerRegistry {
public:
    virtual ~IPeerRegistry() = default;
    virtual const std::string& programName() const = 0;
    virtual AtkObject* applicationObject() const = 0;
    virtual std::vector<AtkObject*> frameObjects() const = 0;
    // The object of an accessible widget shown in the frame's window, made
    // when first asked for.
    virtual AtkObject* objectFor(Widget& widget, FramePeer& frame) = 0;
    virtual bool queueClick(Widget& widget) = 0;
};

// The program: named by the program's name, with the frames as children.
class ApplicationPeer final : public AccessiblePeer {
public:
    explicit ApplicationPeer(IPeerRegistry& registry) : AccessiblePeer(applicationType()), registry_(registry) {}

    AtkRole role() const override { return ATK_ROLE_APPLICATION; }
    std::string name() const override { return registry_.programName(); }
    AtkObject* parent() const override { return nullptr; }
    std::vector<AtkObject*> children() override { return registry_.frameObjects(); }
    void addStates(AtkStateSet&) const override {}
    AtkRectangle extents(AtkCoordType) const override { return {}; }

private:
    IPeerRegistry& registry_;
};

// A window: named by its title, with the tops of its Pane as children.
// What it last told is kept for the next comparison.
class FramePeer final : public AccessiblePeer {
public:
    FramePeer(IPeerRegistry& registry, IAccessibleWindow& window);

    IAccessibleWindow& window() const { return window_; }
    IPeerRegistry& registry() const { return registry_; }
    AtkRole role() const override { return ATK_ROLE_FRAME; }
    std::string name() const override;
    AtkObject* parent() const override { return registry_.applicationObject(); }
    std::vector<AtkObject*> children() override;
    void addStates(AtkStateSet& states) const override;
    AtkRectangle extents(AtkCoordType coordinates) const override;
    // The frame's own states as a description's bits, active apart.
    std::uint32_t currentStates() const;

    // What the last comparison found.
    std::string toldName;
    std::uint32_t toldStates = 0;
    bool toldActive = false;
    std::vector<AtkObject*> toldChildren;

private:
    IPeerRegistry& registry_;
    IAccessibleWindow& window_;
};

// An accessible widget of a frame's window.
class WidgetPeer final : public AccessiblePeer {
public:
    WidgetPeer(Widget& widget, FramePeer& frame);

    static GType typeFor(eAccessibleRole role);
    std::shared_ptr<Widget> widget() const { return widget_.lock(); }
    FramePeer& frame() const { return frame_; }
    tAccessibleDescription describe() const;

    AtkRole role() const override;
    std::string name() const override { return describe().name; }
    std::string description() const override { return describe().description; }
    AtkObject* parent() const override;
    std::vector<AtkObject*> children() override;
    void addStates(AtkStateSet& states) const override;
    AtkRectangle extents(AtkCoordType coordinates) const override;
    std::string text() const override { return describe().text; }
    std::vector<std::pair<int, int>> lineSpans() const override;
    bool click() override;

    // What the last comparison found; a new peer tells nothing before it
    // has been compared once, as its parent announced it.
    tAccessibleDescription told;
    bool toldOnce = false;
    std::vector<AtkObject*> toldChildren;

private:
    std::weak_ptr<Widget> widget_;
    FramePeer& frame_;
};

} // namespace DETAIL
} // namespace Trellis
