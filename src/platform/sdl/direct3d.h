#pragma once
// Display modes, capabilities and device creation on SDL, for display 0.
#include <SDL.h>

#include <optional>

#include "platform/platform.h"
#include "platform/sdl/adapter_facts.h"
#include "platform/sdl/window_registry.h"

namespace platform::sdl {

// The display format of an SDL pixel format: 23 for 16 bits, 24 for 15 bits, 22
// for 24 and 32 bits, 0 (unknown) for anything else.
std::int32_t displayFormatOf(Uint32 pixelFormat);

class SdlDirect3D : public Direct3D {
public:
    explicit SdlDirect3D(WindowRegistry& windows) : windows(windows) {}

    HResult getAdapterDisplayMode(DisplayMode& out) override;
    std::uint32_t getAdapterModeCount(std::int32_t format) override;
    HResult enumAdapterModes(std::int32_t format, std::uint32_t index, DisplayMode& out) override;
    HResult checkDeviceType(std::int32_t adapterFormat, std::int32_t backBufferFormat,
                            bool windowed) override;
    HResult getDeviceCaps(Caps& out) override;
    HResult getAdapterIdentifier(std::uint32_t flags, AdapterIdentifier& out) override;
    HResult createDevice(WindowHandle focusWindow, std::uint32_t behaviourFlags,
                         PresentParameters& parameters, Device** out) override;

private:
    const AdapterFacts& facts();

    WindowRegistry& windows;
    std::optional<AdapterFacts> adapterFacts;
};

}  // namespace platform::sdl
