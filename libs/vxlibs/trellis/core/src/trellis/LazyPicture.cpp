#include "trellis/LazyPicture.h"

#include "trellis/ManagerContainer.h"
#include "trellis/Warnings.h"

#include <basalt/Stream.h>
#include <casement/Picture.h>
#include <casement/PictureEnlarging.h>

#include <fmt/format.h>

#include <cmath>

namespace Trellis {
namespace {

std::uint32_t scaled(std::uint32_t border, float scale)
{
    return static_cast<std::uint32_t>(std::lround(static_cast<double>(border) * scale));
}

} // namespace

std::string doubleDensityName(const std::string& name)
{
    const std::size_t dot = name.find_last_of('.');
    const std::size_t slash = name.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return name + "@2x";
    }
    return name.substr(0, dot) + "@2x" + name.substr(dot);
}

LazyPicture::LazyPicture(ManagerContainer& manager, std::string name, const Casement::PictureProperties& properties)
    : manager_(manager), name_(std::move(name)), properties_(properties)
{
}

std::shared_ptr<const Casement::Picture> LazyPicture::get(float scale)
{
    if (!std::isfinite(scale) || scale <= 0.0f) {
        return nullptr;
    }
    if (const auto cached = cache_.find(scale); cached != cache_.end()) {
        return cached->second;
    }
    std::shared_ptr<Casement::Picture> picture;
    if (scale == 1.0f) {
        picture = load(name_, scale, true);
    } else {
        picture = load(doubleDensityName(name_), scale, false);
        picture = picture ? picture : enlarged(scale);
    }
    if (picture) {
        cache_.emplace(scale, picture);
    }
    return picture;
}

std::shared_ptr<Casement::Picture> LazyPicture::load(const std::string& name, float scale, bool report)
{
    const auto stream = manager_.getResourceStream(name, ManagerContainer::PictureKind, report);
    auto picture = std::make_shared<Casement::Picture>();
    if (!stream) {
        return nullptr;
    }
    if (!picture->load(*stream, true)) {
        if (report) {
            reportWarning(fmt::format("Trellis::LazyPicture - can't decode picture: {}", name));
        }
        return nullptr;
    }
    picture->setOrientation(properties_.orientation());
    picture->setFrameCount(properties_.frameCount());
    picture->setVerticallyStretchable(properties_.verticallyStretchable());
    picture->setHorizontallyStretchable(properties_.horizontallyStretchable());
    picture->setTopBorder(scaled(properties_.topBorder(), scale));
    picture->setBottomBorder(scaled(properties_.bottomBorder(), scale));
    picture->setLeftBorder(scaled(properties_.leftBorder(), scale));
    picture->setRightBorder(scaled(properties_.rightBorder(), scale));
    return picture;
}

std::shared_ptr<Casement::Picture> LazyPicture::enlarged(float scale)
{
    const auto plain = get(1.0f);
    if (!plain) {
        return nullptr;
    }
    auto copy = Casement::enlargePicture(*plain, scale);
    return copy ? std::make_shared<Casement::Picture>(std::move(*copy)) : nullptr;
}

} // namespace Trellis
