#include "platform/sdl/texture.h"

#include <utility>

#include "platform/sdl/device.h"

namespace platform::sdl {

SdlTexture::SdlTexture(SdlDevice& device, PaddedImage image)
    : device_(&device), image_(std::move(image)) {
    device_->addTexture(this);
}

SdlTexture::~SdlTexture() {
    if (device_ == nullptr) {
        return;
    }
    if (texture_ != nullptr) {
        SDL_DestroyTexture(texture_);
    }
    device_->removeTexture(this);
}

HResult SdlTexture::getLevelDesc(std::uint32_t level, SurfaceDesc& out) {
    if (level != 0) {
        return d3derr::INVALIDCALL;  // textures are made with one level
    }
    out.Width = image_.width;
    out.Height = image_.height;
    return d3d::OK;
}

bool SdlTexture::upload(SDL_Renderer* renderer) {
    if (texture_ != nullptr) {
        SDL_DestroyTexture(texture_);
    }
    texture_ = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                 static_cast<int>(image_.width),
                                 static_cast<int>(image_.height));
    if (texture_ == nullptr) {
        return false;
    }
    if (SDL_UpdateTexture(texture_, nullptr, image_.pixels.data(),
                          static_cast<int>(image_.width * sizeof(std::uint32_t))) != 0) {
        SDL_DestroyTexture(texture_);
        texture_ = nullptr;
        return false;
    }
    // The sprite batcher filters linearly; scaled buttons look smooth.
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeLinear);
    return true;
}

}  // namespace platform::sdl
