// Device creation windowed and full screen, the frame calls, and the presentation
// parameters copied back out of CreateDevice and Reset.
#include "d3d9_fixture.h"

namespace win32_d3d9_test {
namespace {

using DeviceTest = D3D9Fixture;

void expectOneFrame(platform::Device& device) {
    EXPECT_EQ(device.testCooperativeLevel(), platform::d3d::OK);
    EXPECT_EQ(device.setRenderState(platform::d3drs::CULLMODE, platform::d3dcull::NONE),
              platform::d3d::OK);
    EXPECT_EQ(device.clear(platform::d3dclear::TARGET | platform::d3dclear::ZBUFFER, 0xFF000000u,
                           1.0f, 0),
              platform::d3d::OK);
    EXPECT_EQ(device.beginScene(), platform::d3d::OK);
    EXPECT_EQ(device.endScene(), platform::d3d::OK);
    EXPECT_EQ(device.present(), platform::d3d::OK);
}

// The refresh rate of the 800 x 600 mode in 32 bits; 0 when there is none.
std::uint32_t refreshRateOf800x600(platform::Direct3D& direct3D) {
    const std::uint32_t count = direct3D.getAdapterModeCount(platform::d3dfmt::X8R8G8B8);
    for (std::uint32_t index = 0; index < count; ++index) {
        platform::DisplayMode mode;
        if (direct3D.enumAdapterModes(platform::d3dfmt::X8R8G8B8, index, mode) ==
                platform::d3d::OK &&
            mode.Width == 800 && mode.Height == 600) {
            return mode.RefreshRate;
        }
    }
    return 0;
}

TEST_F(DeviceTest, AWindowedDeviceDrawsAndReportsTheParametersItChose) {
    platform::PresentParameters presentParameters = parameters(true);
    // Left to the device: the back buffer's size (the window's client area) and count.
    presentParameters.BackBufferWidth = 0;
    presentParameters.BackBufferHeight = 0;
    presentParameters.BackBufferCount = 0;
    std::unique_ptr<platform::Device> device = createDevice(presentParameters);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(presentParameters.BackBufferWidth, 800u);
    EXPECT_EQ(presentParameters.BackBufferHeight, 600u);
    EXPECT_EQ(presentParameters.BackBufferCount, 1u);
    EXPECT_TRUE(presentParameters.Windowed);
    EXPECT_EQ(presentParameters.hDeviceWindow, window);
    expectOneFrame(*device);

    // Clearing reaches the back buffer.
    EXPECT_EQ(device->clear(platform::d3dclear::TARGET, 0xFF204060u, 1.0f, 0), platform::d3d::OK);
    EXPECT_PRED3(closeTo, readBack(*device).at(10, 590), (Pixel{0x20, 0x40, 0x60}), 0);

    // Reset copies its parameters back out too.
    platform::PresentParameters again = parameters(true);
    again.BackBufferCount = 0;
    EXPECT_EQ(device->reset(again), platform::d3d::OK);
    EXPECT_EQ(again.BackBufferCount, 1u);
    expectOneFrame(*device);
}

TEST_F(DeviceTest, AFullScreenDeviceSwitchesTheScreenTo800x600) {
    const std::uint32_t refreshRate = refreshRateOf800x600(*direct3D);
    platform::PresentParameters presentParameters = parameters(false, refreshRate);
    std::unique_ptr<platform::Device> device = createDevice(presentParameters);
    ASSERT_NE(device, nullptr);
    EXPECT_FALSE(presentParameters.Windowed);
    EXPECT_EQ(presentParameters.FullScreen_RefreshRateInHz, refreshRate);

    platform::DisplayMode mode;
    ASSERT_EQ(direct3D->getAdapterDisplayMode(mode), platform::d3d::OK);
    EXPECT_EQ(mode.Width, 800u);
    EXPECT_EQ(mode.Height, 600u);
    expectOneFrame(*device);

    // Back to a window and full screen again through Reset, as a change of format does.
    platform::PresentParameters windowed = parameters(true);
    EXPECT_EQ(device->reset(windowed), platform::d3d::OK);
    expectOneFrame(*device);
    platform::PresentParameters fullScreen = parameters(false, refreshRate);
    EXPECT_EQ(device->reset(fullScreen), platform::d3d::OK);
    expectOneFrame(*device);
}

TEST_F(DeviceTest, ARefusedDeviceLeavesTheOutArgumentAlone) {
    platform::PresentParameters presentParameters = parameters(false, 0);
    // No adapter shows a depth format.
    presentParameters.BackBufferFormat = platform::d3dfmt::D16;
    platform::Device* const sentinel = reinterpret_cast<platform::Device*>(0x1);
    platform::Device* device = sentinel;
    EXPECT_TRUE(platform::failed(direct3D->createDevice(
        window, platform::d3dcreate::SOFTWARE_VERTEXPROCESSING, presentParameters, &device)));
    EXPECT_EQ(device, sentinel);
}

}  // namespace
}  // namespace win32_d3d9_test
