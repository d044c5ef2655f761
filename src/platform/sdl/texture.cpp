#include "platform/sdl/texture.h"

#include <utility>

#include "platform/sdl/device.h"

namespace platform::sdl {

SdlTexture::SdlTexture(SdlDevice& owner, PaddedImage image)
    : device(&owner), paddedImage(std::move(image)) {
    device->addTexture(this);
}

SdlTexture::~SdlTexture() {
    if (device == nullptr) {
        return;
    }
    if (sdlTexture != nullptr) {
        SDL_DestroyTexture(sdlTexture);
    }
    device->removeTexture(this);
}

HResult SdlTexture::getLevelDesc(std::uint32_t level, SurfaceDesc& out) {
    if (level != 0) {
        return d3derr::INVALIDCALL;  // textures are made with one level
    }
    out.Width = paddedImage.width;
    out.Height = paddedImage.height;
    return d3d::OK;
}

bool SdlTexture::upload(SDL_Renderer* renderer) {
    if (sdlTexture != nullptr) {
        SDL_DestroyTexture(sdlTexture);
    }
    sdlTexture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                   static_cast<int>(paddedImage.width),
                                   static_cast<int>(paddedImage.height));
    if (sdlTexture == nullptr) {
        return false;
    }
    if (SDL_UpdateTexture(sdlTexture, nullptr, paddedImage.pixels.data(),
                          static_cast<int>(paddedImage.width * sizeof(std::uint32_t))) != 0) {
        SDL_DestroyTexture(sdlTexture);
        sdlTexture = nullptr;
        return false;
    }
    // The sprite batcher filters linearly; scaled buttons look smooth.
    SDL_SetTextureScaleMode(sdlTexture, SDL_ScaleModeLinear);
    return true;
}

}  // namespace platform::sdl
