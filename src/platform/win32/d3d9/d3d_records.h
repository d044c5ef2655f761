#pragma once
// The layer's plain records to and from the Direct3D 9 / D3DX 9 structures, field
// by field (the layer's records keep only the fields the engine uses).
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "platform/platform.h"

namespace platform::win32 {

DisplayMode fromD3D(const D3DDISPLAYMODE& mode);
AdapterIdentifier fromD3D(const D3DADAPTER_IDENTIFIER9& identifier);

D3DPRESENT_PARAMETERS toD3D(const PresentParameters& parameters);
PresentParameters fromD3D(const D3DPRESENT_PARAMETERS& parameters);

RECT toD3D(const Rect& rect);
D3DXMATRIX toD3D(const Matrix& matrix);

}  // namespace platform::win32
