#include "basalt/FileStream.h"
#include "basalt/ResourceStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Basalt::ResourceModule;
using Basalt::ResourceStream;

std::string fileContent(const std::string& relative)
{
    Basalt::FileStream file;
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(file.open(std::string(TEST_RESOURCES_DIR) + "/" + relative));
    EXPECT_TRUE(file.readAll(bytes));
    return {bytes.begin(), bytes.end()};
}

std::string resourceContent(const Basalt::ResourceName& name, std::string_view type)
{
    ResourceStream stream;
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(stream.open(ResourceModule::program(), name, type));
    EXPECT_TRUE(stream.readAll(bytes));
    return {bytes.begin(), bytes.end()};
}

TEST(ProgramResources, AreFoundWithoutRegardToLetterCase)
{
    const std::string expected = fileContent("pictures/Bg_Header_FU.png");
    EXPECT_EQ(resourceContent(std::string_view("Bg_Header_FU.png"), "PICTURE"), expected);
    EXPECT_EQ(resourceContent(std::string_view("BG_HEADER_FU.PNG"), "PICTURE"), expected);
    EXPECT_EQ(resourceContent(std::string_view("bg_header_fu.png"), "picture"), expected);
    EXPECT_EQ(resourceContent(std::string_view("sub/pic.png"), "PICTURE"), fileContent("pictures/sub/Pic.png"));
    EXPECT_EQ(resourceContent(std::string_view("FirmwareUpdaterStyles.txt"), "STYLESHEET"),
              fileContent("stylesheets/FirmwareUpdaterStyles.txt"));
    EXPECT_EQ(resourceContent(std::string_view("corvel.ttf"), "TTFd"), fileContent("fonts/corvel.ttf"));
    EXPECT_EQ(resourceContent(std::string_view("Empty.txt"), "STYLESHEET"), "");
}

TEST(ProgramResources, NumberedResourcesAreFoundById)
{
    EXPECT_EQ(resourceContent(std::uint16_t{1}, "TTFd"), fileContent("default-font/Default.ttf"));
    EXPECT_EQ(resourceContent(std::uint16_t{1}, "ICON"), fileContent("icons/app.ico"));
}

TEST(ProgramResources, CarryTheFileVersion)
{
    EXPECT_EQ(ResourceModule::program().fileVersion(), "1.1.0 (R147)");
}

TEST(ProgramResources, ResourceStorageIsReadOnly)
{
    ResourceStream stream;
    ASSERT_TRUE(stream.open(ResourceModule::program(), std::string_view("corvel.ttf"), "TTFd"));
    EXPECT_EQ(stream.storage()->write("x", 1), 0u);
}

TEST(ProgramResources, AMissFailsAndSaysWhichOnStandardError)
{
    struct Miss {
        Basalt::ResourceName name;
        std::string_view type;
        std::string message;
    };
    const Miss misses[] = {
        {std::string_view("Nothing.png"), "PICTURE", "cannot resolve resource: Nothing.png\n"},
        // the right name under another type is still a miss
        {std::string_view("corvel.ttf"), "PICTURE", "cannot resolve resource: corvel.ttf\n"},
        {std::uint16_t{7}, "TTFd", "cannot resolve resource: TTFd 7\n"},
        {std::uint16_t{1}, "PICTURE", "cannot resolve resource: PICTURE 1\n"},
        {std::string_view(""), "PICTURE", "cannot resolve resource: \n"},
    };
    for (const Miss& miss : misses) {
        ResourceStream stream;
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(stream.open(ResourceModule::program(), miss.name, miss.type));
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), miss.message);
        EXPECT_FALSE(stream.isOpen());
        std::vector<unsigned char> bytes{7};
        EXPECT_FALSE(stream.readAll(bytes));
        EXPECT_EQ(bytes.size(), 1u);
    }
}

TEST(ResourceModule, AnEmptyModuleFindsNothing)
{
    ResourceModule empty;
    std::span<const unsigned char> bytes;
    EXPECT_FALSE(empty.find(std::string_view("Bg_Header_FU.png"), "PICTURE", bytes));
    EXPECT_EQ(empty.fileVersion(), "");
}

} // namespace
