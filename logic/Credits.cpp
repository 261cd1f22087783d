#include "logic/Credits.h"


std::array<std::string, 5> creditLines(std::span<const Credit> list)
{
    std::array<std::string, 5> lines;
    std::size_t next = 0;
    for (std::size_t line = 0; line < lines.size() && next < list.size(); ++line) {
        for (std::size_t i = 0; i < creditLineCapacity[line] && next < list.size(); ++i, ++next) {
            if (i > 0) {
                lines[line] += ", ";
            }
            lines[line] += list[next].name;
        }
        if (next < list.size() && !lines[line].empty()) {
            lines[line] += ",";
        }
    }
    return lines;
}
