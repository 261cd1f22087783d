#pragma once

#include <string>
#include <string_view>

namespace Casement {

// The libraries' three-letter language code from the user's default language.
class LanguageCode {
public:
    // From a POSIX locale name ("ja_JP.UTF-8", "de", "C"): "DEU", "SPA",
    // "FRA", "ITA" or "JPN" for German, Spanish, French, Italian and
    // Japanese, "ENG" for any other.
    static std::string fromLocaleName(std::string_view name);
    // From the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty.
    static std::string userDefault();
};

} // namespace Casement
