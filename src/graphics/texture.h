#pragma once
// A picture loaded into a device texture, with the image's own size and the size
// the texture was created with (rounded up to powers of two by the loader). The
// image sits unscaled in the texture's top-left corner.
#include <cstdint>

#include "platform/platform.h"

class Texture {
public:
    platform::TextureResource* texture = nullptr;
    std::int32_t imageWidth = 0;
    std::int32_t imageHeight = 0;
    std::int32_t textureWidth = 0;
    std::int32_t textureHeight = 0;

    Texture() = default;
    Texture(platform::TextureResource* texture, std::int32_t imageWidth, std::int32_t imageHeight,
            std::int32_t textureWidth, std::int32_t textureHeight);

    platform::TextureResource* getTexture() const { return texture; }
    std::int32_t getWidth() const { return imageWidth; }
    std::int32_t getHeight() const { return imageHeight; }
    std::int32_t getTextureWidth() const { return textureWidth; }
    std::int32_t getTextureHeight() const { return textureHeight; }

    // Gives the texture back to the device (a platform resource is released by
    // deleting it) and forgets it. Textures are normally kept for the whole run.
    void release();
};
