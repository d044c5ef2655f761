#include "platform/sdl/device.h"

#include <algorithm>

#include "platform/sdl/bare_x_fullscreen.h"
#include "platform/sdl/padded_image.h"
#include "platform/sdl/sprite_batch.h"
#include "platform/sdl/texture.h"

namespace platform::sdl {

SdlDevice::SdlDevice(WindowRecord& window) : windowRecord(&window) {
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
    for (SdlTexture* texture : textures) {
        texture->detach();
    }
    if (windowRecord != nullptr && windowRecord->listener == this) {
        windowRecord->listener = nullptr;
    }
    destroyRenderer();
}

void SdlDevice::removeTexture(SdlTexture* texture) {
    textures.erase(std::remove(textures.begin(), textures.end(), texture), textures.end());
}

void SdlDevice::windowDestroyed() {
    destroyRenderer();
    windowRecord = nullptr;
}

int SdlDevice::watch(void* self, SDL_Event* event) {
    auto& device = *static_cast<SdlDevice*>(self);
    if (event->type == SDL_RENDER_DEVICE_RESET) {
        device.lost = true;
        device.rendererLost = true;
    } else if (event->type == SDL_RENDER_TARGETS_RESET) {
        device.lost = true;
    }
    return 1;
}

bool SdlDevice::windowUnavailable() const {
    const Uint32 hiding = SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN;
    return (SDL_GetWindowFlags(windowRecord->sdl) & hiding) != 0;
}

bool SdlDevice::createRenderer() {
    sdlRenderer = SDL_CreateRenderer(windowRecord->sdl, -1,
                                     SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (sdlRenderer == nullptr) {
        sdlRenderer = SDL_CreateRenderer(windowRecord->sdl, -1, SDL_RENDERER_SOFTWARE);
    }
    return sdlRenderer != nullptr;
}

void SdlDevice::destroyRenderer() {
    if (sdlRenderer == nullptr) {
        return;
    }
    // The renderer frees its textures; the pool keeps their pixels.
    for (SdlTexture* texture : textures) {
        texture->drop();
    }
    SDL_DestroyRenderer(sdlRenderer);
    sdlRenderer = nullptr;
}

HResult SdlDevice::applyPresentation(const PresentParameters& parameters) {
    SDL_Window* window = windowRecord->sdl;
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
    SDL_RenderSetLogicalSize(sdlRenderer, width, height);
    return d3d::OK;
}

HResult SdlDevice::testCooperativeLevel() {
    if (windowRecord == nullptr) {
        return d3derr::DEVICELOST;
    }
    if (windowUnavailable()) {
        lost = true;
        return d3derr::DEVICELOST;
    }
    return lost ? d3derr::DEVICENOTRESET : d3d::OK;
}

HResult SdlDevice::reset(PresentParameters& parameters) {
    if (windowRecord == nullptr || windowUnavailable()) {
        return d3derr::DEVICELOST;
    }
    if (inScene) {
        return d3derr::INVALIDCALL;
    }
    if (rendererLost || sdlRenderer == nullptr) {
        destroyRenderer();
        if (!createRenderer()) {
            return d3derr::DEVICELOST;
        }
        for (SdlTexture* texture : textures) {
            if (!texture->upload(sdlRenderer)) {
                return d3derr::DEVICELOST;
            }
        }
        rendererLost = false;
    }
    const HResult result = applyPresentation(parameters);
    if (failed(result)) {
        return result;
    }
    lost = false;
    return d3d::OK;
}

SDL_Renderer* SdlDevice::drawingRenderer() const {
    if (windowRecord == nullptr || lost || rendererLost) {
        return nullptr;
    }
    return sdlRenderer;
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
    if (inScene) {
        return d3derr::INVALIDCALL;
    }
    inScene = true;
    return d3d::OK;
}

HResult SdlDevice::endScene() {
    if (!inScene) {
        return d3derr::INVALIDCALL;
    }
    inScene = false;
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
    if (sdlRenderer != nullptr && !texture->upload(sdlRenderer)) {
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
