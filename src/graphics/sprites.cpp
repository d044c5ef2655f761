#include "graphics/graphics.h"
#include "graphics/transform2d.h"
#include "log/log.h"

Texture* Graphics::loadTexture(const std::string& path) {
    platform::ImageInfo info;
    platform::TextureResource* resource = nullptr;
    if (platform::failed(device->createTextureFromFile(path, info, &resource)) ||
        resource == nullptr) {
        Log::error("Failed to create texture '" + path + "'");
    }
    platform::SurfaceDesc level0;
    if (platform::failed(resource->getLevelDesc(0, level0))) {
        Log::error("Failed to get level description for texture '" + path + "'");
    }
    return new Texture(
        resource, static_cast<std::int32_t>(info.Width), static_cast<std::int32_t>(info.Height),
        static_cast<std::int32_t>(level0.Width), static_cast<std::int32_t>(level0.Height));
}

platform::HResult Graphics::drawSprite(Texture* texture, std::int32_t x, std::int32_t y,
                                       std::int32_t width, std::int32_t height, std::int32_t srcX,
                                       std::int32_t srcY, std::int32_t srcWidth,
                                       std::int32_t srcHeight, std::uint32_t colour,
                                       std::int32_t centreX, std::int32_t centreY,
                                       std::int32_t angle) {
    if (sprite == nullptr) {
        return platform::d3derr::INVALIDCALL;
    }
    platform::Rect source;
    source.left = srcX;
    source.top = srcY;
    source.right = srcX + srcWidth;
    source.bottom = srcY + srcHeight;

    platform::Vector2 scale;
    scale.x = static_cast<float>(static_cast<double>(width) / texture->imageWidth);
    scale.y = static_cast<float>(static_cast<double>(height) / texture->imageHeight);
    platform::Vector2 centre;
    centre.x = static_cast<float>(centreX);
    centre.y = static_cast<float>(centreY);
    // Degrees to radians with the single-precision value of pi/180.
    constexpr double RADIANS_PER_DEGREE = static_cast<double>(0.017453292f);
    const auto rotation = static_cast<float>(angle * RADIANS_PER_DEGREE);
    platform::Vector2 translation;
    translation.x = static_cast<float>(x);
    translation.y = static_cast<float>(y);

    sprite->setTransform(graphics::transformation2D(scale, centre, rotation, translation));
    return sprite->draw(texture->texture, &source, colour);
}

platform::HResult Graphics::drawSpriteAt(Texture* texture, const platform::Rect& source, float x,
                                         float y, float scaleX, float scaleY, std::uint32_t colour,
                                         float centreX, float centreY, float angleDegrees) {
    if (sprite == nullptr) {
        return platform::d3derr::INVALIDCALL;
    }
    constexpr double RADIANS_PER_DEGREE = 3.14159265358979323846 / 180.0;
    const auto rotation = static_cast<float>(angleDegrees * RADIANS_PER_DEGREE);
    sprite->setTransform(graphics::transformation2D(platform::Vector2{scaleX, scaleY},
                                                    platform::Vector2{centreX, centreY}, rotation,
                                                    platform::Vector2{x, y}));
    return sprite->draw(texture->texture, &source, colour);
}
