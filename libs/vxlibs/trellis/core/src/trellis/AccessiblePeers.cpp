#include "trellis/AccessiblePeers.h"

#include "trellis/Accessibility.h"
#include "trellis/MultilineText.h"
#include "trellis/Pane.h"
#include "trellis/Widget.h"

#include <cmath>

namespace Trellis::DETAIL {
namespace {

// A rectangle of layout pixels in the window, in the given coordinates.
AtkRectangle placeOf(const Casement::Rect& rect, const IAccessibleWindow& window, AtkCoordType coordinates)
{
    const double scale = window.deviceScale();
    AtkRectangle place{static_cast<gint>(std::lround(rect.x * scale)), static_cast<gint>(std::lround(rect.y * scale)),
                       static_cast<gint>(std::lround(rect.width * scale)),
                       static_cast<gint>(std::lround(rect.height * scale))};
    if (coordinates == ATK_XY_SCREEN) {
        const Casement::Rect area = window.screenArea();
        place.x += area.x;
        place.y += area.y;
    }
    return place;
}

std::vector<AtkObject*> objectsOf(const std::vector<Widget*>& widgets, FramePeer& frame)
{
    std::vector<AtkObject*> objects;
    objects.reserve(widgets.size());
    for (Widget* widget : widgets) {
        objects.push_back(frame.registry().objectFor(*widget, frame));
    }
    return objects;
}

} // namespace

// Frames -----------------------------------------------------------------

// A new frame has told its name and states, as the application's
// children-changed event announces it, but not that it is active: the first
// comparison activates it, which is how a screen reader turns to it.
FramePeer::FramePeer(IPeerRegistry& registry, IAccessibleWindow& window)
    : AccessiblePeer(frameType()), toldName(window.accessibleTitle()), registry_(registry), window_(window)
{
    toldStates = currentStates();
}

std::string FramePeer::name() const
{
    return window_.accessibleTitle();
}

std::vector<AtkObject*> FramePeer::children()
{
    return objectsOf(accessibleTops(window_.accessiblePane()), *this);
}

std::uint32_t FramePeer::currentStates() const
{
    return AccessibleEnabled | (window_.isShownWindow() ? AccessibleShowing : 0u);
}

void FramePeer::addStates(AtkStateSet& states) const
{
    addAccessibleStates(states, currentStates(), eAccessibleRole::Ignored);
    if (window_.isActiveWindow()) {
        atk_state_set_add_state(&states, ATK_STATE_ACTIVE);
    }
}

AtkRectangle FramePeer::extents(AtkCoordType coordinates) const
{
    const Casement::Rect area = window_.screenArea();
    if (coordinates == ATK_XY_SCREEN) {
        return {area.x, area.y, area.width, area.height};
    }
    return {0, 0, area.width, area.height};
}

// Widgets ----------------------------------------------------------------

WidgetPeer::WidgetPeer(Widget& widget, FramePeer& frame)
    : AccessiblePeer(typeFor(widget.accessibleRole())), widget_(widget.weak_from_this()), frame_(frame)
{
}

GType WidgetPeer::typeFor(eAccessibleRole role)
{
    switch (role) {
    case eAccessibleRole::PushButton: return buttonType();
    case eAccessibleRole::Label:
    case eAccessibleRole::Text: return textType();
    default: return widgetType();
    }
}

// A widget of a hidden window is not showing either.
tAccessibleDescription WidgetPeer::describe() const
{
    const auto shown = widget_.lock();
    if (!shown) {
        return {};
    }
    tAccessibleDescription description = describeAccessible(*shown);
    if (!frame_.window().isShownWindow()) {
        description.states &= ~static_cast<std::uint32_t>(AccessibleShowing);
    }
    return description;
}

AtkRole WidgetPeer::role() const
{
    switch (describe().role) {
    case eAccessibleRole::Panel: return ATK_ROLE_PANEL;
    case eAccessibleRole::Label: return ATK_ROLE_LABEL;
    case eAccessibleRole::Text: return ATK_ROLE_TEXT;
    case eAccessibleRole::PushButton: return ATK_ROLE_PUSH_BUTTON;
    case eAccessibleRole::Dialog: return ATK_ROLE_DIALOG;
    case eAccessibleRole::Alert: return ATK_ROLE_ALERT;
    case eAccessibleRole::Ignored: break;
    }
    return ATK_ROLE_UNKNOWN;
}

// The nearest accessible ancestor, or the frame.
AtkObject* WidgetPeer::parent() const
{
    const auto shown = widget_.lock();
    for (Widget* above = shown ? shown->parent() : nullptr; above; above = above->parent()) {
        if (isAccessible(*above)) {
            return frame_.registry().objectFor(*above, frame_);
        }
    }
    return frame_.object();
}

std::vector<AtkObject*> WidgetPeer::children()
{
    const auto shown = widget_.lock();
    return shown ? objectsOf(accessibleChildren(*shown), frame_) : std::vector<AtkObject*>();
}

void WidgetPeer::addStates(AtkStateSet& states) const
{
    const tAccessibleDescription description = describe();
    addAccessibleStates(states, description.states, description.role);
}

AtkRectangle WidgetPeer::extents(AtkCoordType coordinates) const
{
    const auto shown = widget_.lock();
    if (!shown) {
        return {};
    }
    const bool relative = coordinates == ATK_XY_PARENT;
    AtkRectangle place = placeOf(shown->rect(), frame_.window(), relative ? ATK_XY_WINDOW : coordinates);
    if (AccessiblePeer* above = relative ? peerOf(parent()) : nullptr) {
        const AtkRectangle origin = above->extents(ATK_XY_WINDOW);
        place.x -= origin.x;
        place.y -= origin.y;
    }
    return place;
}

// A text's lines as shown, each up to where the next one starts.
std::vector<std::pair<int, int>> WidgetPeer::lineSpans() const
{
    const auto shown = widget_.lock();
    const auto* wrapped = dynamic_cast<const MultilineText*>(shown.get());
    if (!wrapped) {
        return {};
    }
    const std::string& text = wrapped->text();
    const auto lines = wrapped->lines();
    std::vector<std::pair<int, int>> spans;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::size_t start = static_cast<std::size_t>(lines[index].data() - text.data());
        const std::size_t end = index + 1 < lines.size()
                                    ? static_cast<std::size_t>(lines[index + 1].data() - text.data())
                                    : text.size();
        const std::string_view all(text);
        spans.emplace_back(characterCount(all.substr(0, start)), characterCount(all.substr(0, end)));
    }
    return spans;
}

bool WidgetPeer::click()
{
    const auto shown = widget_.lock();
    const std::uint32_t ready = AccessibleShowing | AccessibleEnabled;
    if (!shown || (describe().states & ready) != ready) {
        return false;
    }
    return frame_.registry().queueClick(*shown);
}

} // namespace Trellis::DETAIL
