#pragma once
// One display mode the engine can run in: size, pixel format, refresh rate and
// whether it is full screen or windowed. A plain value of five 32-bit integers.
#include <cstdint>
#include <string>

#include "platform/d3d_types.h"

class ScreenFormat {
public:
    static constexpr std::int32_t FULLSCREEN = 1;
    static constexpr std::int32_t WINDOWED = 2;

    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t format = platform::d3dfmt::UNKNOWN;
    std::int32_t refreshRate = 0;
    std::int32_t mode = FULLSCREEN;

    ScreenFormat() = default;
    // Any mode other than WINDOWED becomes FULLSCREEN.
    ScreenFormat(std::int32_t width, std::int32_t height, std::int32_t format,
                 std::int32_t refreshRate, std::int32_t mode);
    // Takes the display mode's numbers as they are; the mode is stored unchanged.
    ScreenFormat(const platform::DisplayMode& displayMode, std::int32_t mode);

    // All five values exactly as passed: a mode of 0 matches every mode in a query.
    static ScreenFormat make(std::int32_t width, std::int32_t height, std::int32_t format,
                             std::int32_t refreshRate, std::int32_t mode);

    // Similarity: 0 for formats treated as equal, more negative the further apart.
    // Size, bit depth and refresh rate count one per unit; a different mode 10000.
    int compare(const ScreenFormat& other) const;
    // "[800x600[1.33333:1] x 32bit[X8R8G8B8] x 100Hz x Fullscreen]"
    std::string toString() const;
    float getAspectRatio() const;

    static int bitsPerPixel(std::int32_t format);
    // 16, 24 and 32 bits give R5G6B5, R8G8B8 and X8R8G8B8; anything else UNKNOWN.
    static std::int32_t formatFromBits(int bits);
    static std::string formatName(std::int32_t format);
    static std::string modeName(std::int32_t mode);
    // "800x600[1.33333:1]"
    static std::string resolutionName(std::int32_t width, std::int32_t height);
};
