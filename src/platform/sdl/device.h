#pragma once
// The rendering device on an SDL renderer. Device loss is emulated: the device is
// lost while its window is minimised or hidden, or after SDL reports that the
// renderer lost its device or targets; it is "not reset" once the window can be
// drawn again, and reset() re-creates what SDL lost, re-uploading the textures
// from the pixels they keep. A destroyed window leaves the device lost for good.
#include <SDL.h>

#include <vector>

#include "platform/platform.h"
#include "platform/sdl/window_registry.h"

namespace platform::sdl {

class SdlTexture;

class SdlDevice : public Device, private WindowListener {
public:
    // d3d::OK and the device in `out`, or the failure code.
    static HResult create(WindowRecord& window, const PresentParameters& parameters,
                          SdlDevice** out);
    ~SdlDevice() override;
    SdlDevice(const SdlDevice&) = delete;
    SdlDevice& operator=(const SdlDevice&) = delete;

    HResult testCooperativeLevel() override;
    HResult reset(PresentParameters& parameters) override;
    HResult clear(std::uint32_t flags, std::uint32_t colour, float z,
                  std::uint32_t stencil) override;
    HResult beginScene() override;
    HResult endScene() override;
    HResult present() override;
    HResult setRenderState(std::uint32_t state, std::uint32_t value) override;
    HResult createTextureFromFile(const std::string& path, ImageInfo& info,
                                  TextureResource** out) override;
    HResult createSprite(SpriteBatch** out) override;

    // The renderer while the device may draw; null while lost or once the window
    // is gone, so that nothing is drawn then.
    SDL_Renderer* drawingRenderer() const;
    // The renderer whatever the device's state (null once the window is gone).
    SDL_Renderer* renderer() const { return sdlRenderer; }

    void addTexture(SdlTexture* texture) { textures.push_back(texture); }
    void removeTexture(SdlTexture* texture);

private:
    explicit SdlDevice(WindowRecord& window);
    void windowDestroyed() override;
    static int watch(void* self, SDL_Event* event);
    bool windowUnavailable() const;
    bool createRenderer();
    void destroyRenderer();
    HResult applyPresentation(const PresentParameters& parameters);

    WindowRecord* windowRecord;
    SDL_Renderer* sdlRenderer = nullptr;
    std::vector<SdlTexture*> textures;
    bool lost = false;
    bool rendererLost = false;  // SDL reset the render device: textures are gone
    bool inScene = false;
};

}  // namespace platform::sdl
