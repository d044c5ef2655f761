#include "platform/sdl/device.h"

#include <algorithm>

#include "platform/sdl/padded_image.h"
#include "platform/sdl/sprite_batch.h"
#include "platform/sdl/texture.h"

namespace platform::sdl {

namespace {

// What the texture loader answers for a file it cannot decode.
constexpr HResult D3DXERR_INVALIDDATA = static_cast<HResult>(0x88760B59u);
constexpr HResult D3DERR_OUTOFVIDEOMEMORY = static_cast<HResult>(0x8876017Cu);

}  // namespace

SdlDevice::SdlDevice(WindowRecord& window) : window_(&window) {
    SDL_AddEventWatch(&SdlDevice::watch, this);
}

HResult SdlDevice::create(WindowRecord& window, const PresentParameters& parameters,
                          SdlDevice** out) {
    if (out == nullptr || !window.alive() || window.listener != nullptr) {
        return D3DERR_INVALIDCALL;
    }
    SdlDevice* device = new SdlDevice(window);
    if (!device->createRenderer()) {
        delete device;
        return D3DERR_NOTAVAILABLE;
    }
    window.listener = device;
    const HResult result = device->applyPresentation(parameters);
    if (failed(result)) {
        delete device;
        return result;
    }
    *out = device;
    return D3D_OK;
}

SdlDevice::~SdlDevice() {
    SDL_DelEventWatch(&SdlDevice::watch, this);
    for (SdlTexture* texture : textures_) texture->detach();
    if (window_ != nullptr && window_->listener == this) window_->listener = nullptr;
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
    if (renderer_ == nullptr) return;
    // The renderer frees its textures; the pool keeps their pixels.
    for (SdlTexture* texture : textures_) texture->drop();
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
        if (width == 0) width = clientWidth;
        if (height == 0) height = clientHeight;
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
            return D3DERR_NOTAVAILABLE;
        }
    }
    if (width <= 0 || height <= 0) return D3DERR_INVALIDCALL;
    // The back buffer keeps its size; a larger window or screen shows it scaled.
    SDL_RenderSetLogicalSize(renderer_, width, height);
    return D3D_OK;
}

HResult SdlDevice::testCooperativeLevel() {
    if (window_ == nullptr) return D3DERR_DEVICELOST;
    if (windowUnavailable()) {
        lost_ = true;
        return D3DERR_DEVICELOST;
    }
    return lost_ ? D3DERR_DEVICENOTRESET : D3D_OK;
}

HResult SdlDevice::reset(PresentParameters& parameters) {
    if (window_ == nullptr || windowUnavailable()) return D3DERR_DEVICELOST;
    if (inScene_) return D3DERR_INVALIDCALL;
    if (rendererLost_ || renderer_ == nullptr) {
        destroyRenderer();
        if (!createRenderer()) return D3DERR_DEVICELOST;
        for (SdlTexture* texture : textures_) {
            if (!texture->upload(renderer_)) return D3DERR_DEVICELOST;
        }
        rendererLost_ = false;
    }
    const HResult result = applyPresentation(parameters);
    if (failed(result)) return result;
    lost_ = false;
    return D3D_OK;
}

SDL_Renderer* SdlDevice::drawingRenderer() const {
    if (window_ == nullptr || lost_ || rendererLost_) return nullptr;
    return renderer_;
}

HResult SdlDevice::clear(std::uint32_t flags, std::uint32_t colour, float, std::uint32_t) {
    SDL_Renderer* renderer = drawingRenderer();
    if (renderer == nullptr || (flags & D3DCLEAR_TARGET) == 0) return D3D_OK;
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(renderer, static_cast<Uint8>(colour >> 16),
                           static_cast<Uint8>(colour >> 8), static_cast<Uint8>(colour),
                           static_cast<Uint8>(colour >> 24));
    SDL_RenderClear(renderer);
    return D3D_OK;
}

HResult SdlDevice::beginScene() {
    if (inScene_) return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
}

HResult SdlDevice::endScene() {
    if (!inScene_) return D3DERR_INVALIDCALL;
    inScene_ = false;
    return D3D_OK;
}

HResult SdlDevice::present() {
    SDL_Renderer* renderer = drawingRenderer();
    if (renderer == nullptr || windowUnavailable()) return D3DERR_DEVICELOST;
    // The renderer was made with vsync: this waits for the vertical retrace.
    SDL_RenderPresent(renderer);
    return D3D_OK;
}

HResult SdlDevice::setRenderState(std::uint32_t, std::uint32_t) {
    // Sprites are flat and never culled; no other state is used.
    return D3D_OK;
}

HResult SdlDevice::createTextureFromFile(const std::string& path, ImageInfo& info,
                                         TextureResource** out) {
    if (out == nullptr) return D3DERR_INVALIDCALL;
    std::optional<PaddedImage> image = loadPaddedImage(path);
    if (!image) return D3DXERR_INVALIDDATA;
    auto* texture = new SdlTexture(*this, std::move(*image));
    if (renderer_ != nullptr && !texture->upload(renderer_)) {
        delete texture;
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    info.Width = texture->image().imageWidth;
    info.Height = texture->image().imageHeight;
    *out = texture;
    return D3D_OK;
}

HResult SdlDevice::createSprite(SpriteBatch** out) {
    if (out == nullptr) return D3DERR_INVALIDCALL;
    *out = new SdlSpriteBatch(*this);
    return D3D_OK;
}

}  // namespace platform::sdl
