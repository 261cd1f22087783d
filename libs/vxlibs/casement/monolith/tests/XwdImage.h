#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A screen image in the X window dump format, as `xwd` writes it. Only the
// 32-bit true-colour Z-pixmap layout of 24-bit screens is read.
struct tXwdImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, rows top to bottom

    std::uint32_t at(std::int32_t x, std::int32_t y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Empty for data of another layout or data cut short.
std::optional<tXwdImage> readXwd(const std::vector<std::uint8_t>& data);
std::optional<tXwdImage> readXwdFile(const std::string& path);
