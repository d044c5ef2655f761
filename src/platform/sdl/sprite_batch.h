#pragma once
// The sprite batcher on SDL: each draw is one SDL_RenderCopyExF of the texture with
// the batch's current transform, tinted and faded by the draw's colour. SDL queues
// the copies and sends them to the GPU together at present.
#include "platform/platform.h"

namespace platform::sdl {

class SdlDevice;

class SdlSpriteBatch : public SpriteBatch {
public:
    explicit SdlSpriteBatch(SdlDevice& device) : device(device) {}

    HResult begin(std::uint32_t flags) override;
    HResult setTransform(const Matrix& transform) override;
    HResult draw(TextureResource* texture, const Rect* source, std::uint32_t colour) override;
    HResult end() override;
    HResult onLostDevice() override;
    HResult onResetDevice() override;

private:
    SdlDevice& device;
    Matrix currentTransform;
    bool open = false;
    bool alphaBlend = false;
};

}  // namespace platform::sdl
