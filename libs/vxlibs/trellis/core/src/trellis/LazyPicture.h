#pragma once

#include <casement/PictureProperties.h>

#include <map>
#include <memory>
#include <string>

namespace Casement {
class Picture;
} // namespace Casement

namespace Trellis {

class ManagerContainer;

// A picture resource loaded on first use and kept per display scale. At a
// scale other than 1 the "@2x" variant of the name is loaded (Busywheel.png
// becomes Busywheel@2x.png); when there is none, the picture of scale 1 is
// enlarged. The frame layout and the stretch borders (scaled) come from the
// properties the picture was asked for with, not from the file.
class LazyPicture {
public:
    LazyPicture(ManagerContainer& manager, std::string name, const Casement::PictureProperties& properties);

    // The picture for the scale, or null when none loads (then nothing is
    // remembered, and the next call tries again) or the scale is not a
    // positive number.
    std::shared_ptr<const Casement::Picture> get(float scale);

    const std::string& name() const { return name_; }

private:
    std::shared_ptr<Casement::Picture> load(const std::string& name, float scale, bool report);
    std::shared_ptr<Casement::Picture> enlarged(float scale);

    ManagerContainer& manager_;
    const std::string name_;
    Casement::PictureProperties properties_;
    std::map<float, std::shared_ptr<const Casement::Picture>> cache_;
};

// The name with "@2x" before its extension (or at its end when it has none).
std::string doubleDensityName(const std::string& name);

} // namespace Trellis
