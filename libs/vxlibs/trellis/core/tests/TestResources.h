#pragma once

#include <basalt/ResourceModule.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace Trellis::Testing {

// An uncompressed 32-bit TGA picture, every pixel `pixel`.
std::vector<unsigned char> tgaPicture(int width, int height, std::uint32_t pixel);
// The same with pixel(x, y) (0xAARRGGBB) at each place, rows from the top.
std::vector<unsigned char> tgaPicture(int width, int height,
                                      const std::function<std::uint32_t(int x, int y)>& pixel);

// A resource table over bytes the test keeps alive.
class TestModule {
public:
    void add(const char* type, const char* upperCaseName, std::vector<unsigned char> bytes);
    void addNumbered(const char* type, std::uint16_t id, std::vector<unsigned char> bytes);
    Basalt::ResourceModule module();

private:
    std::vector<std::vector<unsigned char>> contents_;
    std::vector<Basalt::ResourceEntry> entries_;
};

// A fresh directory under the system's temporary directory, removed with
// everything in it at the end of the test.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    const std::filesystem::path& path() const { return path_; }
    // Writes a file below the directory, creating its folders.
    void write(const std::string& relativePath, const std::vector<unsigned char>& bytes) const;

private:
    std::filesystem::path path_;
};

// Collects the warnings reported while it exists.
class WarningCollector {
public:
    WarningCollector();
    ~WarningCollector();
    std::vector<std::string> warnings;

private:
    std::size_t id_;
};

// DejaVu Sans, read from the test resources.
std::vector<unsigned char> testFontBytes();

} // namespace Trellis::Testing
