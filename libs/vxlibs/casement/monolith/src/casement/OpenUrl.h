#pragma once

#include <string>

namespace Casement {

// Opens a web page in the user's default browser. False when the text is
// empty or the platform cannot open it.
bool openUrl(const std::string& url);

} // namespace Casement
