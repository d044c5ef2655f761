#include "platform/win32/d3d9/direct3d9.h"

#include <windows.h>
#include <d3d9.h>

#include "platform/win32/d3d9/com_handle.h"
#include "platform/win32/d3d9/d3d_records.h"
#include "platform/win32/d3d9/device9.h"

namespace platform::win32 {
namespace {

// The engine draws on the primary adapter with the hardware device only.
constexpr UINT ADAPTER = D3DADAPTER_DEFAULT;
constexpr D3DDEVTYPE DEVICE_TYPE = D3DDEVTYPE_HAL;

class Direct3D9 : public Direct3D {
public:
    Direct3D9(IDirect3D9* direct3D, const D3dxLibrary& d3dx) : direct3D(direct3D), d3dx(d3dx) {}

    HResult getAdapterDisplayMode(DisplayMode& out) override {
        D3DDISPLAYMODE mode{};
        const HRESULT result = direct3D->GetAdapterDisplayMode(ADAPTER, &mode);
        if (SUCCEEDED(result)) {
            out = fromD3D(mode);
        }
        return result;
    }

    std::uint32_t getAdapterModeCount(std::int32_t format) override {
        return direct3D->GetAdapterModeCount(ADAPTER, static_cast<D3DFORMAT>(format));
    }

    HResult enumAdapterModes(std::int32_t format, std::uint32_t index, DisplayMode& out) override {
        D3DDISPLAYMODE mode{};
        const HRESULT result =
            direct3D->EnumAdapterModes(ADAPTER, static_cast<D3DFORMAT>(format), index, &mode);
        if (SUCCEEDED(result)) {
            out = fromD3D(mode);
        }
        return result;
    }

    HResult checkDeviceType(std::int32_t adapterFormat, std::int32_t backBufferFormat,
                            bool windowed) override {
        return direct3D->CheckDeviceType(
            ADAPTER, DEVICE_TYPE, static_cast<D3DFORMAT>(adapterFormat),
            static_cast<D3DFORMAT>(backBufferFormat), windowed ? TRUE : FALSE);
    }

    HResult getDeviceCaps(Caps& out) override {
        D3DCAPS9 caps{};
        const HRESULT result = direct3D->GetDeviceCaps(ADAPTER, DEVICE_TYPE, &caps);
        if (SUCCEEDED(result)) {
            out.DevCaps = caps.DevCaps;
        }
        return result;
    }

    HResult getAdapterIdentifier(std::uint32_t flags, AdapterIdentifier& out) override {
        D3DADAPTER_IDENTIFIER9 identifier{};
        const HRESULT result = direct3D->GetAdapterIdentifier(ADAPTER, flags, &identifier);
        if (SUCCEEDED(result)) {
            out = fromD3D(identifier);
        }
        return result;
    }

    HResult createDevice(WindowHandle focusWindow, std::uint32_t behaviourFlags,
                         PresentParameters& parameters, Device** out) override {
        D3DPRESENT_PARAMETERS d3dParameters = toD3D(parameters);
        IDirect3DDevice9* device = nullptr;
        const HRESULT result =
            direct3D->CreateDevice(ADAPTER, DEVICE_TYPE, static_cast<HWND>(focusWindow),
                                   behaviourFlags, &d3dParameters, &device);
        // CreateDevice fills in what the caller left to it (back buffer count,
        // the sizes of a windowed device) in the caller's own structure.
        parameters = fromD3D(d3dParameters);
        if (SUCCEEDED(result)) {
            *out = new Device9(device, d3dx);
        }
        return result;
    }

private:
    ComHandle<IDirect3D9> direct3D;
    const D3dxLibrary& d3dx;
};

}  // namespace

platform::Direct3D* createDirect3D(const D3dxLibrary& d3dx) {
    IDirect3D9* direct3D = Direct3DCreate9(D3D_SDK_VERSION);
    if (direct3D == nullptr) {
        return nullptr;
    }
    return new Direct3D9(direct3D, d3dx);
}

}  // namespace platform::win32
