// The GObject types of the published ATK objects. Every method of an object
// asks its peer; an object whose peer is gone (defunct) answers as an empty
// one, since clients may hold it after its widget went away.
#include "trellis/AccessiblePeer.h"

#include <algorithm>

namespace Trellis::DETAIL {
namespace {

struct tObject {
    AtkObject parent;
    AccessiblePeer* peer;
};

struct tObjectClass {
    AtkObjectClass parent;
};

AccessiblePeer* peer(gpointer object)
{
    return static_cast<tObject*>(object)->peer;
}

// AtkObject ------------------------------------------------------------------

const gchar* objectName(AtkObject* object)
{
    AccessiblePeer* found = peer(object);
    return found ? found->keptName() : nullptr;
}

const gchar* objectDescription(AtkObject* object)
{
    AccessiblePeer* found = peer(object);
    return found ? found->keptDescription() : nullptr;
}

AtkObject* objectParent(AtkObject* object)
{
    AccessiblePeer* found = peer(object);
    return found ? found->parent() : nullptr;
}

gint objectChildCount(AtkObject* object)
{
    AccessiblePeer* found = peer(object);
    return found ? static_cast<gint>(found->children().size()) : 0;
}

AtkObject* objectChild(AtkObject* object, gint index)
{
    AccessiblePeer* found = peer(object);
    if (!found || index < 0) {
        return nullptr;
    }
    const auto children = found->children();
    if (static_cast<std::size_t>(index) >= children.size()) {
        return nullptr;
    }
    return ATK_OBJECT(g_object_ref(children[static_cast<std::size_t>(index)]));
}

gint objectIndexInParent(AtkObject* object)
{
    AccessiblePeer* found = peer(object);
    AtkObject* parent = found ? found->parent() : nullptr;
    AccessiblePeer* parentPeer = parent ? peerOf(parent) : nullptr;
    if (!parentPeer) {
        return -1;
    }
    const auto siblings = parentPeer->children();
    const auto place = std::find(siblings.begin(), siblings.end(), object);
    return place == siblings.end() ? -1 : static_cast<gint>(place - siblings.begin());
}

AtkStateSet* objectStates(AtkObject* object)
{
    AtkStateSet* states = atk_state_set_new();
    if (AccessiblePeer* found = peer(object)) {
        found->addStates(*states);
    } else {
        atk_state_set_add_state(states, ATK_STATE_DEFUNCT);
    }
    return states;
}

AtkRole objectRole(AtkObject* object)
{
    AccessiblePeer* found = peer(object);
    return found ? found->role() : ATK_ROLE_INVALID;
}

void classInit(gpointer klass, gpointer)
{
    auto* object = ATK_OBJECT_CLASS(klass);
    object->get_name = objectName;
    object->get_description = objectDescription;
    object->get_parent = objectParent;
    object->get_n_children = objectChildCount;
    object->ref_child = objectChild;
    object->get_index_in_parent = objectIndexInParent;
    object->ref_state_set = objectStates;
    object->get_role = objectRole;
}

// AtkComponent ---------------------------------------------------------------

void componentExtents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height, AtkCoordType coordinates)
{
    AtkRectangle place{};
    if (AccessiblePeer* found = peer(component)) {
        place = found->extents(coordinates);
    }
    for (auto [into, value] : {std::pair{x, place.x}, {y, place.y}, {width, place.width}, {height, place.height}}) {
        if (into) {
            *into = value;
        }
    }
}

void componentInit(gpointer iface, gpointer)
{
    static_cast<AtkComponentIface*>(iface)->get_extents = componentExtents;
}

// AtkAction: one action, "click" -------------------------------------------

constexpr const char* ClickAction = "click";

gboolean actionDo(AtkAction* action, gint index)
{
    AccessiblePeer* found = peer(action);
    return index == 0 && found && found->click();
}

gint actionCount(AtkAction*)
{
    return 1;
}

const gchar* actionName(AtkAction*, gint index)
{
    return index == 0 ? ClickAction : nullptr;
}

const gchar* actionDescription(AtkAction*, gint index)
{
    return index == 0 ? "Presses the button" : nullptr;
}

void actionInit(gpointer iface, gpointer)
{
    auto* action = static_cast<AtkActionIface*>(iface);
    action->do_action = actionDo;
    action->get_n_actions = actionCount;
    action->get_name = actionName;
    action->get_localized_name = actionName;
    action->get_description = actionDescription;
}

// AtkText: read-only text ----------------------------------------------------

std::string peerText(AtkText* text)
{
    AccessiblePeer* found = peer(text);
    return found ? found->text() : std::string();
}

// The characters from `start` to `end` (-1: the end), clamped to the text.
gchar* substring(const std::string& text, gint start, gint end)
{
    const gint count = characterCount(text);
    start = std::clamp(start, 0, count);
    end = end < 0 ? count : std::clamp(end, start, count);
    return g_utf8_substring(text.c_str(), start, end);
}

gchar* textText(AtkText* text, gint start, gint end)
{
    return substring(peerText(text), start, end);
}

gint textCount(AtkText* text)
{
    return characterCount(peerText(text));
}

gint textCaret(AtkText*)
{
    return 0;
}

gunichar textCharacter(AtkText* text, gint offset)
{
    const std::string content = peerText(text);
    if (offset < 0 || offset >= characterCount(content)) {
        return 0;
    }
    return g_utf8_get_char(g_utf8_offset_to_pointer(content.c_str(), offset));
}

gchar* textUnit(AtkText* text, gint offset, AtkTextGranularity granularity, gint* start, gint* end)
{
    AccessiblePeer* found = peer(text);
    const std::string content = found ? found->text() : std::string();
    const auto [first, last] = textUnitAt(content, offset, granularity, found ? found->lineSpans()
                                                                              : std::vector<std::pair<int, int>>());
    *start = first;
    *end = last;
    return first < 0 ? nullptr : substring(content, first, last);
}

AtkTextGranularity granularityOf(AtkTextBoundary boundary)
{
    switch (boundary) {
    case ATK_TEXT_BOUNDARY_CHAR: return ATK_TEXT_GRANULARITY_CHAR;
    case ATK_TEXT_BOUNDARY_WORD_START:
    case ATK_TEXT_BOUNDARY_WORD_END: return ATK_TEXT_GRANULARITY_WORD;
    case ATK_TEXT_BOUNDARY_SENTENCE_START:
    case ATK_TEXT_BOUNDARY_SENTENCE_END: return ATK_TEXT_GRANULARITY_SENTENCE;
    default: return ATK_TEXT_GRANULARITY_LINE;
    }
}

gchar* textAtOffset(AtkText* text, gint offset, AtkTextBoundary boundary, gint* start, gint* end)
{
    return textUnit(text, offset, granularityOf(boundary), start, end);
}

gint textSelectionCount(AtkText*)
{
    return 0;
}

void textInit(gpointer iface, gpointer)
{
    auto* text = static_cast<AtkTextIface*>(iface);
    text->get_text = textText;
    text->get_character_count = textCount;
    text->get_caret_offset = textCaret;
    text->get_character_at_offset = textCharacter;
    text->get_string_at_offset = textUnit;
    text->get_text_at_offset = textAtOffset;
    text->get_n_selections = textSelectionCount;
}

// AtkWindow has signals only.
void windowInit(gpointer, gpointer) {}

// Types ----------------------------------------------------------------------

struct tInterface {
    GType type;
    GInterfaceInitFunc init;
};

GType registerType(const char* name, GType parent, std::initializer_list<tInterface> interfaces)
{
    GTypeInfo info{};
    info.class_size = sizeof(tObjectClass);
    info.class_init = parent == ATK_TYPE_OBJECT ? classInit : nullptr;
    info.instance_size = sizeof(tObject);
    const GType type = g_type_register_static(parent, name, &info, GTypeFlags(0));
    for (const tInterface& each : interfaces) {
        const GInterfaceInfo interface{each.init, nullptr, nullptr};
        g_type_add_interface_static(type, each.type, &interface);
    }
    return type;
}

} // namespace

GType applicationType()
{
    static const GType type = registerType("TrellisAccessibleApplication", ATK_TYPE_OBJECT, {});
    return type;
}

GType widgetType()
{
    static const GType type =
        registerType("TrellisAccessibleWidget", ATK_TYPE_OBJECT, {{ATK_TYPE_COMPONENT, componentInit}});
    return type;
}

GType buttonType()
{
    static const GType type =
        registerType("TrellisAccessibleButton", widgetType(), {{ATK_TYPE_ACTION, actionInit}});
    return type;
}

GType textType()
{
    static const GType type = registerType("TrellisAccessibleText", widgetType(), {{ATK_TYPE_TEXT, textInit}});
    return type;
}

GType frameType()
{
    static const GType type = registerType("TrellisAccessibleFrame", widgetType(), {{ATK_TYPE_WINDOW, windowInit}});
    return type;
}

AccessiblePeer* peerOf(gpointer object)
{
    return peer(object);
}

AccessiblePeer::AccessiblePeer(GType type) : object_(ATK_OBJECT(g_object_new(type, nullptr)))
{
    reinterpret_cast<tObject*>(object_)->peer = this;
}

AccessiblePeer::~AccessiblePeer()
{
    reinterpret_cast<tObject*>(object_)->peer = nullptr;
    atk_object_notify_state_change(object_, ATK_STATE_DEFUNCT, TRUE);
    g_object_unref(object_);
}

const char* AccessiblePeer::keptName()
{
    keptName_ = name();
    return keptName_.c_str();
}

const char* AccessiblePeer::keptDescription()
{
    keptDescription_ = description();
    return keptDescription_.c_str();
}

} // namespace Trellis::DETAIL
