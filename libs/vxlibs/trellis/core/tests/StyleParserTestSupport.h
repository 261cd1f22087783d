#pragma once

#include <trellis/StyleParser2.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Trellis::Testing {

// The (line, message) pairs reported for text given to processString().
inline std::vector<std::pair<std::int32_t, std::string>> stringErrors(const StyleParser2& parser)
{
    const auto found = parser.errorLog().find("(StyleParser2::processString)");
    return found != parser.errorLog().end() ? found->second : std::vector<std::pair<std::int32_t, std::string>>{};
}

// The value of the single declaration "p: <value>" in a style of its own.
inline tPropertyValue valueOf(std::string_view value)
{
    StyleParser2 parser;
    parser.processString("A { p: " + std::string(value) + " }");
    if (parser.styles().size() != 1 || parser.styles()[0].properties.size() != 1) {
        return {std::string("<no declaration>"), Property::UnitNone};
    }
    return parser.styles()[0].properties[0].value;
}

// The property names of each style, in order.
inline std::vector<std::vector<std::string>> propertyNames(const StyleParser2& parser)
{
    std::vector<std::vector<std::string>> names;
    for (const auto& style : parser.styles()) {
        names.emplace_back();
        for (const auto& property : style.properties) {
            names.back().push_back(property.name.str());
        }
    }
    return names;
}

} // namespace Trellis::Testing
