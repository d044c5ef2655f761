#pragma once
// The renderer half of the Win32 backend: Direct3D 9 and D3DX 9 behind the
// platform layer's Direct3D, Device, TextureResource and SpriteBatch.
#include "platform/platform.h"

namespace platform::win32 {

// Direct3DCreate9(D3D_SDK_VERSION) wrapped as the layer's Direct3D; null when
// Direct3D 9 cannot be had. The caller deletes it, which releases the interface.
platform::Direct3D* createDirect3D();

}  // namespace platform::win32
