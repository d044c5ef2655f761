#include "platform/win32/win32_platform.h"

#include <cstdio>
#include <string>

#include "log/log.h"
#include "platform/win32/d3d9/direct3d9.h"

namespace platform::win32 {
namespace {

// Which of the two makes the pictures, said once: the first thing to know when a
// player's pictures look wrong.
void announce(const D3dxLibrary& d3dx) {
    const std::string line =
        d3dx.available() ? "Drawing with D3DX 9 (d3dx9_43.dll)."
                         : "D3DX 9 (d3dx9_43.dll) not found: drawing with the built-in sprites "
                           "and the Windows Imaging Component.";
    Log::info(line);
    std::fprintf(stderr, "Tessak: %s\n", line.c_str());
    std::fflush(stderr);
}

}  // namespace

Direct3D* Win32Platform::createDirect3D() {
    static bool announced = false;
    if (!announced) {
        announced = true;
        announce(systemD3dx());
    }
    return platform::win32::createDirect3D(systemD3dx());
}

}  // namespace platform::win32
