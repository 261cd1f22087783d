#include "TestResources.h"

#include <trellis/Warnings.h>

#include <fstream>
#include <iterator>
#include <random>

namespace Trellis::Testing {

std::vector<unsigned char> tgaPicture(int width, int height, std::uint32_t pixel)
{
    return tgaPicture(width, height, [pixel](int, int) { return pixel; });
}

std::vector<unsigned char> tgaPicture(int width, int height, const std::function<std::uint32_t(int x, int y)>& pixel)
{
    std::vector<unsigned char> bytes = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                        static_cast<unsigned char>(width), static_cast<unsigned char>(width >> 8),
                                        static_cast<unsigned char>(height), static_cast<unsigned char>(height >> 8),
                                        32, 0x28};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int shift = 0; shift < 32; shift += 8) {
                bytes.push_back(static_cast<unsigned char>(pixel(x, y) >> shift));
            }
        }
    }
    return bytes;
}

void TestModule::add(const char* type, const char* upperCaseName, std::vector<unsigned char> bytes)
{
    contents_.push_back(std::move(bytes));
    entries_.push_back({type, upperCaseName, 0, nullptr, nullptr});
}

void TestModule::addNumbered(const char* type, std::uint16_t id, std::vector<unsigned char> bytes)
{
    contents_.push_back(std::move(bytes));
    entries_.push_back({type, nullptr, id, nullptr, nullptr});
}

// The entries point into the contents only once all are added.
Basalt::ResourceModule TestModule::module()
{
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        entries_[i].begin = contents_[i].data();
        entries_[i].end = contents_[i].data() + contents_[i].size();
    }
    return Basalt::ResourceModule(entries_);
}

TemporaryDirectory::TemporaryDirectory()
{
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("trellis-test-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TemporaryDirectory::~TemporaryDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TemporaryDirectory::write(const std::string& relativePath, const std::vector<unsigned char>& bytes) const
{
    const auto file = path_ / relativePath;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

WarningCollector::WarningCollector()
    : id_(addWarningListener([this](const std::string& text) { warnings.push_back(text); }))
{
}

WarningCollector::~WarningCollector()
{
    removeWarningListener(id_);
}

std::vector<unsigned char> testFontBytes()
{
    std::ifstream file(TEST_FONT_FILE, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace Trellis::Testing
