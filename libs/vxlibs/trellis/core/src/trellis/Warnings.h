#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace Trellis {

// The toolkit's warning listeners: problems that do not stop the program
// (stylesheet errors, missing resources, layout contradictions) are reported
// to them as text. Used on the user-interface thread only.
using WarningListener = std::function<void(const std::string& text)>;

// Adds a listener at the end of the list; the returned id removes it.
std::size_t addWarningListener(WarningListener listener);
void removeWarningListener(std::size_t id);

// Passes a copy of the text to every listener, in the order they were added.
// With no listener the text goes nowhere.
void reportWarning(const std::string& text);

} // namespace Trellis
