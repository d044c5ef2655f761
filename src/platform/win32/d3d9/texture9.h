#pragma once
// A texture made by the device: IDirect3DTexture9, released with the wrapper.
#include <windows.h>
#include <d3d9.h>

#include "platform/platform.h"
#include "platform/win32/d3d9/com_handle.h"

namespace platform::win32 {

class Texture9 : public TextureResource {
public:
    explicit Texture9(IDirect3DTexture9* texture) : texture(texture) {}

    HResult getLevelDesc(std::uint32_t level, SurfaceDesc& out) override;

    IDirect3DTexture9* raw() const { return texture.get(); }

private:
    ComHandle<IDirect3DTexture9> texture;
};

}  // namespace platform::win32
