#include <trellis/PooledName.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

namespace Trellis {
namespace {

TEST(PooledName, EqualTextsShareOneHandle)
{
    const std::string built = std::string("Firmware") + "UpdaterQuitButton";
    const PooledName first("FirmwareUpdaterQuitButton");
    const PooledName second(built);
    EXPECT_EQ(first, second);
    EXPECT_EQ(&first.str(), &second.str());
    EXPECT_FALSE(first == PooledName("FirmwareUpdaterActionButton"));
    // Letter case matters.
    EXPECT_FALSE(first == PooledName("firmwareupdaterquitbutton"));
}

TEST(PooledName, TheEmptyStringHasOneFixedHandle)
{
    EXPECT_EQ(PooledName(), PooledName(""));
    EXPECT_EQ(PooledName(std::string_view()), PooledName());
    EXPECT_TRUE(PooledName().empty());
    EXPECT_EQ(PooledName().str(), "");
}

TEST(PooledName, WorksAsAKeyOfOrderedAndHashedContainers)
{
    std::map<PooledName, int> ordered{{PooledName("a"), 1}, {PooledName("b"), 2}};
    EXPECT_EQ(ordered[PooledName("b")], 2);
    std::unordered_set<PooledName> hashed{PooledName("a"), PooledName("a"), PooledName()};
    EXPECT_EQ(hashed.size(), 2u);
}

TEST(PooledName, ThreadsMakingTheSameNamesGetTheSameHandles)
{
    std::vector<const std::string*> seen(2 * 200);
    auto make = [&seen](std::size_t offset) {
        for (std::size_t i = 0; i < 200; ++i) {
            seen[offset + i] = &PooledName("name " + std::to_string(i)).str();
        }
    };
    std::thread other(make, 200);
    make(0);
    other.join();
    for (std::size_t i = 0; i < 200; ++i) {
        EXPECT_EQ(seen[i], seen[200 + i]) << i;
    }
}

} // namespace
} // namespace Trellis
