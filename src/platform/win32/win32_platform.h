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
    System& system() override { return system_; }
    Input& input() override { return input_; }
    Windowing& windowing() override { return windowing_; }
    Direct3D* createDirect3D() override;

private:
    Win32System system_;
    Win32Input input_;
    Win32Windowing windowing_;
};

}  // namespace platform::win32
