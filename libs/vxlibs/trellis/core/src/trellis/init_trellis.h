#pragma once

#include <cstdint>

namespace Trellis {

class ManagerContainer;

// Initialises the toolkit for an application: checks that the caller was
// built for this Basalt (its interface version words) and makes the
// toolkit's resource and style manager over the program's resources.
// Returns false when the toolkit is initialised already.
bool initTrellis(std::uint32_t first, std::uint32_t second);
// Releases the style manager; does nothing when not initialised.
void shutdownTrellis();
// The manager made by initTrellis, or null.
ManagerContainer* trellisResources();

} // namespace Trellis
