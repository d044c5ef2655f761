#pragma once
// Texture loading without D3DX: the picture decoded by the Windows Imaging
// Component (windowscodecs.dll, part of every Windows since Vista), then copied
// into a Direct3D 9 texture as D3DXCreateTextureFromFileExA makes it with the
// engine's arguments (default sizes, one level, managed pool, no filter, no
// colour key).
#include <windows.h>
#include <d3d9.h>

#include <string>

#include "platform/platform.h"

namespace platform::win32 {

// The texture is the picture's size rounded up to powers of two, A8R8G8B8, with
// the picture unscaled in its top-left corner and transparent black around it;
// `info` gets the picture's own size. A failure code when the file cannot be
// read or decoded, or the device refuses the texture.
HRESULT createTextureWithWic(IDirect3DDevice9* device, const std::string& path, ImageInfo& info,
                             IDirect3DTexture9** out);

}  // namespace platform::win32
