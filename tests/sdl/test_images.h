#pragma once
// Pictures written as PNG files for the tests, and pixels read back from a renderer.
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sdltest {

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::string& path() const { return folderPath; }

private:
    std::string folderPath;
};

// Writes a width x height picture whose four quadrants are the four ARGB colours
// (top-left, top-right, bottom-left, bottom-right); the split is at width/2, height/2.
std::string writeQuadrants(const std::string& path, int width, int height,
                           const std::uint32_t (&colours)[4]);
// Writes a picture of one ARGB colour.
std::string writeUniform(const std::string& path, int width, int height, std::uint32_t colour);

// Writes a one-image Windows icon file (32-bit bitmap) of one ARGB colour.
std::string writeIcon(const std::string& path, int size, std::uint32_t colour);

// The back buffer read from the renderer: RGB (alpha dropped), row after row.
class Pixels {
public:
    explicit Pixels(SDL_Renderer* renderer);
    int width() const { return outputWidth; }
    int height() const { return outputHeight; }
    std::uint32_t at(int x, int y) const;  // 0xRRGGBB
    // How many pixels of the rectangle [x0, x1) x [y0, y1) have exactly this colour.
    int count(int x0, int y0, int x1, int y1, std::uint32_t rgb) const;

private:
    int outputWidth = 0;
    int outputHeight = 0;
    std::vector<std::uint32_t> data;
};

}  // namespace sdltest
