#include "trellis/PropertyReaders.h"

#include <casement/Font.h>

#include <string_view>
#include <variant>

namespace Trellis {
namespace {

const std::string* bareWord(const tPropertyValue& value)
{
    return value.unit == Property::UnitString ? std::get_if<std::string>(&value.value) : nullptr;
}

bool isNo(const tPropertyValue& value)
{
    const std::string* word = bareWord(value);
    return word && *word == "no";
}

template <typename T>
std::optional<T> composed(const tPropertyValue& value, Property::eUnit unit)
{
    if (isNo(value)) {
        return T{};
    }
    const T* held = value.unit == unit ? std::get_if<T>(&value.value) : nullptr;
    return held ? std::optional<T>(*held) : std::nullopt;
}

} // namespace

std::optional<std::int32_t> readInteger(const tPropertyValue& value, std::optional<Property::eUnit> unit)
{
    if (isNo(value)) {
        return 0;
    }
    const auto* number = std::get_if<std::int32_t>(&value.value);
    return number && (!unit || *unit == value.unit) ? std::optional(*number) : std::nullopt;
}

std::optional<std::uint32_t> readColour(const tPropertyValue& value, bool requireColourUnit)
{
    if (isNo(value)) {
        return 0u;
    }
    const auto* colour = std::get_if<std::uint32_t>(&value.value);
    return colour && (!requireColourUnit || value.unit == Property::UnitColor) ? std::optional(*colour)
                                                                                : std::nullopt;
}

std::optional<bool> readBool(const tPropertyValue& value)
{
    if (const bool* flag = std::get_if<bool>(&value.value)) {
        return *flag;
    }
    if (value.unit == Property::UnitNone) {
        if (const auto* number = std::get_if<std::int32_t>(&value.value)) {
            return *number != 0;
        }
        if (const auto* number = std::get_if<std::uint32_t>(&value.value)) {
            return *number != 0;
        }
    }
    if (const std::string* word = bareWord(value)) {
        if (*word == "yes" || *word == "true") {
            return true;
        }
        if (*word == "no" || *word == "false") {
            return false;
        }
    }
    return std::nullopt;
}

std::optional<std::string> readText(const tPropertyValue& value)
{
    const std::string* text = std::get_if<std::string>(&value.value);
    return text ? std::optional(*text) : std::nullopt;
}

std::optional<std::uint32_t> readHorizontalAlignment(const tPropertyValue& value)
{
    const std::string* word = bareWord(value);
    if (!word) {
        return std::nullopt;
    }
    return *word == "right" ? Casement::Font::Right : *word == "center" ? Casement::Font::Centre : Casement::Font::Left;
}

std::optional<std::uint32_t> readVerticalAlignment(const tPropertyValue& value)
{
    const std::string* word = bareWord(value);
    if (!word) {
        return std::nullopt;
    }
    // An unknown word gives 4096 here too, a code no vertical word has.
    constexpr std::uint32_t UnknownWord = 4096;
    return *word == "top"      ? Casement::Font::Top
           : *word == "bottom" ? Casement::Font::Bottom
           : *word == "center" ? Casement::Font::Centre
                               : UnknownWord;
}

std::optional<std::shared_ptr<Casement::Font>> readFont(const tPropertyValue& value)
{
    auto font = composed<std::shared_ptr<Casement::Font>>(value, Property::UnitFont);
    return font && (*font || isNo(value)) ? font : std::nullopt;
}

std::optional<std::shared_ptr<LazyPicture>> readPicture(const tPropertyValue& value)
{
    return composed<std::shared_ptr<LazyPicture>>(value, Property::UnitPicture);
}

std::optional<Casement::Point> readPoint(const tPropertyValue& value)
{
    return composed<Casement::Point>(value, Property::UnitPoint);
}

} // namespace Trellis
