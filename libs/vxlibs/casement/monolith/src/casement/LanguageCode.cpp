#include "casement/LanguageCode.h"

#include <array>
#include <cstdlib>
#include <utility>

namespace Casement {

std::string LanguageCode::fromLocaleName(std::string_view name)
{
    static constexpr std::array<std::pair<std::string_view, const char*>, 5> codes{{
        {"de", "DEU"}, {"es", "SPA"}, {"fr", "FRA"}, {"it", "ITA"}, {"ja", "JPN"}}};
    const std::string_view language = name.substr(0, name.find_first_of("_.@"));
    for (const auto& [prefix, code] : codes) {
        if (language == prefix) {
            return code;
        }
    }
    return "ENG";
}

std::string LanguageCode::userDefault()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return fromLocaleName(value);
        }
    }
    return "ENG";
}

} // namespace Casement
