#include "platform/win32/d3d9/device9.h"

#include <d3dx9.h>

#include "platform/win32/d3d9/d3d_records.h"
#include "platform/win32/d3d9/quad_sprite.h"
#include "platform/win32/d3d9/sprite9.h"
#include "platform/win32/d3d9/texture9.h"
#include "platform/win32/d3d9/wic_texture.h"

namespace platform::win32 {

HResult Device9::testCooperativeLevel() { return device->TestCooperativeLevel(); }

HResult Device9::reset(PresentParameters& parameters) {
    D3DPRESENT_PARAMETERS d3dParameters = toD3D(parameters);
    const HRESULT result = device->Reset(&d3dParameters);
    // Reset fills in what the caller left to it (back buffer count, sizes of a
    // windowed device), as it does with the caller's own structure on Windows.
    parameters = fromD3D(d3dParameters);
    return result;
}

HResult Device9::clear(std::uint32_t flags, std::uint32_t colour, float z, std::uint32_t stencil) {
    return device->Clear(0, nullptr, flags, colour, z, stencil);
}

HResult Device9::beginScene() { return device->BeginScene(); }

HResult Device9::endScene() { return device->EndScene(); }

HResult Device9::present() { return device->Present(nullptr, nullptr, nullptr, nullptr); }

HResult Device9::setRenderState(std::uint32_t state, std::uint32_t value) {
    return device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(state), value);
}

HResult Device9::createTextureFromFile(const std::string& path, ImageInfo& info,
                                       TextureResource** out) {
    IDirect3DTexture9* texture = nullptr;
    if (!d3dx.available()) {
        const HRESULT result = createTextureWithWic(device.get(), path, info, &texture);
        if (SUCCEEDED(result)) {
            *out = new Texture9(texture);
        }
        return result;
    }
    // The file's size rounded up to powers of two, one level, the file's own
    // format, the managed pool (it survives a reset), no filtering (the image
    // lands unscaled in the top-left corner), no colour key.
    D3DXIMAGE_INFO imageInfo{};
    const HRESULT result = d3dx.createTextureFromFileExA(
        device.get(), path.c_str(), D3DX_DEFAULT, D3DX_DEFAULT, 1, 0, D3DFMT_UNKNOWN,
        D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_FILTER_NONE, 0, &imageInfo, nullptr, &texture);
    if (FAILED(result)) {
        return result;
    }
    info.Width = imageInfo.Width;
    info.Height = imageInfo.Height;
    *out = new Texture9(texture);
    return result;
}

HResult Device9::createSprite(SpriteBatch** out) {
    if (!d3dx.available()) {
        *out = new QuadSprite(device.get());
        return D3D_OK;
    }
    ID3DXSprite* sprite = nullptr;
    const HRESULT result = d3dx.createSprite(device.get(), &sprite);
    if (SUCCEEDED(result)) {
        *out = new Sprite9(sprite);
    }
    return result;
}

}  // namespace platform::win32
