#pragma once

#include "logic/Credits.h"
#include "logic/UpdaterDescription.h"

#include <trellis/Widget.h>

#include <casement/Geometry.h>

#include <ostream>
#include <string>

namespace Casement {
inline void PrintTo(const Rect& rect, std::ostream* out)
{
    *out << "(" << rect.x << ", " << rect.y << ", " << rect.width << " x " << rect.height << ")";
}
} // namespace Casement

namespace WizardTesting {

// The updater's texts, with another title when one is given.
inline UpdaterDescription texts(const std::string& title = "TROVIX STUDIO UPDATER")
{
    UpdaterDescription description;
    description.deviceName = "Trovix Studio";
    description.productCode = description.productCode2 = "TVS";
    description.updaterName = "TVS Updater";
    description.applicationTitle = title;
    description.copyrightText = "\xC2\xA9 2018";
    description.versionText = "1.1.0 (R147)";
    description.contributorLines = creditLines();
    return description;
}

// The first widget with the id, depth first.
inline Trellis::Widget* find(Trellis::Widget& from, const std::string& id)
{
    if (from.id().str() == id) {
        return &from;
    }
    for (const auto& child : from.children()) {
        if (Trellis::Widget* found = find(*child, id)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace WizardTesting
