#pragma once
// The Direct3D 9 interfaces behind the layer's objects, for tests that look past
// the layer (reading back the render target, writing texels). The engine never
// needs them: it goes through the layer alone.
#include <windows.h>
#include <d3d9.h>

#include "platform/platform.h"

namespace platform::win32 {

// Null when the object was not made by this backend. No reference is added.
IDirect3DDevice9* rawDevice(Device& device);
IDirect3DTexture9* rawTexture(TextureResource& texture);

}  // namespace platform::win32
