#include <algorithm>

#include "graphics/graphics.h"
#include "log/log.h"

void Graphics::setScreenFormat(const ScreenFormat& requested) {
    // The frame start passes `currentFormat` itself, which the search overwrites.
    const ScreenFormat request = requested;

    Log::info("Validating requested screen format...");
    if (!findNearestScreenFormat(request, currentFormat)) {
        Log::error("Your graphics hardware does not support any compatable screen formats.");
    }
    if (request.compare(currentFormat) != 0) {
        Log::warning("The screen format " + request.toString() +
                     " is not availible.\nThe nearest format " + currentFormat.toString() +
                     " will be used instead.");
    }
    Log::info("Success!");

    const bool windowed = currentFormat.mode == ScreenFormat::WINDOWED;
    presentParameters = platform::PresentParameters();
    presentParameters.BackBufferWidth = static_cast<std::uint32_t>(currentFormat.width);
    presentParameters.BackBufferHeight = static_cast<std::uint32_t>(currentFormat.height);
    presentParameters.BackBufferFormat = currentFormat.format;
    presentParameters.BackBufferCount = 1;
    presentParameters.MultiSampleType = platform::d3dmultisample::NONE;
    presentParameters.MultiSampleQuality = 0;
    presentParameters.SwapEffect = platform::d3dswapeffect::DISCARD;
    presentParameters.hDeviceWindow = window;
    presentParameters.Windowed = windowed;
    presentParameters.EnableAutoDepthStencil = true;
    presentParameters.AutoDepthStencilFormat = platform::d3dfmt::D16;
    presentParameters.Flags = 0;
    presentParameters.FullScreen_RefreshRateInHz =
        windowed ? 0 : static_cast<std::uint32_t>(currentFormat.refreshRate);
    presentParameters.PresentationInterval = platform::d3dpresent::INTERVAL_DEFAULT;

    placeWindow();

    if (device != nullptr) {
        // Only the sprite batcher holds state that a reset loses; textures live
        // in the managed pool.
        if (sprite != nullptr) {
            sprite->onLostDevice();
        }
        device->reset(presentParameters);
        if (sprite != nullptr) {
            sprite->onResetDevice();
        }
    } else {
        createDevice();
    }

    platform::Windowing& windowing = platform::current().windowing();
    windowing.updateWindow(window);
    windowing.showWindow(window, platform::sw::SHOW);
    windowing.setFocus(window);
    device->setRenderState(platform::d3drs::CULLMODE, platform::d3dcull::NONE);
}

void Graphics::placeWindow() {
    platform::Windowing& windowing = platform::current().windowing();
    if (!presentParameters.Windowed) {
        windowing.setStyle(
            window, platform::ws::POPUP | platform::ws::CLIPSIBLINGS | platform::ws::CLIPCHILDREN);
        windowing.setWindowPos(window, platform::hwnd::TOPMOST, 0, 0, 0, 0,
                               platform::swp::NOSIZE | platform::swp::NOMOVE);
        return;
    }

    platform::DisplayMode desktop;
    direct3d->getAdapterDisplayMode(desktop);
    const auto width = static_cast<std::int64_t>(presentParameters.BackBufferWidth);
    const auto height = static_cast<std::int64_t>(presentParameters.BackBufferHeight);
    // Centred on the desktop; a desktop that has shrunk below the format since
    // start-up puts the client area in the top-left corner instead.
    const std::int64_t left = std::max<std::int64_t>(0, (desktop.Width - width) / 2);
    const std::int64_t top = std::max<std::int64_t>(0, (desktop.Height - height) / 2);
    platform::Rect area;
    area.left = static_cast<std::int32_t>(left);
    area.top = static_cast<std::int32_t>(top);
    area.right = static_cast<std::int32_t>(left + width);
    area.bottom = static_cast<std::int32_t>(top + height);

    windowing.setStyle(window, platform::ws::CAPTION | platform::ws::SYSMENU |
                                   platform::ws::MINIMIZEBOX | platform::ws::CLIPSIBLINGS |
                                   platform::ws::CLIPCHILDREN);
    area =
        windowing.adjustWindowRect(area, windowing.style(window), windowing.extendedStyle(window));
    windowing.setWindowPos(window, platform::hwnd::NOTOPMOST, area.left, area.top,
                           area.right - area.left, area.bottom - area.top, 0);
}

void Graphics::createDevice() {
    Log::info("Choosing vertex processing mode...");
    std::uint32_t behaviour =
        platform::d3dcreate::DISABLE_DRIVER_MANAGEMENT | platform::d3dcreate::FPU_PRESERVE;
    if ((caps.DevCaps & platform::d3ddevcaps::HWTRANSFORMANDLIGHT) != 0) {
        Log::info("Using hardware vertex processing.");
        behaviour |= platform::d3dcreate::HARDWARE_VERTEXPROCESSING;
    } else {
        Log::info("Using software vertex processing.");
        behaviour |= platform::d3dcreate::SOFTWARE_VERTEXPROCESSING;
    }
    Log::info("Success!");

    Log::info("Creating Direct3DDevice9...");
    platform::Device* created = nullptr;
    if (direct3d->createDevice(presentParameters.hDeviceWindow, behaviour, presentParameters,
                               &created) != platform::d3d::OK ||
        created == nullptr) {
        Log::error("Failed to create Direct3DDevice9.");
    }
    device = created;
    Log::info("Success!");
    // A batcher that could not be made stays null; drawing then does nothing.
    if (platform::failed(device->createSprite(&sprite))) {
        sprite = nullptr;
    }
}
