// The SDL backend on an X server with no window manager, as in a kiosk session:
// nothing but the backend itself places and sizes its windows there.
#include "backend_fixture.h"

namespace {

using namespace platform;
using sdltest::BackendTest;

// Clears the back buffer to the colour and shows it.
void showColour(Device& device, std::uint32_t colour) {
    device.clear(d3dclear::TARGET, 0xFF000000 | colour, 1.0f, 0);
    device.beginScene();
    device.endScene();
    device.present();
}

TEST_F(BackendTest, FullScreenWindowCoversTheScreenWithoutAWindowManager) {
    createDevice(false);
    const Window target = xWindow();
    ASSERT_NE(target, None);
    ASSERT_FALSE(x.framed(target)) << "a window manager runs on the test's X server";
    const std::pair<int, int> screen{1024, 768};
    EXPECT_TRUE(pumpUntil([&] { return x.size(target) == screen; }))
        << "the window stays " << x.size(target).first << " x " << x.size(target).second;

    // What is drawn reaches every corner of the screen, not a strip of it.
    ASSERT_TRUE(pumpUntil([&] {
        showColour(*device, 0x00FF00);
        return x.screenPixel(0, 0) == 0x00FF00 && x.screenPixel(1023, 767) == 0x00FF00 &&
               x.screenPixel(1023, 0) == 0x00FF00 && x.screenPixel(0, 767) == 0x00FF00;
    })) << std::hex
        << x.screenPixel(1023, 767);
}

TEST_F(BackendTest, SmallerFullScreenBackBufferIsShownOverTheWholeScreen) {
    // 800 x 600 cannot be set on this screen: the closest mode is the screen's own,
    // and the back buffer is shown scaled to it.
    PresentParameters p = parameters(false);
    p.BackBufferWidth = 800;
    p.BackBufferHeight = 600;
    ASSERT_EQ(direct3d->createDevice(window, 0, p, &device), d3d::OK);
    backend->windowing().showWindow(window, sw::SHOW);
    const Window target = xWindow();
    const std::pair<int, int> screen{1024, 768};
    EXPECT_TRUE(pumpUntil([&] { return x.size(target) == screen; }));
    ASSERT_TRUE(pumpUntil([&] {
        showColour(*device, 0x0000FF);
        return x.screenPixel(1023, 767) == 0x0000FF && x.screenPixel(0, 0) == 0x0000FF;
    }));
}

}  // namespace
