#pragma once

#include "trellis/Accessible.h"

#include <atk/atk.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Trellis::DETAIL {

// The C++ side of one published ATK object: the object's methods ask it
// (see AccessibleObjectTypes.cpp). The peer owns a reference to its object;
// when the peer goes, the object, which clients may still hold, becomes
// defunct and answers as an empty one.
class AccessiblePeer {
public:
    explicit AccessiblePeer(GType type);
    virtual ~AccessiblePeer();
    AccessiblePeer(const AccessiblePeer&) = delete;
    AccessiblePeer& operator=(const AccessiblePeer&) = delete;

    AtkObject* object() const { return object_; }
    virtual AtkRole role() const = 0;
    virtual std::string name() const = 0;
    virtual std::string description() const { return {}; }
    virtual AtkObject* parent() const = 0;
    virtual std::vector<AtkObject*> children() = 0;
    virtual void addStates(AtkStateSet& states) const = 0;
    // The place of the object in the given coordinates, in device pixels.
    virtual AtkRectangle extents(AtkCoordType coordinates) const = 0;
    // Labels and texts: what they show, and the (start, end) character
    // offsets of its lines.
    virtual std::string text() const { return {}; }
    virtual std::vector<std::pair<int, int>> lineSpans() const { return {}; }
    // Buttons: queues a click; false when the button cannot take one now.
    virtual bool click() { return false; }

    // The name and the description as the object hands them out: kept until
    // the next call (ATK's methods return texts that the object keeps).
    const char* keptName();
    const char* keptDescription();

private:
    AtkObject* object_;
    std::string keptName_;
    std::string keptDescription_;
};

// The GObject types of the published objects.
GType applicationType();
GType widgetType();
GType buttonType();
GType textType();
GType frameType();
// The peer of an object of these types; null once it is defunct.
AccessiblePeer* peerOf(gpointer object);

// The ATK states of a description's states.
void addAccessibleStates(AtkStateSet& set, std::uint32_t states, eAccessibleRole role);
// The state-change events between two sets of a description's states. A
// focus gain is only collected, to be sent after every loss.
void emitStateChanges(AtkObject* object, std::uint32_t before, std::uint32_t now,
                      std::vector<AtkObject*>& focusGains);
// The children-changed events between two lists of children: removals from
// the last down, then additions.
void emitChildrenChanges(AtkObject* parent, const std::vector<AtkObject*>& before,
                         const std::vector<AtkObject*>& now);

// The number of characters (code points) of UTF-8 text, the unit of ATK's
// text offsets.
gint characterCount(std::string_view text);

// The (start, end) character offsets of the unit of `granularity` at
// `offset` in `text` (UTF-8): a character; a word with the spaces after it;
// a sentence with the spaces after it; a line with its line feed (`lines`,
// when given, are the lines as shown). Nothing (-1, -1) off the text.
std::pair<int, int> textUnitAt(const std::string& text, int offset, AtkTextGranularity granularity,
                               const std::vector<std::pair<int, int>>& lines);

} // namespace Trellis::DETAIL
