#include "platform/sdl/direct3d.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/sdl/device.h"

namespace platform::sdl {

namespace {

constexpr int DISPLAY = 0;

DisplayMode toDisplayMode(const SDL_DisplayMode& mode) {
    DisplayMode out;
    out.Width = static_cast<std::uint32_t>(mode.w);
    out.Height = static_cast<std::uint32_t>(mode.h);
    out.RefreshRate = static_cast<std::uint32_t>(mode.refresh_rate);
    out.Format = displayFormatOf(mode.format);
    return out;
}

template <std::size_t size>
void copyText(char (&target)[size], const std::string& text) {
    std::snprintf(target, size, "%s", text.c_str());
}

}  // namespace

std::int32_t displayFormatOf(Uint32 pixelFormat) {
    switch (SDL_BITSPERPIXEL(pixelFormat)) {
        case 15:
            return d3dfmt::X1R5G5B5;
        case 16:
            return d3dfmt::R5G6B5;
        case 24:
        case 32:
            return d3dfmt::X8R8G8B8;
        default:
            return d3dfmt::UNKNOWN;
    }
}

const AdapterFacts& SdlDirect3D::facts() {
    if (!adapterFacts) {
        adapterFacts = probeAdapter();
    }
    return *adapterFacts;
}

HResult SdlDirect3D::getAdapterDisplayMode(DisplayMode& out) {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(DISPLAY, &mode) != 0) {
        return d3derr::INVALIDCALL;
    }
    out = toDisplayMode(mode);
    return d3d::OK;
}

std::uint32_t SdlDirect3D::getAdapterModeCount(std::int32_t format) {
    std::uint32_t count = 0;
    const int modes = SDL_GetNumDisplayModes(DISPLAY);
    for (int index = 0; index < modes; ++index) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(DISPLAY, index, &mode) == 0 &&
            displayFormatOf(mode.format) == format) {
            ++count;
        }
    }
    return count;
}

HResult SdlDirect3D::enumAdapterModes(std::int32_t format, std::uint32_t wanted, DisplayMode& out) {
    std::uint32_t seen = 0;
    const int modes = SDL_GetNumDisplayModes(DISPLAY);
    for (int index = 0; index < modes; ++index) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(DISPLAY, index, &mode) != 0 ||
            displayFormatOf(mode.format) != format) {
            continue;
        }
        if (seen++ == wanted) {
            out = toDisplayMode(mode);
            return d3d::OK;
        }
    }
    return d3derr::INVALIDCALL;
}

HResult SdlDirect3D::checkDeviceType(std::int32_t adapterFormat, std::int32_t backBufferFormat,
                                     bool windowed) {
    // The renderer draws any back buffer; what the display can show decides.
    if (backBufferFormat != d3dfmt::X8R8G8B8 && backBufferFormat != d3dfmt::R5G6B5) {
        return d3derr::NOTAVAILABLE;
    }
    if (windowed) {
        DisplayMode desktop;
        if (failed(getAdapterDisplayMode(desktop)) || desktop.Format != adapterFormat) {
            return d3derr::NOTAVAILABLE;
        }
        return d3d::OK;
    }
    if (adapterFormat != backBufferFormat || getAdapterModeCount(adapterFormat) == 0) {
        return d3derr::NOTAVAILABLE;
    }
    return d3d::OK;
}

HResult SdlDirect3D::getDeviceCaps(Caps& out) {
    out = Caps{};
    if (!facts().found) {
        return d3derr::NOTAVAILABLE;
    }
    if (facts().accelerated) {
        out.DevCaps |= d3ddevcaps::HWTRANSFORMANDLIGHT;
    }
    return d3d::OK;
}

HResult SdlDirect3D::getAdapterIdentifier(std::uint32_t, AdapterIdentifier& out) {
    out = AdapterIdentifier{};
    if (!facts().found) {
        return d3derr::NOTAVAILABLE;
    }
    const char* videoDriver = SDL_GetCurrentVideoDriver();
    copyText(out.Driver,
             facts().renderDriver + " on " + (videoDriver != nullptr ? videoDriver : "?"));
    copyText(out.Description, facts().description);
    const char* displayName = SDL_GetDisplayName(DISPLAY);
    copyText(out.DeviceName, displayName != nullptr ? displayName : "display 0");
    out.DriverVersion = driverVersion(facts().version);
    return d3d::OK;
}

HResult SdlDirect3D::createDevice(WindowHandle focusWindow, std::uint32_t,
                                  PresentParameters& parameters, Device** out) {
    if (out == nullptr) {
        return d3derr::INVALIDCALL;
    }
    WindowHandle handle =
        parameters.hDeviceWindow != nullptr ? parameters.hDeviceWindow : focusWindow;
    WindowRecord* window = windows.find(handle);
    if (window == nullptr) {
        return d3derr::INVALIDCALL;
    }
    SdlDevice* device = nullptr;
    const HResult result = SdlDevice::create(*window, parameters, &device);
    if (failed(result)) {
        return result;
    }
    *out = device;
    return d3d::OK;
}

}  // namespace platform::sdl
