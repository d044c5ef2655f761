#include "platform/sdl/device.h"

#include <algorithm>

#include "platform/sdl/bare_x_fullscreen.h"
#include "platform/sdl/padded_image.h"
#include "platform/sdl/sprite_batch.h"
#include "platform/sdl/texture.h"

namespace platform::sdl {

SdlDevice::SdlDevice(WindowRecord& window) : window_(&window) {
    SDL_AddEventWatch(&SdlDevice::watch, this);
}

HResult SdlDevice::create(WindowRecord& window, const PresentParameters& parameters,
                          SdlDevice** out) {
    if (out == nullptr || !window.alive() || window.listener != nullptr) {
        return d3derr::INVALIDCALL;
    }
    SdlDevice* device = new SdlDevice(window);
    if (!device->createRenderer()) {
        delete device;
        return d3derr::NOTAVAILABLE;
    }
    window.listener = device;
    const HResult result = device->applyPresentation(parameters);
    if (failed(result)) {
        delete device;
        return result;
    }
    *out = device;
    return d3d::OK;
}

SdlDevice::~SdlDevice() {
    SDL_DelEventWatch(&SdlDevice::watch, this);
    for (SdlTexture* texture : textures_) {
        texture->detach();
    }
    if (window_ != nullptr && window_->listener == this) {
        window_->listener = nullptr;
    }
    destroyRenderer();
}

void SdlDevice::removeTexture(SdlTexture* texture) {
    textures_.erase(std::remove(textures_.begin(), textures_.end(), texture), textures_.end());
}

void SdlDevice::windowDestroyed() {
    destroyRenderer();
    window_ = nullptr;
}

int SdlDevice::watch(void* self, SDL_Event* event) {
    auto& device = *static_cast<SdlDevice*>(self);
    if (event->type == SDL_RENDER_DEVICE_RESET) {
        device.lost_ = true;
        device.rendererLost_ = true;
    } else if (event->type == SDL_RENDER_TARGETS_RESET) {
        device.lost_ = true;
    }
    return 1;
}

bool SdlDevice::windowUnavailable() const {
    return (SDL_GetWindowFlags(window_->sdl) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0;
}

bool SdlDevice::createRenderer() {
    renderer_ = SDL_CreateRenderer(window_->sdl, -1,
                                   SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (renderer_ == nullptr) {
        renderer_ = SDL_CreateRenderer(window_->sdl, -1, SDL_RENDERER_SOFTWARE);
    }
    return renderer_ != nullptr;
}

void SdlDevice::destroyRenderer() {
    if (renderer_ == nullptr) {
        return;
    }
    // The renderer frees its textures; the pool keeps their pixels.
    for (SdlTexture* texture : textures_) {
        texture->drop();
    }
    SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
}

HResult SdlDevice::applyPresentation(const PresentParameters& parameters) {
    SDL_Window* window = window_->sdl;
    int width = static_cast<int>(parameters.BackBufferWidth);
    int height = static_cast<int>(parameters.BackBufferHeight);
    if (parameters.Windowed) {
        if ((SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0) {
            SDL_SetWindowFullscreen(window, 0);
        }
        // A windowed back buffer of size 0 takes the client area's size.
        int clientWidth = 0;
        int clientHeight = 0;
        SDL_GetWindowSize(window, &clientWidth, &clientHeight);
        if (width == 0) {
            width = clientWidth;
        }
        if (height == 0) {
            height = clientHeight;
        }
    } else {
        SDL_DisplayMode wanted{};
        wanted.w = width;
        wanted.h = height;
        wanted.refresh_rate = static_cast<int>(parameters.FullScreen_RefreshRateInHz);
        SDL_DisplayMode closest{};
        const int display = std::max(SDL_GetWindowDisplayIndex(window), 0);
        if (width <= 0 || height <= 0 ||
            SDL_GetClosestDisplayMode(display, &wanted, &closest) == nullptr ||
            SDL_SetWindowDisplayMode(window, &closest) != 0 ||
            SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0) {
            return d3derr::NOTAVAILABLE;
        }
        fillDisplayWithoutWindowManager(window);
    }
    if (width <= 0 || height <= 0) {
        return d3derr::INVALIDCALL;
    }
    // The back buffer keeps its size; a larger window or screen shows it scaled.
    SDL_RenderSetLogicalSize(renderer_, width, height);
    return d3d::OK;
}

HResult SdlDevice::testCooperativeLevel() {
    if (window_ == nullptr) {
        return d3derr::DEVICELOST;
    }
    if (windowUnavailable()) {
        lost_ = true;
        return d3derr::DEVICELOST;
    }
    return lost_ ? d3derr::DEVICENOTRESET : d3d::OK;
}

HResult SdlDevice::reset(PresentParameters& parameters) {
    if (window_ == nullptr || windowUnavailable()) {
        return d3derr::DEVICELOST;
    }
    if (inScene_) {
        return d3derr::INVALIDCALL;
    }
    if (rendererLost_ || renderer_ == nullptr) {
        destroyRenderer();
        if (!createRenderer()) {
            return d3derr::DEVICELOST;
        }
        for (SdlTexture* texture : textures_) {
            if (!texture->upload(renderer_)) {
                return d3derr::DEVICELOST;
            }
        }
        rendererLost_ = false;
    }
    const HResult result = applyPresentation(parameters);
    if (failed(result)) {
        return result;
    }
    lost_ = false;
    return d3d::OK;
}

SDL_Renderer* SdlDevice::drawingRenderer() const {
    if (window_ == nullptr || lost_ || rendererLost_) {
        return nullptr;
    }
    return renderer_;
}

HResult SdlDevice::clear(std::uint32_t flags, std::uint32_t colour, float, std::uint32_t) {
    SDL_Renderer* renderer = drawingRenderer();
    if (renderer == nullptr || (flags & d3dclear::TARGET) == 0) {
        return d3d::OK;
    }
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(renderer, static_cast<Uint8>(colour >> 16),
                           static_cast<Uint8>(colour >> 8), static_cast<Uint8>(colour),
                           static_cast<Uint8>(colour >> 24));
    SDL_RenderClear(renderer);
    return d3d::OK;
}

HResult SdlDevice::beginScene() {
    if (inScene_) {
        return d3derr::INVALIDCALL;
    }
    inScene_ = true;
    return d3d::OK;
}

HResult SdlDevice::endScene() {
    if (!inScene_) {
        return d3derr::INVALIDCALL;
    }
    inScene_ = false;
    return d3d::OK;
}

HResult SdlDevice::present() {
    SDL_Renderer* renderer = drawingRenderer();
    if (renderer == nullptr || windowUnavailable()) {
        return d3derr::DEVICELOST;
    }
    // The renderer was made with vsync: this waits for the vertical retrace.
    SDL_RenderPresent(renderer);
    return d3d::OK;
}

HResult SdlDevice::setRenderState(std::uint32_t, std::uint32_t) {
    // Sprites are flat and never culled; no other state is used.
    return d3d::OK;
}

HResult SdlDevice::createTextureFromFile(const std::string& path, ImageInfo& info,
                                         TextureResource** out) {
    if (out == nullptr) {
        return d3derr::INVALIDCALL;
    }
    std::optional<PaddedImage> image = loadPaddedImage(path);
    if (!image) {
        return d3dxerr::INVALIDDATA;
    }
    auto* texture = new SdlTexture(*this, std::move(*image));
    if (renderer_ != nullptr && !texture->upload(renderer_)) {
        delete texture;
        return d3derr::OUTOFVIDEOMEMORY;
    }
    info.Width = texture->image().imageWidth;
    info.Height = texture->image().imageHeight;
    *out = texture;
    return d3d::OK;
}

HResult SdlDevice::createSprite(SpriteBatch** out) {
    if (out == nullptr) {
        return d3derr::INVALIDCALL;
    }
    *out = new SdlSpriteBatch(*this);
    return d3d::OK;
}

}  // namespace platform::sdl
