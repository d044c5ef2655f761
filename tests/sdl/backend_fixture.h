#pragma once
// A live SDL backend on the test's X server: one window of a class whose procedure
// records what it receives, and helpers that run the message loop for a while.
#include <gtest/gtest.h>

#include <SDL.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/sdl/device.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/window_registry.h"
#include "test_images.h"
#include "x_driver.h"

namespace sdltest {

namespace sdl = platform::sdl;

// Messages the test window's procedure was given.
std::vector<platform::Message>& received();

std::intptr_t recordingProcedure(platform::WindowHandle window, std::uint32_t message,
                                 std::uintptr_t wParam, std::intptr_t lParam);

class BackendTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the device: windowed with an 800 x 600 back buffer in a captioned
    // window at (100, 80), or full screen at the screen's own size.
    void createDevice(bool windowed = true);
    platform::PresentParameters parameters(bool windowed) const;
    sdl::SdlDevice& sdlDevice() { return *static_cast<platform::sdl::SdlDevice*>(device); }

    // Takes and dispatches messages for `milliseconds`, or until `done` holds. The
    // limit is generous: a busy machine may take seconds to deliver an event.
    bool pumpUntil(const std::function<bool()>& done, std::uint32_t milliseconds = 15000);
    void pumpFor(std::uint32_t milliseconds) {
        pumpUntil([] { return false; }, milliseconds);
    }

    // Makes the test window ready for keys and the mouse: mapped, with the focus,
    // and the pointer over it. Input sent earlier may reach another window or none.
    bool readyForInput();
    Window xWindow();

    SDL_Window* sdlWindow() { return registry()->sdl; }
    platform::sdl::WindowRecord* registry() {
        return static_cast<platform::sdl::WindowRecord*>(window);
    }

    std::unique_ptr<platform::sdl::SdlPlatform> backend;
    platform::WindowHandle window = nullptr;
    platform::Direct3D* direct3d = nullptr;
    platform::Device* device = nullptr;
    TempFolder folder;
    XDriver x;
};

}  // namespace sdltest
