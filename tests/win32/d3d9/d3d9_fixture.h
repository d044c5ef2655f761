#pragma once
// A plain 800 x 600 popup window made with raw Win32 calls, the backend's
// Direct3D object, and helpers to make a device the way the engine does, to wait
// for a condition with a limit, and to read back the rendered pixels.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace win32_d3d9_test {

constexpr int SCREEN_WIDTH = 800;
constexpr int SCREEN_HEIGHT = 600;

struct Pixel {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// A copy of the back buffer in system memory.
struct FrameCopy {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // X8R8G8B8, row after row

    Pixel at(int x, int y) const;
};

// Equal within `tolerance` per channel (blending rounds either way).
bool closeTo(const Pixel& actual, const Pixel& expected, int tolerance = 3);
std::ostream& operator<<(std::ostream& out, const Pixel& pixel);

class D3D9Fixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Presentation parameters as the engine fills them for this window.
    platform::PresentParameters parameters(bool windowed, std::uint32_t refreshRate = 0) const;
    // Creates the device with the engine's behaviour flags; fails the test on a failure.
    std::unique_ptr<platform::Device> createDevice(platform::PresentParameters& presentParameters);

    // Takes and dispatches every waiting message of this thread.
    static void pumpMessages();
    // Pumps messages until `condition` holds or `limitMilliseconds` pass.
    static bool waitFor(const std::function<bool()>& condition, DWORD limitMilliseconds = 20000);

    // Copies the device's back buffer (GetRenderTargetData into a system-memory surface).
    static FrameCopy readBack(platform::Device& device);

    // Loads a 32 x 32 picture and paints its quadrants red (top left), green (top
    // right), blue (bottom left) and white (bottom right), all opaque.
    static std::unique_ptr<platform::TextureResource> quadrantTexture(platform::Device& device);

    // "<source folder>/resources/<name>".
    static std::string resourcePath(const std::string& name);

    HWND window = nullptr;
    // The program's one Direct3D object (made once: Wine takes long over it).
    platform::Direct3D* direct3D = nullptr;
};

// The fixture with a windowed 800 x 600 device on its window.
class WindowedDeviceFixture : public D3D9Fixture {
protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<platform::Device> device;
};

}  // namespace win32_d3d9_test
