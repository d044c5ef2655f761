#include "platform/win32/d3d9/d3d_records.h"

#include <cstring>

namespace platform::win32 {

DisplayMode fromD3D(const D3DDISPLAYMODE& mode) {
    DisplayMode out;
    out.Width = mode.Width;
    out.Height = mode.Height;
    out.RefreshRate = mode.RefreshRate;
    out.Format = mode.Format;
    return out;
}

AdapterIdentifier fromD3D(const D3DADAPTER_IDENTIFIER9& identifier) {
    // The character arrays are as wide as the SDK's (seam_values_check.cpp proves it).
    AdapterIdentifier out;
    std::memcpy(out.Driver, identifier.Driver, sizeof(out.Driver));
    std::memcpy(out.Description, identifier.Description, sizeof(out.Description));
    std::memcpy(out.DeviceName, identifier.DeviceName, sizeof(out.DeviceName));
    // The strings are the driver's: keep them terminated whatever it wrote.
    out.Driver[sizeof(out.Driver) - 1] = '\0';
    out.Description[sizeof(out.Description) - 1] = '\0';
    out.DeviceName[sizeof(out.DeviceName) - 1] = '\0';
    out.DriverVersion = identifier.DriverVersion.QuadPart;
    return out;
}

D3DPRESENT_PARAMETERS toD3D(const PresentParameters& parameters) {
    D3DPRESENT_PARAMETERS out{};
    out.BackBufferWidth = parameters.BackBufferWidth;
    out.BackBufferHeight = parameters.BackBufferHeight;
    out.BackBufferFormat = static_cast<D3DFORMAT>(parameters.BackBufferFormat);
    out.BackBufferCount = parameters.BackBufferCount;
    out.MultiSampleType = static_cast<D3DMULTISAMPLE_TYPE>(parameters.MultiSampleType);
    out.MultiSampleQuality = parameters.MultiSampleQuality;
    out.SwapEffect = static_cast<D3DSWAPEFFECT>(parameters.SwapEffect);
    out.hDeviceWindow = static_cast<HWND>(parameters.hDeviceWindow);
    out.Windowed = parameters.Windowed ? TRUE : FALSE;
    out.EnableAutoDepthStencil = parameters.EnableAutoDepthStencil ? TRUE : FALSE;
    out.AutoDepthStencilFormat = static_cast<D3DFORMAT>(parameters.AutoDepthStencilFormat);
    out.Flags = parameters.Flags;
    out.FullScreen_RefreshRateInHz = parameters.FullScreen_RefreshRateInHz;
    out.PresentationInterval = parameters.PresentationInterval;
    return out;
}

PresentParameters fromD3D(const D3DPRESENT_PARAMETERS& parameters) {
    PresentParameters out;
    out.BackBufferWidth = parameters.BackBufferWidth;
    out.BackBufferHeight = parameters.BackBufferHeight;
    out.BackBufferFormat = parameters.BackBufferFormat;
    out.BackBufferCount = parameters.BackBufferCount;
    out.MultiSampleType = parameters.MultiSampleType;
    out.MultiSampleQuality = parameters.MultiSampleQuality;
    out.SwapEffect = parameters.SwapEffect;
    out.hDeviceWindow = parameters.hDeviceWindow;
    out.Windowed = parameters.Windowed != FALSE;
    out.EnableAutoDepthStencil = parameters.EnableAutoDepthStencil != FALSE;
    out.AutoDepthStencilFormat = parameters.AutoDepthStencilFormat;
    out.Flags = parameters.Flags;
    out.FullScreen_RefreshRateInHz = parameters.FullScreen_RefreshRateInHz;
    out.PresentationInterval = parameters.PresentationInterval;
    return out;
}

RECT toD3D(const Rect& rect) {
    RECT out;
    out.left = rect.left;
    out.top = rect.top;
    out.right = rect.right;
    out.bottom = rect.bottom;
    return out;
}

D3DXMATRIX toD3D(const Matrix& matrix) {
    D3DXMATRIX out;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            out.m[row][column] = matrix.m[row][column];
        }
    }
    return out;
}

}  // namespace platform::win32
