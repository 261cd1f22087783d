// What the published objects tell in ATK's terms: states, state and
// children events, and the units of their texts.
#include "trellis/AccessiblePeer.h"

#include <algorithm>

namespace Trellis::DETAIL {
namespace {

struct tStateMapping {
    std::uint32_t state;
    AtkStateType atk;
};

// Showing implies visible, and enabled implies sensitive, as ATK has them.
constexpr tStateMapping StateMappings[] = {
    {AccessibleShowing, ATK_STATE_VISIBLE},     {AccessibleShowing, ATK_STATE_SHOWING},
    {AccessibleEnabled, ATK_STATE_ENABLED},     {AccessibleEnabled, ATK_STATE_SENSITIVE},
    {AccessibleFocusable, ATK_STATE_FOCUSABLE}, {AccessibleFocused, ATK_STATE_FOCUSED},
    {AccessibleMultiLine, ATK_STATE_MULTI_LINE}, {AccessibleModal, ATK_STATE_MODAL},
};

bool isSpace(gunichar character)
{
    return g_unichar_isspace(character) && character != '\n';
}

bool endsSentence(gunichar character)
{
    return character == '.' || character == '!' || character == '?';
}

// From `start`, past the unit's own characters (those `inside` accepts) and
// then past the spaces after it.
int unitEnd(const std::vector<gunichar>& text, int start, bool (*inside)(gunichar))
{
    int end = start;
    while (end < static_cast<int>(text.size()) && inside(text[static_cast<std::size_t>(end)])) {
        ++end;
    }
    while (end < static_cast<int>(text.size()) && isSpace(text[static_cast<std::size_t>(end)])) {
        ++end;
    }
    return end;
}

bool isWordCharacter(gunichar character)
{
    return !g_unichar_isspace(character);
}

// The spaces after a word belong to it.
std::pair<int, int> wordAt(const std::vector<gunichar>& text, int offset)
{
    int start = offset;
    while (start > 0 && !isWordCharacter(text[static_cast<std::size_t>(start)])) {
        --start;
    }
    while (start > 0 && isWordCharacter(text[static_cast<std::size_t>(start - 1)])) {
        --start;
    }
    return {start, unitEnd(text, start, isWordCharacter)};
}

std::pair<int, int> sentenceAt(const std::vector<gunichar>& text, int offset)
{
    int start = offset;
    while (start > 0) {
        const gunichar before = text[static_cast<std::size_t>(start - 1)];
        if (before == '\n' || (isSpace(before) && start >= 2 && endsSentence(text[static_cast<std::size_t>(start - 2)]))) {
            break;
        }
        --start;
    }
    int end = start;
    while (end < static_cast<int>(text.size()) && text[static_cast<std::size_t>(end)] != '\n' &&
           !endsSentence(text[static_cast<std::size_t>(end)])) {
        ++end;
    }
    if (end < static_cast<int>(text.size())) {
        ++end;
    }
    return {start, unitEnd(text, end, [](gunichar) { return false; })};
}

std::pair<int, int> lineAt(const std::vector<gunichar>& text, int offset,
                           const std::vector<std::pair<int, int>>& lines)
{
    for (const auto& line : lines) {
        if (offset >= line.first && offset < std::max(line.second, line.first + 1)) {
            return line;
        }
    }
    int start = offset;
    while (start > 0 && text[static_cast<std::size_t>(start - 1)] != '\n') {
        --start;
    }
    int end = offset;
    while (end < static_cast<int>(text.size()) && text[static_cast<std::size_t>(end++)] != '\n') {
    }
    return {start, end};
}

} // namespace

void addAccessibleStates(AtkStateSet& set, std::uint32_t states, eAccessibleRole role)
{
    for (const tStateMapping& mapping : StateMappings) {
        if ((states & mapping.state) != 0) {
            atk_state_set_add_state(&set, mapping.atk);
        }
    }
    if (role == eAccessibleRole::Text || role == eAccessibleRole::Label) {
        atk_state_set_add_state(&set, ATK_STATE_READ_ONLY);
    }
}

void emitStateChanges(AtkObject* object, std::uint32_t before, std::uint32_t now,
                      std::vector<AtkObject*>& focusGains)
{
    for (const tStateMapping& mapping : StateMappings) {
        const bool was = (before & mapping.state) != 0;
        const bool is = (now & mapping.state) != 0;
        if (was == is) {
            continue;
        }
        if (mapping.atk == ATK_STATE_FOCUSED && is) {
            focusGains.push_back(object);
        } else {
            atk_object_notify_state_change(object, mapping.atk, is);
        }
    }
}

void emitChildrenChanges(AtkObject* parent, const std::vector<AtkObject*>& before,
                         const std::vector<AtkObject*>& now)
{
    for (std::size_t index = before.size(); index-- > 0;) {
        if (std::find(now.begin(), now.end(), before[index]) == now.end()) {
            g_signal_emit_by_name(parent, "children-changed::remove", static_cast<gint>(index), before[index]);
        }
    }
    for (std::size_t index = 0; index < now.size(); ++index) {
        if (std::find(before.begin(), before.end(), now[index]) == before.end()) {
            g_signal_emit_by_name(parent, "children-changed::add", static_cast<gint>(index), now[index]);
        }
    }
}

gint characterCount(std::string_view text)
{
    return static_cast<gint>(g_utf8_strlen(text.data(), static_cast<gssize>(text.size())));
}

std::pair<int, int> textUnitAt(const std::string& text, int offset, AtkTextGranularity granularity,
                               const std::vector<std::pair<int, int>>& lines)
{
    std::vector<gunichar> characters;
    for (const char* at = text.c_str(); *at != '\0'; at = g_utf8_next_char(at)) {
        characters.push_back(g_utf8_get_char(at));
    }
    if (offset < 0 || offset >= static_cast<int>(characters.size())) {
        return {-1, -1};
    }
    switch (granularity) {
    case ATK_TEXT_GRANULARITY_CHAR: return {offset, offset + 1};
    case ATK_TEXT_GRANULARITY_WORD: return wordAt(characters, offset);
    case ATK_TEXT_GRANULARITY_SENTENCE: return sentenceAt(characters, offset);
    case ATK_TEXT_GRANULARITY_LINE: return lineAt(characters, offset, lines);
    case ATK_TEXT_GRANULARITY_PARAGRAPH: return lineAt(characters, offset, {});
    }
    return {-1, -1};
}

} // namespace Trellis::DETAIL
