#include <logic/Credits.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The packages of scripts/setup's `packages=(...)` list, each with the
// comment heading its group.
std::map<std::string, std::string> setupPackages()
{
    std::ifstream in(SETUP_SCRIPT);
    std::map<std::string, std::string> packages;
    std::string line;
    while (std::getline(in, line) && !line.starts_with("packages=(")) {
    }
    std::string group;
    while (std::getline(in, line) && !line.starts_with(")")) {
        if (const auto hash = line.find('#'); hash != std::string::npos) {
            group = line.substr(line.find_first_not_of(" #", hash));
            line.erase(hash);
        }
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            packages[word] = group;
        }
    }
    return packages;
}

TEST(Credits, EveryCreditComesFromTheBuildAndHasItsLicence)
{
    const auto packages = setupPackages();
    ASSERT_FALSE(packages.empty()) << SETUP_SCRIPT;
    std::set<std::string_view> names;
    for (const Credit& credit : credits) {
        SCOPED_TRACE(std::string(credit.name));
        EXPECT_TRUE(names.insert(credit.name).second) << "named twice";
        EXPECT_EQ(credit.name.find(','), std::string_view::npos);
        if (credit.origin == CreditOrigin::DebianPackage) {
            EXPECT_TRUE(packages.contains(std::string(credit.source))) << credit.source << " is not in scripts/setup";
            const fs::path licence(credit.licenceFile);
            EXPECT_TRUE(licence.is_absolute() && licence.string().starts_with("/usr/share/doc/") &&
                        licence.filename() == "copyright");
            // Images that leave out /usr/share/doc cannot check the file.
            if (fs::exists(fs::path("/usr/share/doc") / credit.source)) {
                EXPECT_TRUE(fs::is_regular_file(licence)) << licence;
            }
        } else {
            EXPECT_TRUE(credit.source.starts_with("resources/"));
            EXPECT_TRUE(fs::is_regular_file(fs::path(SOURCE_DIR) / credit.source)) << credit.source;
            EXPECT_TRUE(fs::is_regular_file(fs::path(SOURCE_DIR) / credit.licenceFile)) << credit.licenceFile;
        }
    }
}

// A library added to scripts/setup or a font added to the resources must be
// credited too.
TEST(Credits, EveryLibraryAndFontOfTheProgramIsCredited)
{
    std::set<std::string_view> sources;
    for (const Credit& credit : credits) {
        sources.insert(credit.source);
    }
    std::size_t libraries = 0;
    for (const auto& [package, group] : setupPackages()) {
        if (group != "libraries of the program") {
            continue;
        }
        ++libraries;
        // Boost's component packages are credited with Boost.
        const bool boostComponent = package.starts_with("libboost-") && sources.contains("libboost-dev");
        EXPECT_TRUE(sources.contains(package) || boostComponent) << package << " is not credited";
    }
    EXPECT_GT(libraries, 0u) << "no \"# libraries of the program\" group in " << SETUP_SCRIPT;
    for (const auto& entry : fs::directory_iterator(fs::path(SOURCE_DIR) / "resources/fonts")) {
        if (entry.path().extension() == ".ttf") {
            const std::string font = "resources/fonts/" + entry.path().filename().string();
            EXPECT_TRUE(sources.contains(font)) << font << " is not credited";
        }
    }
}

TEST(Credits, LinesFillFiveFiveFourThreeNamesAndEndWithCommasWhileNamesFollow)
{
    std::vector<Credit> list;
    std::vector<std::string> names;
    for (int i = 1; i <= 17; ++i) {
        names.push_back("P" + std::to_string(i));
    }
    for (const auto& name : names) {
        list.push_back({name, CreditOrigin::DebianPackage, "", ""});
    }
    EXPECT_EQ(creditLines(list), (std::array<std::string, 5>{"P1, P2, P3, P4, P5,", "P6, P7, P8, P9, P10,",
                                                              "P11, P12, P13, P14,", "P15, P16, P17", ""}));
    list.resize(6);
    EXPECT_EQ(creditLines(list), (std::array<std::string, 5>{"P1, P2, P3, P4, P5,", "P6", "", "", ""}));
    list.resize(5);
    EXPECT_EQ(creditLines(list), (std::array<std::string, 5>{"P1, P2, P3, P4, P5", "", "", "", ""}));
    list.resize(17);
    list.push_back({"P18", CreditOrigin::DebianPackage, "", ""});
    EXPECT_EQ(creditLines(list)[4], "") << "a name past the lines' capacity is left out";
}

} // namespace
