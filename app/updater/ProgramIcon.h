#pragma once

#include <casement/Picture.h>

#include <cstdint>
#include <optional>
#include <vector>

// The window icon from the program's icon resource (ICON 1): the PNG entry of
// the icon file whose size is nearest to `size` pixels. None when the
// resource is missing or no entry decodes.
std::optional<Casement::Picture> programIcon(std::int32_t size);

// The same from the bytes of an icon file; entries that do not lie inside
// the bytes are passed over.
std::optional<Casement::Picture> iconEntry(const std::vector<unsigned char>& icon, std::int32_t size);
