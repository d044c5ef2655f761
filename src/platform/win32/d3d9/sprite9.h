#pragma once
// The D3DX sprite batcher: ID3DXSprite, released with the wrapper.
#include <windows.h>
#include <d3dx9.h>

#include "platform/platform.h"
#include "platform/win32/d3d9/com_handle.h"

namespace platform::win32 {

class Sprite9 : public SpriteBatch {
public:
    explicit Sprite9(ID3DXSprite* sprite) : sprite(sprite) {}

    HResult begin(std::uint32_t flags) override;
    HResult setTransform(const Matrix& transform) override;
    HResult draw(TextureResource* texture, const Rect* source, std::uint32_t colour) override;
    HResult end() override;
    HResult onLostDevice() override;
    HResult onResetDevice() override;

private:
    ComHandle<ID3DXSprite> sprite;
};

}  // namespace platform::win32
