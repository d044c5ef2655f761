#pragma once
// An image file decoded into a power-of-two sized texture image, the way the
// texture loader creates textures of default size: the picture in the top-left
// corner, the rest filled with copies of its right and bottom edges, so that a
// filtered draw at the picture's border blends with the picture, not with black.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::sdl {

struct PaddedImage {
    std::uint32_t imageWidth = 0;
    std::uint32_t imageHeight = 0;
    std::uint32_t width = 0;            // imageWidth rounded up to a power of two
    std::uint32_t height = 0;           // imageHeight rounded up to a power of two
    std::vector<std::uint32_t> pixels;  // ARGB, row after row, `width` per row
};

std::uint32_t nextPowerOfTwo(std::uint32_t value);

// Empty when the file cannot be read or decoded.
std::optional<PaddedImage> loadPaddedImage(const std::string& path);

}  // namespace platform::sdl
