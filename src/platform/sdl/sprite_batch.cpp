#include "platform/sdl/sprite_batch.h"

#include <SDL.h>

#include "platform/sdl/device.h"
#include "platform/sdl/sprite_placement.h"
#include "platform/sdl/texture.h"

namespace platform::sdl {

HResult SdlSpriteBatch::begin(std::uint32_t flags) {
    if (open) {
        return d3derr::INVALIDCALL;
    }
    open = true;
    alphaBlend = (flags & d3dxsprite::ALPHABLEND) != 0;
    currentTransform = Matrix{};
    return d3d::OK;
}

HResult SdlSpriteBatch::setTransform(const Matrix& transform) {
    currentTransform = transform;
    return d3d::OK;
}

HResult SdlSpriteBatch::draw(TextureResource* resource, const Rect* source, std::uint32_t colour) {
    auto* texture = dynamic_cast<SdlTexture*>(resource);
    if (!open || texture == nullptr) {
        return d3derr::INVALIDCALL;
    }
    SDL_Renderer* renderer = device.drawingRenderer();
    if (renderer == nullptr || texture->texture() == nullptr) {
        return d3d::OK;
    }

    // Without a source rectangle the whole texture is drawn.
    SDL_Rect area{0, 0, static_cast<int>(texture->image().width),
                  static_cast<int>(texture->image().height)};
    if (source != nullptr) {
        area = SDL_Rect{source->left, source->top, source->right - source->left,
                        source->bottom - source->top};
    }
    // SDL cuts a source reaching past the texture to the texture and stretches
    // what is left over the whole destination, which keeps the size it is given.
    const SpritePlacement placement =
        placeSprite(currentTransform, static_cast<float>(area.w), static_cast<float>(area.h));
    if (!placement.visible || area.w <= 0 || area.h <= 0) {
        return d3d::OK;
    }

    SDL_Texture* target = texture->texture();
    SDL_SetTextureBlendMode(target, alphaBlend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    SDL_SetTextureColorMod(target, static_cast<Uint8>(colour >> 16),
                           static_cast<Uint8>(colour >> 8), static_cast<Uint8>(colour));
    SDL_SetTextureAlphaMod(target, static_cast<Uint8>(colour >> 24));
    const SDL_FPoint corner{0.0f, 0.0f};
    SDL_RenderCopyExF(renderer, target, &area, &placement.destination, placement.angleDegrees,
                      &corner, placement.flip);
    return d3d::OK;
}

HResult SdlSpriteBatch::end() {
    if (!open) {
        return d3derr::INVALIDCALL;
    }
    open = false;
    return d3d::OK;
}

HResult SdlSpriteBatch::onLostDevice() {
    open = false;  // a batch left open does not survive the reset
    return d3d::OK;
}

HResult SdlSpriteBatch::onResetDevice() { return d3d::OK; }

}  // namespace platform::sdl
