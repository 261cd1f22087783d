// Reading a whole file, and replacing one in a single step, as the state
// file of a simulated device is read and written.
#include <basalt/TextFile.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Basalt::eFileRead;

class TextFile : public testing::Test {
protected:
    void SetUp() override { fs::create_directories(directory); }
    void TearDown() override { fs::remove_all(directory); }

    // The names in the folder, to see that nothing was left behind.
    std::vector<std::string> names() const
    {
        std::vector<std::string> all;
        for (const auto& entry : fs::directory_iterator(directory)) {
            all.push_back(entry.path().filename());
        }
        std::ranges::sort(all);
        return all;
    }

    const fs::path directory = fs::temp_directory_path() / ("tvs-text-file-" + std::to_string(::getpid()));
};

TEST_F(TextFile, ReadsWhatReplacingWroteAndLeavesNothingElse)
{
    const std::string path = directory / "state";
    std::string error;
    ASSERT_TRUE(Basalt::replaceTextFile(path, "first\n", error)) << error;
    ASSERT_TRUE(Basalt::replaceTextFile(path, std::string(100000, 'x'), error)) << error;
    std::string text;
    EXPECT_EQ(Basalt::readTextFile(path, 100000, text, error), eFileRead::Read) << error;
    EXPECT_EQ(text, std::string(100000, 'x'));
    EXPECT_EQ(names(), std::vector<std::string>{"state"});
}

TEST_F(TextFile, TellsAMissingFileFromOneThatCannotBeRead)
{
    std::ofstream(directory / "large") << std::string(101, 'x');
    std::ofstream(directory / "plain") << "";
    const std::vector<std::tuple<fs::path, eFileRead, std::string>> cases{
        {directory / "missing", eFileRead::Missing, "No such file or directory"},
        {directory, eFileRead::Failed, "it is not a regular file"},
        {directory / "large", eFileRead::Failed, "File too large"},
        {directory / "plain" / "state", eFileRead::Failed, "Not a directory"},
    };
    for (const auto& [path, result, reason] : cases) {
        std::string text;
        std::string error;
        EXPECT_EQ(Basalt::readTextFile(path, 100, text, error), result) << path;
        EXPECT_EQ(error, reason) << path;
    }
}

TEST_F(TextFile, AFailedReplacementLeavesTheFolderAsItWas)
{
    fs::create_directory(directory / "taken");
    std::string error;
    EXPECT_FALSE(Basalt::replaceTextFile(directory / "taken", "text", error));
    EXPECT_EQ(error, "Is a directory");
    EXPECT_FALSE(Basalt::replaceTextFile(directory / "absent" / "state", "text", error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_EQ(names(), std::vector<std::string>{"taken"});
}

} // namespace
