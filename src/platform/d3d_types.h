#pragma once
// Plain records shaped like the Direct3D 9 / D3DX 9 structures the graphics code
// fills and reads. Only the fields the engine uses are kept.
#include <cstdint>
#include <cstring>

#include "platform/win32_values.h"

namespace platform {

struct DisplayMode {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::uint32_t RefreshRate = 0;
    std::int32_t Format = d3dfmt::UNKNOWN;
};

struct Caps {
    std::uint32_t DevCaps = 0;
};

struct AdapterIdentifier {
    char Driver[512];
    char Description[512];
    char DeviceName[32];
    std::int64_t DriverVersion;
    AdapterIdentifier() { std::memset(this, 0, sizeof(*this)); }
};

using WindowHandle = void*;

struct PresentParameters {
    std::uint32_t BackBufferWidth = 0;
    std::uint32_t BackBufferHeight = 0;
    std::int32_t BackBufferFormat = d3dfmt::UNKNOWN;
    std::uint32_t BackBufferCount = 0;
    std::uint32_t MultiSampleType = 0;
    std::uint32_t MultiSampleQuality = 0;
    std::uint32_t SwapEffect = 0;
    WindowHandle hDeviceWindow = nullptr;
    bool Windowed = false;
    bool EnableAutoDepthStencil = false;
    std::int32_t AutoDepthStencilFormat = d3dfmt::UNKNOWN;
    std::uint32_t Flags = 0;
    std::uint32_t FullScreen_RefreshRateInHz = 0;
    std::uint32_t PresentationInterval = 0;
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct Vector2 {
    float x = 0.0f;
    float y = 0.0f;
};

// Row-vector 4 x 4 matrix as D3DX uses it: a point (x, y) lands at
// (x*m[0][0] + y*m[1][0] + m[3][0], x*m[0][1] + y*m[1][1] + m[3][1]).
struct Matrix {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

// What D3DXCreateTextureFromFileEx reports of the image file.
struct ImageInfo {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
};

// What IDirect3DTexture9::GetLevelDesc reports of a level.
struct SurfaceDesc {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
};

}  // namespace platform
