#include <trellis/Warnings.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Trellis {
namespace {

TEST(Warnings, ReachEveryListenerInOrderUntilRemoved)
{
    std::vector<std::string> heard;
    const auto first = addWarningListener([&](const std::string& text) { heard.push_back("1 " + text); });
    std::size_t second = 0;
    // The second listener removes itself while it is called; the walk goes on.
    second = addWarningListener([&](const std::string& text) {
        heard.push_back("2 " + text);
        removeWarningListener(second);
    });
    const auto third = addWarningListener([&](const std::string& text) { heard.push_back("3 " + text); });

    reportWarning("a");
    reportWarning("b");
    removeWarningListener(first);
    removeWarningListener(third);
    reportWarning("c");

    EXPECT_EQ(heard, (std::vector<std::string>{"1 a", "2 a", "3 a", "1 b", "3 b"}));
}

} // namespace
} // namespace Trellis
