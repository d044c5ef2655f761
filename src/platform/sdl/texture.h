#pragma once
// A texture of the device's managed pool: the padded image stays in memory, so the
// SDL texture can be made again whenever the renderer is.
#include <SDL.h>

#include "platform/platform.h"
#include "platform/sdl/padded_image.h"

namespace platform::sdl {

class SdlDevice;

class SdlTexture : public TextureResource {
public:
    SdlTexture(SdlDevice& owner, PaddedImage image);
    ~SdlTexture() override;
    SdlTexture(const SdlTexture&) = delete;
    SdlTexture& operator=(const SdlTexture&) = delete;

    HResult getLevelDesc(std::uint32_t level, SurfaceDesc& out) override;

    // Makes the SDL texture from the kept pixels; false when the renderer refuses.
    bool upload(SDL_Renderer* renderer);
    // Forgets the SDL texture of a renderer that is going away (it frees them).
    void drop() { sdlTexture = nullptr; }
    // The device is gone: nothing to tell it any more.
    void detach() {
        device = nullptr;
        sdlTexture = nullptr;
    }

    SDL_Texture* texture() const { return sdlTexture; }
    const PaddedImage& image() const { return paddedImage; }

private:
    SdlDevice* device;
    PaddedImage paddedImage;
    SDL_Texture* sdlTexture = nullptr;
};

}  // namespace platform::sdl
