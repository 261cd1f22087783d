#include "trellis/StyleComposer.h"

#include "trellis/DefaultFont.h"
#include "trellis/LazyPicture.h"
#include "trellis/ManagerContainer.h"

#include <casement/PictureProperties.h>

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>

namespace Trellis {
namespace {

struct tComposedPicture {
    bool declared = false;
    std::string name;
    Casement::PictureProperties properties;

    tComposedPicture() { properties.setFrameCount(1); }
};

// What one style's declarations compose, before the composed rules are made.
struct tComposition {
    FontDescription font = defaultFontDescription();
    bool fontNamed = false;
    tComposedPicture picture;
    tComposedPicture dyeMask;
    std::optional<std::int32_t> pictureLeft, pictureTop, textLeft, textTop;
};

// An int written without unit or in pixels.
std::optional<std::int32_t> integerOf(const tPropertyValue& value)
{
    const auto* number = std::get_if<std::int32_t>(&value.value);
    const bool unitFits = value.unit == Property::UnitNone || value.unit == Property::UnitPx;
    return number && unitFits ? std::optional(*number) : std::nullopt;
}

std::optional<std::int32_t> plainIntegerOf(const tPropertyValue& value)
{
    return value.unit == Property::UnitNone ? integerOf(value) : std::nullopt;
}

// Borders and frame counts are unsigned: negative values are ignored, and so
// is a frame count below 1.
std::optional<std::uint32_t> borderOf(const tPropertyValue& value)
{
    const auto number = integerOf(value);
    return number && *number >= 0 ? std::optional(static_cast<std::uint32_t>(*number)) : std::nullopt;
}

const std::string* textOf(const tPropertyValue& value)
{
    return std::get_if<std::string>(&value.value);
}

// A url names the picture; the bare word no declares a picture without one.
void declarePicture(tComposedPicture& picture, const tPropertyValue& value)
{
    const std::string* text = textOf(value);
    if (text && (value.unit == Property::UnitUrl || (value.unit == Property::UnitString && *text == "no"))) {
        picture.declared = true;
        picture.name = value.unit == Property::UnitUrl ? *text : std::string();
    }
}

void setFrameCount(tComposedPicture& picture, const tPropertyValue& value)
{
    const auto count = plainIntegerOf(value);
    if (count && *count >= 1) {
        picture.properties.setFrameCount(static_cast<std::uint32_t>(*count));
    }
}

using tBorderSetter = void (Casement::PictureProperties::*)(std::uint32_t);
using tStretchSetter = void (Casement::PictureProperties::*)(bool);

// A stretch border of both the picture and the dye mask.
std::function<void(tComposition&, const tPropertyValue&)> border(std::initializer_list<tBorderSetter> borders,
                                                                 std::initializer_list<tStretchSetter> stretches)
{
    return [borders = std::vector(borders), stretches = std::vector(stretches)](tComposition& c,
                                                                                const tPropertyValue& value) {
        const auto pixels = borderOf(value);
        if (!pixels) {
            return;
        }
        for (auto* properties : {&c.picture.properties, &c.dyeMask.properties}) {
            for (const tBorderSetter set : borders) {
                (properties->*set)(*pixels);
            }
            for (const tStretchSetter set : stretches) {
                (properties->*set)(true);
            }
        }
    };
}

std::function<void(tComposition&, const tPropertyValue&)> coordinate(std::optional<std::int32_t> tComposition::*field)
{
    return [field](tComposition& c, const tPropertyValue& value) {
        if (const auto number = integerOf(value)) {
            c.*field = number;
        }
    };
}

void setFontStyle(tComposition& c, const tPropertyValue& value)
{
    if (const std::string* word = textOf(value)) {
        c.font.flags |= *word == "bold"        ? FontDescription::Bold
                        : *word == "italic"    ? FontDescription::Italic
                        : *word == "underline" ? FontDescription::Underline
                                               : 0u;
    }
}

void setFontHintingFlag(tComposition& c, const tPropertyValue& value)
{
    const bool* hinting = std::get_if<bool>(&value.value);
    if (hinting && value.unit == Property::UnitBool) {
        c.font.flags &= ~FontDescription::Hinting;
        c.font.flags |= *hinting ? FontDescription::Hinting : 0u;
    }
}

void setFontName(tComposition& c, const tPropertyValue& value, bool family)
{
    const std::string* text = textOf(value);
    if (text && (family || value.unit == Property::UnitUrl)) {
        c.font.name = *text;
        c.fontNamed = true;
        c.font.flags |= family ? FontDescription::LoadByResourceId : 0u;
    }
}

using tComposer = std::function<void(tComposition&, const tPropertyValue&)>;

const std::unordered_map<PooledName, tComposer>& composers()
{
    using P = Casement::PictureProperties;
    static const std::unordered_map<PooledName, tComposer> table = {
        {PooledName("font-size"), [](tComposition& c, const tPropertyValue& v) {
             if (const auto size = integerOf(v)) {
                 c.font.size = *size;
             }
         }},
        {PooledName("font-hinting"), setFontHintingFlag},
        {PooledName("font-style"), setFontStyle},
        {PooledName("font-resid"), [](tComposition& c, const tPropertyValue& v) {
             if (const auto id = plainIntegerOf(v)) {
                 c.font.resourceId = *id;
             }
         }},
        {PooledName("font-name"), [](tComposition& c, const tPropertyValue& v) { setFontName(c, v, false); }},
        {PooledName("font-family"), [](tComposition& c, const tPropertyValue& v) { setFontName(c, v, true); }},
        {PooledName("image"), [](tComposition& c, const tPropertyValue& v) { declarePicture(c.picture, v); }},
        {PooledName("dye-mask"), [](tComposition& c, const tPropertyValue& v) { declarePicture(c.dyeMask, v); }},
        {PooledName("animations"), [](tComposition& c, const tPropertyValue& v) { setFrameCount(c.picture, v); }},
        {PooledName("dye-mask-animations"),
         [](tComposition& c, const tPropertyValue& v) { setFrameCount(c.dyeMask, v); }},
        {PooledName("fixed"), border({&P::setTopBorder, &P::setBottomBorder, &P::setLeftBorder, &P::setRightBorder},
                                     {&P::setVerticallyStretchable, &P::setHorizontallyStretchable})},
        {PooledName("fixed-top"), border({&P::setTopBorder}, {&P::setVerticallyStretchable})},
        {PooledName("fixed-bottom"), border({&P::setBottomBorder}, {&P::setVerticallyStretchable})},
        {PooledName("fixed-left"), border({&P::setLeftBorder}, {&P::setHorizontallyStretchable})},
        {PooledName("fixed-right"), border({&P::setRightBorder}, {&P::setHorizontallyStretchable})},
        {PooledName("relative-left"), coordinate(&tComposition::pictureLeft)},
        {PooledName("relative-top"), coordinate(&tComposition::pictureTop)},
        {PooledName("foreground-relative-left"), coordinate(&tComposition::textLeft)},
        {PooledName("foreground-relative-top"), coordinate(&tComposition::textTop)},
    };
    return table;
}

void addPicture(std::vector<ParsedProperty>& out, const char* property, const tComposedPicture& picture,
                ManagerContainer& container)
{
    if (picture.declared) {
        std::shared_ptr<LazyPicture> made;
        if (!picture.name.empty()) {
            made = container.createPicture(picture.name, picture.properties);
        }
        out.push_back({PooledName(property), {std::move(made), Property::UnitPicture}});
    }
}

void addPoint(std::vector<ParsedProperty>& out, const char* property, std::optional<std::int32_t> x,
              std::optional<std::int32_t> y)
{
    if (x || y) {
        out.push_back({PooledName(property), {Casement::Point{x.value_or(0), y.value_or(0)}, Property::UnitPoint}});
    }
}

// A named font, else the program font when anything differs from the
// default font, else no font rule.
void addFont(std::vector<ParsedProperty>& out, const tComposition& c, ManagerContainer& container)
{
    const FontDescription standard = defaultFontDescription();
    FontDescription wanted = c.font;
    if (c.fontNamed) {
        wanted.resourceId = 0;
    } else if (wanted.size == standard.size && wanted.resourceId == standard.resourceId &&
               wanted.flags == standard.flags) {
        return;
    }
    out.push_back({PooledName("font"), {container.lookupFont(wanted), Property::UnitFont}});
}

} // namespace

std::vector<ParsedProperty> composeProperties(const ParsedStyle& style, ManagerContainer& container)
{
    tComposition composition;
    const auto& table = composers();
    for (const ParsedProperty& property : style.properties) {
        const auto composer = table.find(property.name);
        if (composer != table.end()) {
            composer->second(composition, property.value);
        }
    }
    std::vector<ParsedProperty> composed;
    addPicture(composed, "picture", composition.picture, container);
    addPicture(composed, "dye-mask-picture", composition.dyeMask, container);
    addPoint(composed, "picture-displacement", composition.pictureLeft, composition.pictureTop);
    addPoint(composed, "text-displacement", composition.textLeft, composition.textTop);
    addFont(composed, composition, container);
    return composed;
}

} // namespace Trellis
