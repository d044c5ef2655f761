#pragma once
// The rendering device: IDirect3DDevice9 and the D3DX calls made on it (through
// d3dx9_43.dll when it was found, else through the backend's stand-in), released
// with the wrapper.
#include <windows.h>
#include <d3d9.h>

#include "platform/platform.h"
#include "platform/win32/d3d9/com_handle.h"
#include "platform/win32/d3d9/d3dx_library.h"

namespace platform::win32 {

class Device9 : public Device {
public:
    Device9(IDirect3DDevice9* device, const D3dxLibrary& d3dx) : device(device), d3dx(d3dx) {}

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

    IDirect3DDevice9* raw() const { return device.get(); }

private:
    ComHandle<IDirect3DDevice9> device;
    const D3dxLibrary& d3dx;
};

}  // namespace platform::win32
