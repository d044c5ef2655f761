#pragma once
// Numbers of the Win32 / Direct3D 9 world that the portable code speaks. Backends
// pass them through (Win32) or map them (SDL); the portable code never includes a
// platform header.
#include <cstdint>

namespace platform {

using HResult = std::int32_t;

// Window messages.
constexpr std::uint32_t WM_NULL = 0x0000;
constexpr std::uint32_t WM_DESTROY = 0x0002;
constexpr std::uint32_t WM_SIZE = 0x0005;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_QUIT = 0x0012;
constexpr std::uint32_t WM_KEYDOWN = 0x0100;
constexpr std::uint32_t WM_KEYUP = 0x0101;
constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
constexpr std::uintptr_t SC_MINIMIZE = 0xF020;
constexpr std::uintptr_t SC_RESTORE = 0xF120;
constexpr std::uintptr_t SC_SCREENSAVE = 0xF140;
constexpr std::uintptr_t SC_MONITORPOWER = 0xF170;

// Message box styles and answers.
constexpr std::uint32_t MB_OK = 0x0000;
constexpr std::uint32_t MB_YESNO = 0x0004;
constexpr std::uint32_t MB_CANCELTRYCONTINUE = 0x0006;
constexpr std::uint32_t MB_TYPEMASK = 0x000F;
constexpr std::uint32_t MB_ICONERROR = 0x0010;
constexpr std::uint32_t MB_ICONQUESTION = 0x0020;
constexpr std::uint32_t MB_ICONWARNING = 0x0030;
constexpr std::uint32_t MB_ICONMASK = 0x00F0;
constexpr std::uint32_t MB_SYSTEMMODAL = 0x1000;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDTRYAGAIN = 10;
constexpr int IDCONTINUE = 11;

// Virtual-key codes.
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;

// Window styles, ShowWindow commands, SetWindowPos values.
constexpr std::uint32_t WS_POPUP = 0x80000000u;
constexpr std::uint32_t WS_CLIPSIBLINGS = 0x04000000u;
constexpr std::uint32_t WS_CLIPCHILDREN = 0x02000000u;
constexpr std::uint32_t WS_CAPTION = 0x00C00000u;
constexpr std::uint32_t WS_SYSMENU = 0x00080000u;
constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000u;
constexpr std::uint32_t CS_VREDRAW = 0x0001;
constexpr std::uint32_t CS_HREDRAW = 0x0002;
constexpr std::uint32_t CS_DBLCLKS = 0x0008;
constexpr std::uint32_t CS_OWNDC = 0x0020;
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;
constexpr std::uint32_t SWP_NOSIZE = 0x0001;
constexpr std::uint32_t SWP_NOMOVE = 0x0002;
// Special "insert after" values of SetWindowPos.
constexpr std::intptr_t HWND_TOPMOST = -1;
constexpr std::intptr_t HWND_NOTOPMOST = -2;

// Direct3D 9 result codes.
constexpr HResult D3D_OK = 0;
constexpr HResult D3DERR_DEVICELOST = static_cast<HResult>(0x88760868u);
constexpr HResult D3DERR_DEVICENOTRESET = static_cast<HResult>(0x88760869u);
constexpr HResult D3DERR_DRIVERINTERNALERROR = static_cast<HResult>(0x88760827u);
constexpr HResult D3DERR_NOTAVAILABLE = static_cast<HResult>(0x8876086Au);
constexpr HResult D3DERR_INVALIDCALL = static_cast<HResult>(0x8876086Cu);
constexpr HResult E_FAIL = static_cast<HResult>(0x80004005u);
inline bool failed(HResult result) { return result < 0; }

// D3DFORMAT values.
constexpr std::int32_t D3DFMT_UNKNOWN = 0;
constexpr std::int32_t D3DFMT_R8G8B8 = 20;
constexpr std::int32_t D3DFMT_A8R8G8B8 = 21;
constexpr std::int32_t D3DFMT_X8R8G8B8 = 22;
constexpr std::int32_t D3DFMT_R5G6B5 = 23;
constexpr std::int32_t D3DFMT_X1R5G5B5 = 24;
constexpr std::int32_t D3DFMT_A1R5G5B5 = 25;
constexpr std::int32_t D3DFMT_A4R4G4B4 = 26;
constexpr std::int32_t D3DFMT_R3G3B2 = 27;
constexpr std::int32_t D3DFMT_A8 = 28;
constexpr std::int32_t D3DFMT_A8R3G3B2 = 29;
constexpr std::int32_t D3DFMT_X4R4G4B4 = 30;
constexpr std::int32_t D3DFMT_D16 = 80;

// Device creation, presentation, clearing, render states, sprites.
constexpr std::uint32_t D3DDEVCAPS_HWTRANSFORMANDLIGHT = 0x10000;
constexpr std::uint32_t D3DCREATE_FPU_PRESERVE = 0x02;
constexpr std::uint32_t D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x20;
constexpr std::uint32_t D3DCREATE_HARDWARE_VERTEXPROCESSING = 0x40;
constexpr std::uint32_t D3DCREATE_DISABLE_DRIVER_MANAGEMENT = 0x100;
constexpr std::uint32_t D3DMULTISAMPLE_NONE = 0;
constexpr std::uint32_t D3DSWAPEFFECT_DISCARD = 1;
constexpr std::uint32_t D3DPRESENT_INTERVAL_DEFAULT = 0;
constexpr std::uint32_t D3DCLEAR_TARGET = 1;
constexpr std::uint32_t D3DCLEAR_ZBUFFER = 2;
constexpr std::uint32_t D3DRS_CULLMODE = 22;
constexpr std::uint32_t D3DCULL_NONE = 1;
constexpr std::uint32_t D3DXSPRITE_ALPHABLEND = 0x10;
constexpr std::uint32_t D3DPOOL_MANAGED = 1;

}  // namespace platform
