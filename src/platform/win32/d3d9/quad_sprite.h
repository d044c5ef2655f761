#pragma once
// The sprite batcher without D3DX: each Draw is one quad of the source rectangle,
// moved by the transform on the processor and drawn with Direct3D 9's fixed
// pipeline under the states ID3DXSprite sets for the same Begin flags (alpha
// blending, the diffuse colour times the texels, clamped addressing, linear or
// anisotropic filtering as the device offers), so a picture looks the same
// whichever of the two draws it.
#include <windows.h>
#include <d3d9.h>

#include "platform/platform.h"
#include "platform/win32/d3d9/com_handle.h"

namespace platform::win32 {

class QuadSprite : public SpriteBatch {
public:
    // Keeps a reference to the device, as ID3DXSprite does.
    explicit QuadSprite(IDirect3DDevice9* device);

    HResult begin(std::uint32_t flags) override;
    HResult setTransform(const Matrix& transform) override;
    HResult draw(TextureResource* texture, const Rect* source, std::uint32_t colour) override;
    HResult end() override;
    HResult onLostDevice() override;
    HResult onResetDevice() override;

private:
    void setStates();

    ComHandle<IDirect3DDevice9> device;
    // The device's states before Begin, put back at End (a default-pool object:
    // let go when the device is lost).
    ComHandle<IDirect3DStateBlock9> savedStates;
    D3DCAPS9 caps{};
    Matrix transform{};
    std::uint32_t beginFlags = 0;
    bool drawing = false;
};

}  // namespace platform::win32
