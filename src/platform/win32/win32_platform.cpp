#include "platform/win32/win32_platform.h"

#include "platform/win32/d3d9/direct3d9.h"

namespace platform::win32 {

Direct3D* Win32Platform::createDirect3D() { return platform::win32::createDirect3D(); }

}  // namespace platform::win32
