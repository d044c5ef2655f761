#include "platform/sdl/padded_image.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstring>

namespace platform::sdl {

std::uint32_t nextPowerOfTwo(std::uint32_t value) {
    std::uint32_t power = 1;
    while (power < value && power < (1u << 31)) {
        power <<= 1;
    }
    return power;
}

std::optional<PaddedImage> loadPaddedImage(const std::string& path) {
    SDL_Surface* decoded = IMG_Load(path.c_str());
    if (decoded == nullptr) {
        return std::nullopt;
    }
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(decoded);
    if (argb == nullptr) {
        return std::nullopt;
    }
    if (argb->w <= 0 || argb->h <= 0) {
        SDL_FreeSurface(argb);
        return std::nullopt;
    }

    PaddedImage image;
    image.imageWidth = static_cast<std::uint32_t>(argb->w);
    image.imageHeight = static_cast<std::uint32_t>(argb->h);
    image.width = nextPowerOfTwo(image.imageWidth);
    image.height = nextPowerOfTwo(image.imageHeight);
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);

    SDL_LockSurface(argb);
    for (std::uint32_t row = 0; row < image.height; ++row) {
        const std::uint32_t sourceRow = std::min(row, image.imageHeight - 1);
        const auto* source = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(argb->pixels) + sourceRow * argb->pitch);
        std::uint32_t* target = image.pixels.data() + static_cast<std::size_t>(row) * image.width;
        std::memcpy(target, source, image.imageWidth * sizeof(std::uint32_t));
        std::fill(target + image.imageWidth, target + image.width, source[image.imageWidth - 1]);
    }
    SDL_UnlockSurface(argb);
    SDL_FreeSurface(argb);
    return image;
}

}  // namespace platform::sdl
