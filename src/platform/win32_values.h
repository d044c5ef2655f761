#pragma once
// Numbers of the Win32 / Direct3D 9 world that the portable code speaks. Backends
// pass them through (Win32) or map them (SDL); the portable code never includes a
// platform header.
//
// Each Win32 prefix is a namespace and the rest of the name is kept: WM_DESTROY is
// wm::DESTROY, D3DFMT_X8R8G8B8 is d3dfmt::X8R8G8B8. The SDK defines the original
// names as macros, so a file that includes <windows.h> or <d3d9.h> and this header
// compiles only as long as no name here is one of its macros: a bare name after
// the prefix that the SDK defines (NULL, ERROR, DELETE, S_OK, ...) is renamed.
#include <cstdint>

namespace platform {

using HResult = std::int32_t;

// Window messages.
namespace wm {
constexpr std::uint32_t NULL_MESSAGE = 0x0000;  // WM_NULL
constexpr std::uint32_t DESTROY = 0x0002;
constexpr std::uint32_t SIZE = 0x0005;
constexpr std::uint32_t CLOSE = 0x0010;
constexpr std::uint32_t QUIT = 0x0012;
constexpr std::uint32_t KEYDOWN = 0x0100;
constexpr std::uint32_t KEYUP = 0x0101;
constexpr std::uint32_t MOUSEMOVE = 0x0200;
constexpr std::uint32_t LBUTTONDOWN = 0x0201;
constexpr std::uint32_t LBUTTONUP = 0x0202;
constexpr std::uint32_t SYSCOMMAND = 0x0112;
}  // namespace wm

// WM_SYSCOMMAND commands.
namespace sc {
constexpr std::uintptr_t MINIMIZE = 0xF020;
constexpr std::uintptr_t RESTORE = 0xF120;
constexpr std::uintptr_t SCREENSAVE = 0xF140;
constexpr std::uintptr_t MONITORPOWER = 0xF170;
}  // namespace sc

// Message box styles.
namespace mb {
constexpr std::uint32_t OK = 0x0000;
constexpr std::uint32_t YESNO = 0x0004;
constexpr std::uint32_t CANCELTRYCONTINUE = 0x0006;
constexpr std::uint32_t TYPEMASK = 0x000F;
constexpr std::uint32_t ICONERROR = 0x0010;
constexpr std::uint32_t ICONQUESTION = 0x0020;
constexpr std::uint32_t ICONWARNING = 0x0030;
constexpr std::uint32_t ICONMASK = 0x00F0;
constexpr std::uint32_t SYSTEMMODAL = 0x1000;
}  // namespace mb

// Message box answers (IDOK, IDCANCEL, ...).
namespace id {
constexpr int OK = 1;
constexpr int CANCEL = 2;
constexpr int YES = 6;
constexpr int NO = 7;
constexpr int TRYAGAIN = 10;
constexpr int CONTINUE = 11;
}  // namespace id

// Virtual-key codes.
namespace vk {
constexpr int LBUTTON = 0x01;
constexpr int ESCAPE = 0x1B;
constexpr int LEFT = 0x25;
constexpr int UP = 0x26;
constexpr int RIGHT = 0x27;
constexpr int DOWN = 0x28;
}  // namespace vk

// Window styles.
namespace ws {
constexpr std::uint32_t POPUP = 0x80000000u;
constexpr std::uint32_t CLIPSIBLINGS = 0x04000000u;
constexpr std::uint32_t CLIPCHILDREN = 0x02000000u;
constexpr std::uint32_t CAPTION = 0x00C00000u;
constexpr std::uint32_t SYSMENU = 0x00080000u;
constexpr std::uint32_t MINIMIZEBOX = 0x00020000u;
}  // namespace ws

// Window class styles.
namespace cs {
constexpr std::uint32_t VREDRAW = 0x0001;
constexpr std::uint32_t HREDRAW = 0x0002;
constexpr std::uint32_t DBLCLKS = 0x0008;
constexpr std::uint32_t OWNDC = 0x0020;
}  // namespace cs

namespace cw {
constexpr int USEDEFAULT = static_cast<int>(0x80000000u);
}  // namespace cw

// ShowWindow commands.
namespace sw {
constexpr int HIDE = 0;
constexpr int SHOWMINIMIZED = 2;
constexpr int MAXIMIZE = 3;
constexpr int SHOW = 5;
constexpr int MINIMIZE = 6;
constexpr int SHOWMINNOACTIVE = 7;
constexpr int RESTORE = 9;
}  // namespace sw

// SetWindowPos flags.
namespace swp {
constexpr std::uint32_t NOSIZE = 0x0001;
constexpr std::uint32_t NOMOVE = 0x0002;
}  // namespace swp

// Special "insert after" values of SetWindowPos.
namespace hwnd {
constexpr std::intptr_t TOPMOST = -1;
constexpr std::intptr_t NOTOPMOST = -2;
}  // namespace hwnd

// Result codes of Direct3D 9, D3DX 9 and COM.
namespace d3d {
constexpr HResult OK = 0;
}  // namespace d3d
namespace d3derr {
constexpr HResult DEVICELOST = static_cast<HResult>(0x88760868u);
constexpr HResult DEVICENOTRESET = static_cast<HResult>(0x88760869u);
constexpr HResult DRIVERINTERNALERROR = static_cast<HResult>(0x88760827u);
constexpr HResult NOTAVAILABLE = static_cast<HResult>(0x8876086Au);
constexpr HResult INVALIDCALL = static_cast<HResult>(0x8876086Cu);
constexpr HResult OUTOFVIDEOMEMORY = static_cast<HResult>(0x8876017Cu);
}  // namespace d3derr
// D3DXERR_INVALIDDATA: the texture loader cannot decode the file.
namespace d3dxerr {
constexpr HResult INVALIDDATA = static_cast<HResult>(0x88760B59u);
}  // namespace d3dxerr
namespace e {
constexpr HResult FAIL = static_cast<HResult>(0x80004005u);
}  // namespace e
inline bool failed(HResult result) { return result < 0; }

// D3DFORMAT values.
namespace d3dfmt {
constexpr std::int32_t UNKNOWN = 0;
constexpr std::int32_t R8G8B8 = 20;
constexpr std::int32_t A8R8G8B8 = 21;
constexpr std::int32_t X8R8G8B8 = 22;
constexpr std::int32_t R5G6B5 = 23;
constexpr std::int32_t X1R5G5B5 = 24;
constexpr std::int32_t A1R5G5B5 = 25;
constexpr std::int32_t A4R4G4B4 = 26;
constexpr std::int32_t R3G3B2 = 27;
constexpr std::int32_t A8 = 28;
constexpr std::int32_t A8R3G3B2 = 29;
constexpr std::int32_t X4R4G4B4 = 30;
constexpr std::int32_t D16 = 80;
}  // namespace d3dfmt

// Device creation, presentation, clearing, render states, sprites.
namespace d3ddevcaps {
constexpr std::uint32_t HWTRANSFORMANDLIGHT = 0x10000;
}  // namespace d3ddevcaps
namespace d3dcreate {
constexpr std::uint32_t FPU_PRESERVE = 0x02;
constexpr std::uint32_t SOFTWARE_VERTEXPROCESSING = 0x20;
constexpr std::uint32_t HARDWARE_VERTEXPROCESSING = 0x40;
constexpr std::uint32_t DISABLE_DRIVER_MANAGEMENT = 0x100;
}  // namespace d3dcreate
namespace d3dmultisample {
constexpr std::uint32_t NONE = 0;
}  // namespace d3dmultisample
namespace d3dswapeffect {
constexpr std::uint32_t DISCARD = 1;
}  // namespace d3dswapeffect
namespace d3dpresent {
constexpr std::uint32_t INTERVAL_DEFAULT = 0;
}  // namespace d3dpresent
namespace d3dclear {
constexpr std::uint32_t TARGET = 1;
constexpr std::uint32_t ZBUFFER = 2;
}  // namespace d3dclear
namespace d3drs {
constexpr std::uint32_t CULLMODE = 22;
}  // namespace d3drs
namespace d3dcull {
constexpr std::uint32_t NONE = 1;
}  // namespace d3dcull
namespace d3dxsprite {
constexpr std::uint32_t ALPHABLEND = 0x10;
}  // namespace d3dxsprite
namespace d3dpool {
constexpr std::uint32_t MANAGED = 1;
}  // namespace d3dpool

}  // namespace platform
