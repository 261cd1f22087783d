#include "TestResources.h"

#include <basalt/Stream.h>
#include <casement/Font.h>
#include <casement/PictureProperties.h>
#include <trellis/ManagerContainer.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace Trellis {
namespace {

using Testing::TemporaryDirectory;
using Testing::WarningCollector;

std::vector<unsigned char> bytesOf(const std::string& text)
{
    return {text.begin(), text.end()};
}

std::string readText(const std::shared_ptr<Basalt::Stream>& stream)
{
    std::vector<unsigned char> bytes;
    return stream && stream->readAll(bytes) ? std::string(bytes.begin(), bytes.end()) : "<none>";
}

class ManagerContainerTest : public testing::Test {
protected:
    ManagerContainerTest()
    {
        table.add("PICTURE", "BG_HEADER_FU.PNG", Testing::tgaPicture(2, 2, 0xFF102331));
        table.add("STYLESHEET", "FIRMWAREUPDATERSTYLES.TXT", bytesOf("program styles"));
        table.add("TTFd", "CORVEL.TTF", Testing::testFontBytes());
        table.addNumbered("TTFd", 1, Testing::testFontBytes());
        table.add("TTFd", "BROKEN.TTF", bytesOf("not a font"));
        module = table.module();
        std::filesystem::create_directories(root.path() / "program");
        std::filesystem::create_directories(root.path() / "work");
    }

    ~ManagerContainerTest() override { ManagerContainer::setUseSkinFolder(false); }

    ManagerContainer& container(bool useSkinFolder)
    {
        ManagerContainer::setUseSkinFolder(useSkinFolder);
        made = std::make_unique<ManagerContainer>(module, SkinSearchPlaces{root.path() / "program", root.path() / "work"});
        return *made;
    }

    Testing::TestModule table;
    Basalt::ResourceModule module;
    TemporaryDirectory root;
    WarningCollector collector;
    std::unique_ptr<ManagerContainer> made;
};

TEST_F(ManagerContainerTest, ProgramResourcesAreFoundInAnyLetterCase)
{
    auto& resources = container(true);
    EXPECT_EQ(readText(resources.getResourceStream("FirmwareUpdaterStyles.txt", ManagerContainer::StyleSheetKind, true)),
              "program styles");
    EXPECT_NE(resources.getResourceStream("Bg_Header_FU.png", ManagerContainer::PictureKind, true), nullptr);
    EXPECT_EQ(resources.location().mode, ResourceLocation::Program);
    EXPECT_TRUE(collector.warnings.empty());
}

TEST_F(ManagerContainerTest, ProgramMissesAreReportedOnlyWhenAsked)
{
    auto& resources = container(false);
    EXPECT_EQ(resources.getResourceStream("missing.png", ManagerContainer::PictureKind, false), nullptr);
    // The stylesheet is not a picture.
    EXPECT_EQ(resources.getResourceStream("FirmwareUpdaterStyles.txt", ManagerContainer::PictureKind, true), nullptr);
    EXPECT_EQ(collector.warnings, (std::vector<std::string>{
        "Trellis::ManagerContainer::getResourceStream - can't load linked resource FirmwareUpdaterStyles.txt"}));
}

TEST_F(ManagerContainerTest, ASkinFolderReplacesTheProgramResourcesWhollyAndForGood)
{
    root.write("program/skin/stylesheets/FirmwareUpdaterStyles.txt", bytesOf("skin styles"));
    root.write("program/skin/pictures/sub/pic.png", bytesOf("sub picture"));
    auto& resources = container(true);
    EXPECT_EQ(readText(resources.getResourceStream("FirmwareUpdaterStyles.txt", ManagerContainer::StyleSheetKind, true)),
              "skin styles");
    EXPECT_EQ(readText(resources.getResourceStream("sub/pic.png", ManagerContainer::PictureKind, true)), "sub picture");
    // Not looked for among the program's resources.
    EXPECT_EQ(resources.getResourceStream("Bg_Header_FU.png", ManagerContainer::PictureKind, true), nullptr);
    const auto skin = (root.path() / "program/skin").string();
    EXPECT_EQ(collector.warnings, (std::vector<std::string>{
        "Trellis::ManagerContainer::getResourceStream - can't find resource: " + skin + "/pictures/Bg_Header_FU.png"}));

    // The decision is not revisited.
    std::filesystem::remove_all(root.path() / "program/skin");
    EXPECT_EQ(resources.getResourceStream("Bg_Header_FU.png", ManagerContainer::PictureKind, false), nullptr);
    EXPECT_EQ(resources.location().mode, ResourceLocation::Folder);
}

TEST_F(ManagerContainerTest, NamesThatClimbOutOfTheirFolderAreRefused)
{
    root.write("work/skin/pictures/..hidden.png", bytesOf("dots in a name"));
    root.write("work/skin/secret.txt", bytesOf("outside the pictures"));
    auto& resources = container(true);
    EXPECT_EQ(readText(resources.getResourceStream("..hidden.png", ManagerContainer::PictureKind, true)),
              "dots in a name");
    for (const char* name : {"../secret.txt", "sub/../../secret.txt", "..", "sub\\..\\x.png"}) {
        EXPECT_EQ(resources.getResourceStream(name, ManagerContainer::PictureKind, true), nullptr) << name;
    }
    EXPECT_EQ(collector.warnings.size(), 4u);

    auto& program = container(false);
    EXPECT_EQ(program.getResourceStream("../Bg_Header_FU.png", ManagerContainer::PictureKind, false), nullptr);
}

// A skin folder is no way to read other files, to hang the program or to
// exhaust its memory.
TEST_F(ManagerContainerTest, LinksFifosAndHugeFilesOfASkinAreRefusedAtOnce)
{
    root.write("work/secret.txt", bytesOf("outside the skin"));
    root.write("work/skin/pictures/ok.png", bytesOf("a picture"));
    root.write("work/skin/stylesheets/huge.txt", bytesOf("A { a: b }"));
    const auto skin = root.path() / "work/skin";
    std::filesystem::resize_file(skin / "stylesheets/huge.txt", std::uintmax_t{1} << 32);
    std::filesystem::create_symlink(root.path() / "work/secret.txt", skin / "pictures/link.png");
    std::filesystem::create_directory_symlink(root.path() / "work", skin / "pictures/up");
    ASSERT_EQ(::mkfifo((skin / "pictures/fifo.png").c_str(), 0600), 0);
    auto& resources = container(true);
    EXPECT_EQ(readText(resources.getResourceStream("ok.png", ManagerContainer::PictureKind, true)), "a picture");
    for (const char* name : {"link.png", "up/secret.txt", "fifo.png", "/etc/hostname"}) {
        EXPECT_EQ(resources.getResourceStream(name, ManagerContainer::PictureKind, true), nullptr) << name;
    }
    EXPECT_EQ(resources.getResourceStream("huge.txt", ManagerContainer::StyleSheetKind, true), nullptr);
    ASSERT_EQ(collector.warnings.size(), 5u);
    EXPECT_EQ(collector.warnings.back(), "Trellis::ManagerContainer::getResourceStream - resource too large: "
                                         + (skin / "stylesheets").string() + "/huge.txt (4294967296 bytes, at most 8388608)");
}

// The skin folder is the user's choice and may itself be a link; a linked
// folder beneath it is not followed out of it.
TEST_F(ManagerContainerTest, ALinkedSubFolderOfASkinIsNotFollowed)
{
    root.write("outside/shadow", bytesOf("outside the skin"));
    root.write("chosen/stylesheets/a.txt", bytesOf("skin styles"));
    std::filesystem::create_directory_symlink(root.path() / "chosen", root.path() / "work/skin");
    std::filesystem::create_directory_symlink(root.path() / "outside", root.path() / "chosen/pictures");
    auto& resources = container(true);
    EXPECT_EQ(readText(resources.getResourceStream("a.txt", ManagerContainer::StyleSheetKind, true)), "skin styles");
    EXPECT_EQ(resources.getResourceStream("shadow", ManagerContainer::PictureKind, true), nullptr);
    EXPECT_EQ(collector.warnings, (std::vector<std::string>{"Trellis::ManagerContainer::getResourceStream - can't find "
                                                            "resource: " + (root.path() / "work/skin").string()
                                                            + "/pictures/shadow"}));
}

TEST_F(ManagerContainerTest, FontsAreMadeOnceFromTheProgramOrByName)
{
    auto& resources = container(false);
    const FontDescription byId{"", 1, 12, 0, nullptr};
    const auto defaultFont = resources.lookupFont(byId);
    ASSERT_NE(defaultFont, nullptr);
    EXPECT_EQ(resources.lookupFont(byId), defaultFont);
    EXPECT_EQ(defaultFont->size(), 12);

    const auto named = resources.lookupFont({"corvel.ttf", 0, 13, FontDescription::Hinting, nullptr});
    ASSERT_NE(named, nullptr);
    EXPECT_NE(named, defaultFont);
    EXPECT_TRUE(named->hinting());

    EXPECT_EQ(resources.lookupFont({"", 0, 12, FontDescription::LoadByResourceId, nullptr}), nullptr);
    EXPECT_EQ(resources.lookupFont({"", 7, 12, 0, nullptr}), nullptr);
    EXPECT_EQ(resources.lookupFont({"nope.ttf", 0, 12, 0, nullptr}), nullptr);
    EXPECT_EQ(resources.lookupFont({"broken.ttf", 0, 12, 0, nullptr}), nullptr);
    EXPECT_EQ(collector.warnings, (std::vector<std::string>{
        "Trellis::ManagerContainer::getResourceStream - can't load linked resource nope.ttf"}));
}

TEST_F(ManagerContainerTest, PicturesAreSharedByNameAndProperties)
{
    auto& resources = container(false);
    Casement::PictureProperties properties;
    properties.setFrameCount(3);
    const auto picture = resources.createPicture("Bg_Status.png", properties);
    EXPECT_EQ(resources.createPicture("Bg_Status.png", properties), picture);
    properties.setTopBorder(6);
    EXPECT_NE(resources.createPicture("Bg_Status.png", properties), picture);
    EXPECT_NE(resources.createPicture("Bg_Content.png", properties), picture);
}

} // namespace
} // namespace Trellis
