#pragma once
// The renderer half of the Win32 backend: Direct3D 9 and D3DX 9 behind the
// platform layer's Direct3D, Device, TextureResource and SpriteBatch.
#include "platform/platform.h"
#include "platform/win32/d3d9/d3dx_library.h"

namespace platform::win32 {

// Direct3DCreate9(D3D_SDK_VERSION) wrapped as the layer's Direct3D; null when
// Direct3D 9 cannot be had. The caller deletes it, which releases the interface.
// Its devices make textures and sprites with the D3DX functions given: by
// default d3dx9_43.dll's where it is installed, else (noD3dx()) the stand-in's.
platform::Direct3D* createDirect3D(const D3dxLibrary& d3dx = systemD3dx());

}  // namespace platform::win32
