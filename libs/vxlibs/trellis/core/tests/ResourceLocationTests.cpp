#include "TestResources.h"

#include <trellis/ResourceLocation.h>

#include <gtest/gtest.h>

namespace Trellis {
namespace {

using Testing::TemporaryDirectory;

class ResourceLocationTest : public testing::Test {
protected:
    ResourceLocationTest()
    {
        std::filesystem::create_directories(root.path() / "program");
        std::filesystem::create_directories(root.path() / "work");
    }

    SkinSearchPlaces places() const { return {root.path() / "program", root.path() / "work"}; }

    TemporaryDirectory root;
};

TEST_F(ResourceLocationTest, WithoutASkinFolderResourcesComeFromTheProgram)
{
    EXPECT_EQ(decideResourceLocation(true, places()).mode, ResourceLocation::Program);
    // A file called "skin" is not a skin folder.
    root.write("work/skin", {1});
    EXPECT_EQ(decideResourceLocation(true, places()).mode, ResourceLocation::Program);
}

TEST_F(ResourceLocationTest, TheProgramsSkinFolderComesBeforeTheWorkingDirectorys)
{
    std::filesystem::create_directories(root.path() / "work/skin");
    auto location = decideResourceLocation(true, places());
    EXPECT_EQ(location.mode, ResourceLocation::Folder);
    EXPECT_EQ(location.base, root.path() / "work/skin");

    std::filesystem::create_directories(root.path() / "program/skin");
    location = decideResourceLocation(true, places());
    EXPECT_EQ(location.base, root.path() / "program/skin");
}

TEST_F(ResourceLocationTest, TheSwitchOffIgnoresSkinFolders)
{
    std::filesystem::create_directories(root.path() / "program/skin");
    EXPECT_EQ(decideResourceLocation(false, places()).mode, ResourceLocation::Program);
}

} // namespace
} // namespace Trellis
