#include "graphics/screen_format.h"

#include <cstdlib>
#include <limits>
#include <sstream>

ScreenFormat::ScreenFormat(std::int32_t width, std::int32_t height, std::int32_t format,
                           std::int32_t refreshRate, std::int32_t mode)
    : width(width),
      height(height),
      format(format),
      refreshRate(refreshRate),
      mode(mode == WINDOWED ? WINDOWED : FULLSCREEN) {}

ScreenFormat::ScreenFormat(const platform::DisplayMode& displayMode, std::int32_t mode)
    : width(static_cast<std::int32_t>(displayMode.Width)),
      height(static_cast<std::int32_t>(displayMode.Height)),
      format(displayMode.Format),
      refreshRate(static_cast<std::int32_t>(displayMode.RefreshRate)),
      mode(mode) {}

ScreenFormat ScreenFormat::make(std::int32_t width, std::int32_t height, std::int32_t format,
                                std::int32_t refreshRate, std::int32_t mode) {
    ScreenFormat result;
    result.width = width;
    result.height = height;
    result.format = format;
    result.refreshRate = refreshRate;
    result.mode = mode;
    return result;
}

namespace {

// |a - b| without signed overflow for any pair of 32-bit values.
std::int64_t distance(std::int32_t a, std::int32_t b) {
    return std::llabs(static_cast<std::int64_t>(a) - static_cast<std::int64_t>(b));
}

}  // namespace

int ScreenFormat::compare(const ScreenFormat& other) const {
    std::int64_t score = 0;
    score -= distance(width, other.width);
    score -= distance(height, other.height);
    score -= distance(bitsPerPixel(format), bitsPerPixel(other.format));
    score -= distance(refreshRate, other.refreshRate);
    if (mode != other.mode) {
        score -= 10000;
    }
    // Absurd numbers must not wrap round into a good score; the floor stays above
    // the lowest int so that the nearest-format search still takes such an entry.
    constexpr std::int64_t lowest = std::numeric_limits<int>::min() + 1;
    return static_cast<int>(score < lowest ? lowest : score);
}

std::string ScreenFormat::toString() const {
    return "[" + resolutionName(width, height) + " x " + formatName(format) + " x " +
           std::to_string(refreshRate) + "Hz x " + modeName(mode) + "]";
}

float ScreenFormat::getAspectRatio() const {
    return static_cast<float>(static_cast<double>(width) / static_cast<double>(height));
}

int ScreenFormat::bitsPerPixel(std::int32_t format) {
    switch (format) {
        case platform::d3dfmt::R8G8B8:
            return 24;
        case platform::d3dfmt::A8R8G8B8:
        case platform::d3dfmt::X8R8G8B8:
            return 32;
        case platform::d3dfmt::R5G6B5:
        case platform::d3dfmt::X1R5G5B5:
        case platform::d3dfmt::A1R5G5B5:
        case platform::d3dfmt::A4R4G4B4:
        case platform::d3dfmt::A8R3G3B2:
        case platform::d3dfmt::X4R4G4B4:
            return 16;
        default:
            return 0;
    }
}

std::int32_t ScreenFormat::formatFromBits(int bits) {
    switch (bits) {
        case 16:
            return platform::d3dfmt::R5G6B5;
        case 24:
            return platform::d3dfmt::R8G8B8;
        case 32:
            return platform::d3dfmt::X8R8G8B8;
        default:
            return platform::d3dfmt::UNKNOWN;
    }
}

std::string ScreenFormat::formatName(std::int32_t format) {
    switch (format) {
        case platform::d3dfmt::R8G8B8:
            return "24bit[R8G8B8]";
        case platform::d3dfmt::A8R8G8B8:
            return "32bit[A8R8G8B8]";
        case platform::d3dfmt::X8R8G8B8:
            return "32bit[X8R8G8B8]";
        case platform::d3dfmt::R5G6B5:
            return "16bit[R5G6B5]";
        case platform::d3dfmt::X1R5G5B5:
            return "16bit[X1R5G5B5]";
        case platform::d3dfmt::A1R5G5B5:
            return "16bit[A1R5G5B5]";
        case platform::d3dfmt::A4R4G4B4:
            return "16bit[A4R4G4B4]";
        case platform::d3dfmt::A8R3G3B2:
            return "16bit[A8R3G3B2]";
        case platform::d3dfmt::X4R4G4B4:
            return "16bit[X4R4G4B4]";
        default:
            return "Unknown Format";
    }
}

std::string ScreenFormat::modeName(std::int32_t mode) {
    switch (mode) {
        case FULLSCREEN:
            return "Fullscreen";
        case WINDOWED:
            return "Windowed";
        default:
            return "Invalid mode!";
    }
}

std::string ScreenFormat::resolutionName(std::int32_t width, std::int32_t height) {
    // A default stream writes a float with six significant digits and no
    // trailing zeros; the classic locale keeps the decimal point a point.
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << width << "x" << height << "["
         << static_cast<float>(static_cast<double>(width) / static_cast<double>(height)) << ":1]";
    return text.str();
}
