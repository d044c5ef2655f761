// Proves at compile time that every number the platform layer speaks is the
// SDK's own, and that the layer's names survive <windows.h>, <d3d9.h> and
// <d3dx9.h> being included first (their macros would otherwise rewrite them).
// Nothing here runs: a mismatch fails the build of the Win32 backend.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <type_traits>

#include "platform/platform.h"

namespace platform {
namespace {

template <typename Ours, typename Theirs>
constexpr bool sameShape() {
    return sizeof(Ours) == sizeof(Theirs) &&
           std::is_signed<Ours>::value == std::is_signed<Theirs>::value;
}

// The window procedure's and the result's types carry Win32's values unchanged.
static_assert(sameShape<HResult, HRESULT>(), "HResult");
static_assert(sameShape<std::uintptr_t, WPARAM>(), "wParam");
static_assert(sameShape<std::intptr_t, LPARAM>(), "lParam");
static_assert(sameShape<std::intptr_t, LRESULT>(), "window procedure result");
static_assert(sameShape<std::uint32_t, UINT>(), "message");
static_assert(sameShape<std::uint32_t, DWORD>(), "styles and flags");
static_assert(sizeof(WindowHandle) == sizeof(HWND), "window handle");
static_assert(sizeof(IconHandle) == sizeof(HICON), "icon handle");

static_assert(wm::NULL_MESSAGE == WM_NULL, "WM_NULL");
static_assert(wm::DESTROY == WM_DESTROY, "WM_DESTROY");
static_assert(wm::SIZE == WM_SIZE, "WM_SIZE");
static_assert(wm::CLOSE == WM_CLOSE, "WM_CLOSE");
static_assert(wm::QUIT == WM_QUIT, "WM_QUIT");
static_assert(wm::KEYDOWN == WM_KEYDOWN, "WM_KEYDOWN");
static_assert(wm::KEYUP == WM_KEYUP, "WM_KEYUP");
static_assert(wm::MOUSEMOVE == WM_MOUSEMOVE, "WM_MOUSEMOVE");
static_assert(wm::LBUTTONDOWN == WM_LBUTTONDOWN, "WM_LBUTTONDOWN");
static_assert(wm::LBUTTONUP == WM_LBUTTONUP, "WM_LBUTTONUP");
static_assert(wm::SYSCOMMAND == WM_SYSCOMMAND, "WM_SYSCOMMAND");

static_assert(sc::MINIMIZE == SC_MINIMIZE, "SC_MINIMIZE");
static_assert(sc::RESTORE == SC_RESTORE, "SC_RESTORE");
static_assert(sc::SCREENSAVE == SC_SCREENSAVE, "SC_SCREENSAVE");
static_assert(sc::MONITORPOWER == SC_MONITORPOWER, "SC_MONITORPOWER");

static_assert(mb::OK == MB_OK, "MB_OK");
static_assert(mb::YESNO == MB_YESNO, "MB_YESNO");
static_assert(mb::CANCELTRYCONTINUE == MB_CANCELTRYCONTINUE, "MB_CANCELTRYCONTINUE");
static_assert(mb::TYPEMASK == MB_TYPEMASK, "MB_TYPEMASK");
static_assert(mb::ICONERROR == MB_ICONERROR, "MB_ICONERROR");
static_assert(mb::ICONQUESTION == MB_ICONQUESTION, "MB_ICONQUESTION");
static_assert(mb::ICONWARNING == MB_ICONWARNING, "MB_ICONWARNING");
static_assert(mb::ICONMASK == MB_ICONMASK, "MB_ICONMASK");
static_assert(mb::SYSTEMMODAL == MB_SYSTEMMODAL, "MB_SYSTEMMODAL");

static_assert(id::OK == IDOK, "IDOK");
static_assert(id::CANCEL == IDCANCEL, "IDCANCEL");
static_assert(id::YES == IDYES, "IDYES");
static_assert(id::NO == IDNO, "IDNO");
static_assert(id::TRYAGAIN == IDTRYAGAIN, "IDTRYAGAIN");
static_assert(id::CONTINUE == IDCONTINUE, "IDCONTINUE");

static_assert(vk::LBUTTON == VK_LBUTTON, "VK_LBUTTON");
static_assert(vk::ESCAPE == VK_ESCAPE, "VK_ESCAPE");
static_assert(vk::LEFT == VK_LEFT, "VK_LEFT");
static_assert(vk::UP == VK_UP, "VK_UP");
static_assert(vk::RIGHT == VK_RIGHT, "VK_RIGHT");
static_assert(vk::DOWN == VK_DOWN, "VK_DOWN");

static_assert(ws::POPUP == WS_POPUP, "WS_POPUP");
static_assert(ws::CLIPSIBLINGS == WS_CLIPSIBLINGS, "WS_CLIPSIBLINGS");
static_assert(ws::CLIPCHILDREN == WS_CLIPCHILDREN, "WS_CLIPCHILDREN");
static_assert(ws::CAPTION == WS_CAPTION, "WS_CAPTION");
static_assert(ws::SYSMENU == WS_SYSMENU, "WS_SYSMENU");
static_assert(ws::MINIMIZEBOX == WS_MINIMIZEBOX, "WS_MINIMIZEBOX");

static_assert(cs::VREDRAW == CS_VREDRAW, "CS_VREDRAW");
static_assert(cs::HREDRAW == CS_HREDRAW, "CS_HREDRAW");
static_assert(cs::DBLCLKS == CS_DBLCLKS, "CS_DBLCLKS");
static_assert(cs::OWNDC == CS_OWNDC, "CS_OWNDC");
static_assert(cw::USEDEFAULT == CW_USEDEFAULT, "CW_USEDEFAULT");

static_assert(sw::HIDE == SW_HIDE, "SW_HIDE");
static_assert(sw::SHOWMINIMIZED == SW_SHOWMINIMIZED, "SW_SHOWMINIMIZED");
static_assert(sw::MAXIMIZE == SW_MAXIMIZE, "SW_MAXIMIZE");
static_assert(sw::SHOW == SW_SHOW, "SW_SHOW");
static_assert(sw::MINIMIZE == SW_MINIMIZE, "SW_MINIMIZE");
static_assert(sw::SHOWMINNOACTIVE == SW_SHOWMINNOACTIVE, "SW_SHOWMINNOACTIVE");
static_assert(sw::RESTORE == SW_RESTORE, "SW_RESTORE");
static_assert(swp::NOSIZE == SWP_NOSIZE, "SWP_NOSIZE");
static_assert(swp::NOMOVE == SWP_NOMOVE, "SWP_NOMOVE");
// HWND_TOPMOST and HWND_NOTOPMOST are pointer casts, which a constant expression
// cannot take apart; the SDK spells them ((HWND)-1) and ((HWND)-2).
static_assert(hwnd::TOPMOST == -1, "HWND_TOPMOST");
static_assert(hwnd::NOTOPMOST == -2, "HWND_NOTOPMOST");

static_assert(d3d::OK == D3D_OK, "D3D_OK");
static_assert(d3derr::DEVICELOST == D3DERR_DEVICELOST, "D3DERR_DEVICELOST");
static_assert(d3derr::DEVICENOTRESET == D3DERR_DEVICENOTRESET, "D3DERR_DEVICENOTRESET");
static_assert(d3derr::DRIVERINTERNALERROR == D3DERR_DRIVERINTERNALERROR,
              "D3DERR_DRIVERINTERNALERROR");
static_assert(d3derr::NOTAVAILABLE == D3DERR_NOTAVAILABLE, "D3DERR_NOTAVAILABLE");
static_assert(d3derr::INVALIDCALL == D3DERR_INVALIDCALL, "D3DERR_INVALIDCALL");
static_assert(d3derr::OUTOFVIDEOMEMORY == D3DERR_OUTOFVIDEOMEMORY, "D3DERR_OUTOFVIDEOMEMORY");
static_assert(d3dxerr::INVALIDDATA == D3DXERR_INVALIDDATA, "D3DXERR_INVALIDDATA");
static_assert(e::FAIL == E_FAIL, "E_FAIL");

static_assert(d3dfmt::UNKNOWN == D3DFMT_UNKNOWN, "D3DFMT_UNKNOWN");
static_assert(d3dfmt::R8G8B8 == D3DFMT_R8G8B8, "D3DFMT_R8G8B8");
static_assert(d3dfmt::A8R8G8B8 == D3DFMT_A8R8G8B8, "D3DFMT_A8R8G8B8");
static_assert(d3dfmt::X8R8G8B8 == D3DFMT_X8R8G8B8, "D3DFMT_X8R8G8B8");
static_assert(d3dfmt::R5G6B5 == D3DFMT_R5G6B5, "D3DFMT_R5G6B5");
static_assert(d3dfmt::X1R5G5B5 == D3DFMT_X1R5G5B5, "D3DFMT_X1R5G5B5");
static_assert(d3dfmt::A1R5G5B5 == D3DFMT_A1R5G5B5, "D3DFMT_A1R5G5B5");
static_assert(d3dfmt::A4R4G4B4 == D3DFMT_A4R4G4B4, "D3DFMT_A4R4G4B4");
static_assert(d3dfmt::R3G3B2 == D3DFMT_R3G3B2, "D3DFMT_R3G3B2");
static_assert(d3dfmt::A8 == D3DFMT_A8, "D3DFMT_A8");
static_assert(d3dfmt::A8R3G3B2 == D3DFMT_A8R3G3B2, "D3DFMT_A8R3G3B2");
static_assert(d3dfmt::X4R4G4B4 == D3DFMT_X4R4G4B4, "D3DFMT_X4R4G4B4");
static_assert(d3dfmt::D16 == D3DFMT_D16, "D3DFMT_D16");

static_assert(d3ddevcaps::HWTRANSFORMANDLIGHT == D3DDEVCAPS_HWTRANSFORMANDLIGHT,
              "D3DDEVCAPS_HWTRANSFORMANDLIGHT");
static_assert(d3dcreate::FPU_PRESERVE == D3DCREATE_FPU_PRESERVE, "D3DCREATE_FPU_PRESERVE");
static_assert(d3dcreate::SOFTWARE_VERTEXPROCESSING == D3DCREATE_SOFTWARE_VERTEXPROCESSING,
              "D3DCREATE_SOFTWARE_VERTEXPROCESSING");
static_assert(d3dcreate::HARDWARE_VERTEXPROCESSING == D3DCREATE_HARDWARE_VERTEXPROCESSING,
              "D3DCREATE_HARDWARE_VERTEXPROCESSING");
static_assert(d3dcreate::DISABLE_DRIVER_MANAGEMENT == D3DCREATE_DISABLE_DRIVER_MANAGEMENT,
              "D3DCREATE_DISABLE_DRIVER_MANAGEMENT");
static_assert(d3dmultisample::NONE == D3DMULTISAMPLE_NONE, "D3DMULTISAMPLE_NONE");
static_assert(d3dswapeffect::DISCARD == D3DSWAPEFFECT_DISCARD, "D3DSWAPEFFECT_DISCARD");
static_assert(d3dpresent::INTERVAL_DEFAULT == D3DPRESENT_INTERVAL_DEFAULT,
              "D3DPRESENT_INTERVAL_DEFAULT");
static_assert(d3dclear::TARGET == D3DCLEAR_TARGET, "D3DCLEAR_TARGET");
static_assert(d3dclear::ZBUFFER == D3DCLEAR_ZBUFFER, "D3DCLEAR_ZBUFFER");
static_assert(d3drs::CULLMODE == D3DRS_CULLMODE, "D3DRS_CULLMODE");
static_assert(d3dcull::NONE == D3DCULL_NONE, "D3DCULL_NONE");
static_assert(d3dxsprite::ALPHABLEND == D3DXSPRITE_ALPHABLEND, "D3DXSPRITE_ALPHABLEND");
static_assert(d3dpool::MANAGED == D3DPOOL_MANAGED, "D3DPOOL_MANAGED");

// The records keep the SDK's field names; where the SDK's field is as wide, the
// backend copies field by field.
static_assert(sizeof(Matrix) == sizeof(D3DXMATRIX), "Matrix");
static_assert(sizeof(Rect) == sizeof(RECT), "Rect");
static_assert(sizeof(Point) == sizeof(POINT), "Point");
static_assert(sizeof(Vector2) == sizeof(D3DXVECTOR2), "Vector2");
static_assert(sizeof(AdapterIdentifier::Driver) == sizeof(D3DADAPTER_IDENTIFIER9::Driver),
              "AdapterIdentifier::Driver");
static_assert(sizeof(AdapterIdentifier::Description) == sizeof(D3DADAPTER_IDENTIFIER9::Description),
              "AdapterIdentifier::Description");
static_assert(sizeof(AdapterIdentifier::DeviceName) == sizeof(D3DADAPTER_IDENTIFIER9::DeviceName),
              "AdapterIdentifier::DeviceName");

}  // namespace
}  // namespace platform
