#include "graphics/texture.h"

Texture::Texture(platform::TextureResource* texture, std::int32_t imageWidth,
                 std::int32_t imageHeight, std::int32_t textureWidth, std::int32_t textureHeight)
    : texture(texture),
      imageWidth(imageWidth),
      imageHeight(imageHeight),
      textureWidth(textureWidth),
      textureHeight(textureHeight) {}

void Texture::release() {
    if (texture != nullptr) {
        delete texture;
        texture = nullptr;
    }
}
