#pragma once
// The platform layer on Win32, Direct3D 9 and D3DX 9: this half's System, Input
// and Windows, and the d3d9/ half's Direct3D. A program makes one and installs it:
//
//     platform::win32::Win32Platform backend;
//     platform::install(&backend);
//
// The counterpart of sdl/sdl_platform.h. What createDirect3D and the objects made
// from it return belongs to the caller, who deletes it before the platform goes.
#include "platform/platform.h"
#include "platform/win32/input.h"
#include "platform/win32/system.h"
#include "platform/win32/windowing.h"

namespace platform::win32 {

class Win32Platform : public Platform {
public:
    System& system() override { return win32System; }
    Input& input() override { return win32Input; }
    Windowing& windowing() override { return win32Windowing; }
    Direct3D* createDirect3D() override;

private:
    Win32System win32System;
    Win32Input win32Input;
    Win32Windowing win32Windowing;
};

}  // namespace platform::win32
