// Putting the display into a format: validation, presentation parameters, the
// window's style and place, device creation and reset.
#include "graphics_fixture.h"

namespace graphics_tests {
namespace {

using fakes::displayMode;
namespace d3dfmt = platform::d3dfmt;

const ScreenFormat GAME_REQUEST(800, 600, d3dfmt::X8R8G8B8, 100, ScreenFormat::FULLSCREEN);

class DisplaySetupTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        ASSERT_TRUE(Graphics::initialize("MainGameClass", "Tessak", ""));
        forgetLog();
        fake.journal.clear();
    }
    const fakes::FakeWindow& window() const { return *fake.windows.windows.at(0); }
};

TEST_F(DisplaySetupTest, FirstCallCreatesTheDeviceFullScreen) {
    Graphics::setScreenFormat(GAME_REQUEST);

    EXPECT_EQ(messages(),
              (std::vector<std::string>{"Validating requested screen format...", "Success!",
                                        "Choosing vertex processing mode...",
                                        "Using hardware vertex processing.", "Success!",
                                        "Creating Direct3DDevice9...", "Success!"}));
    EXPECT_TRUE(platformFake.fakeSystem.boxes.empty());

    ASSERT_EQ(fake.direct3d.creations.size(), 1u);
    const fakes::CreateDeviceCall& creation = fake.direct3d.creations[0];
    EXPECT_EQ(creation.behaviourFlags, 0x142u);
    EXPECT_EQ(creation.focusWindow, Graphics::getWindow());
    const platform::PresentParameters& p = creation.parameters;
    EXPECT_EQ(p.BackBufferWidth, 800u);
    EXPECT_EQ(p.BackBufferHeight, 600u);
    EXPECT_EQ(p.BackBufferFormat, d3dfmt::X8R8G8B8);
    EXPECT_EQ(p.BackBufferCount, 1u);
    EXPECT_EQ(p.MultiSampleType, 0u);
    EXPECT_EQ(p.MultiSampleQuality, 0u);
    EXPECT_EQ(p.SwapEffect, platform::d3dswapeffect::DISCARD);
    EXPECT_EQ(p.hDeviceWindow, Graphics::getWindow());
    EXPECT_FALSE(p.Windowed);
    EXPECT_TRUE(p.EnableAutoDepthStencil);
    EXPECT_EQ(p.AutoDepthStencilFormat, platform::d3dfmt::D16);
    EXPECT_EQ(p.Flags, 0u);
    EXPECT_EQ(p.FullScreen_RefreshRateInHz, 100u);
    EXPECT_EQ(p.PresentationInterval, 0u);

    const std::vector<std::string> order = {
        "window.setStyle 0x86000000",
        "window.setWindowPos -1 0 0 0 0 0x3",
        "d3d.createDevice 0x142",
        "device.createSprite",
        "window.updateWindow",
        "window.showWindow 5",
        "window.setFocus",
        "device.setRenderState 22 1",
    };
    EXPECT_EQ(fake.journal, order);
    EXPECT_TRUE(window().visible);
    EXPECT_TRUE(window().focused);
    EXPECT_EQ(window().zOrder, platform::hwnd::TOPMOST);
    EXPECT_EQ(Graphics::getCurrentScreenFormat().toString(), GAME_REQUEST.toString());
}

TEST_F(DisplaySetupTest, SoftwareVertexProcessingWithoutHardwareTransform) {
    Graphics::resetForTests();
    fake.direct3d.caps.DevCaps = 0x0000FFFFu;  // everything but transform and lighting
    Graphics::initialize("MainGameClass", "Tessak", "");
    forgetLog();
    Graphics::setScreenFormat(GAME_REQUEST);
    ASSERT_EQ(fake.direct3d.creations.size(), 1u);
    EXPECT_EQ(fake.direct3d.creations[0].behaviourFlags, 0x122u);
    EXPECT_EQ(messages().at(3), "Using software vertex processing.");
}

TEST_F(DisplaySetupTest, WindowedFormatIsCentredOnTheDesktopAndCaptioned) {
    fake.windows.borderWidth = 0;
    fake.windows.captionHeight = 0;
    Graphics::setScreenFormat(ScreenFormat(800, 600, d3dfmt::X8R8G8B8, 60, ScreenFormat::WINDOWED));
    ASSERT_EQ(fake.windows.placements.size(), 1u);
    const fakes::SetWindowPosCall& place = fake.windows.placements[0];
    EXPECT_EQ(place.insertAfter, platform::hwnd::NOTOPMOST);
    EXPECT_EQ(place.x, 112);
    EXPECT_EQ(place.y, 84);
    EXPECT_EQ(place.x + place.width, 912);
    EXPECT_EQ(place.y + place.height, 684);
    EXPECT_EQ(place.flags, 0u);
    EXPECT_EQ(window().style, 0x06CA0000u);

    const platform::PresentParameters& p = fake.direct3d.creations.at(0).parameters;
    EXPECT_TRUE(p.Windowed);
    EXPECT_EQ(p.FullScreen_RefreshRateInHz, 0u);  // whatever the entry's rate
}

TEST_F(DisplaySetupTest, TheWindowFrameIsAddedForTheNewStyle) {
    // The fake adds 3 pixels each side and a 22-pixel caption for captioned styles.
    Graphics::setScreenFormat(ScreenFormat(640, 480, d3dfmt::X8R8G8B8, 60, ScreenFormat::WINDOWED));
    const fakes::SetWindowPosCall& place = fake.windows.placements.at(0);
    EXPECT_EQ(place.x, 192 - 3);
    EXPECT_EQ(place.y, 144 - 25);
    EXPECT_EQ(place.width, 646);
    EXPECT_EQ(place.height, 508);
}

TEST_F(DisplaySetupTest, ADesktopSmallerThanTheWindowPutsItInTheCorner) {
    fake.windows.borderWidth = 0;
    fake.windows.captionHeight = 0;
    fake.direct3d.desktop = displayMode(640, 480, 60, d3dfmt::X8R8G8B8);
    Graphics::setScreenFormat(ScreenFormat(800, 600, d3dfmt::X8R8G8B8, 60, ScreenFormat::WINDOWED));
    const fakes::SetWindowPosCall& place = fake.windows.placements.at(0);
    EXPECT_EQ(place.x, 0);
    EXPECT_EQ(place.y, 0);
    EXPECT_EQ(place.width, 800);
    EXPECT_EQ(place.height, 600);
}

TEST_F(DisplaySetupTest, AnUnavailableRequestWarnsAndUsesTheNearest) {
    fake.direct3d.modes[d3dfmt::X8R8G8B8] = {displayMode(800, 600, 85, d3dfmt::X8R8G8B8),
                                             displayMode(800, 600, 120, d3dfmt::X8R8G8B8)};
    fake.direct3d.modes[platform::d3dfmt::R5G6B5] = {
        displayMode(800, 600, 100, platform::d3dfmt::R5G6B5)};
    Graphics::enumerateScreenFormats();
    forgetLog();

    Graphics::setScreenFormat(GAME_REQUEST);
    const std::string text =
        "The screen format [800x600[1.33333:1] x 32bit[X8R8G8B8] x 100Hz x Fullscreen] is not "
        "availible.\nThe nearest format [800x600[1.33333:1] x 32bit[X8R8G8B8] x 85Hz x "
        "Fullscreen] will be used instead.";
    ASSERT_EQ(platformFake.fakeSystem.boxes.size(), 1u);
    EXPECT_EQ(platformFake.fakeSystem.boxes[0].text, text);
    const std::vector<LogEntry> expected = {info("Validating requested screen format..."),
                                            warning(text), info("Success!")};
    const std::vector<LogEntry> logged = entries();
    ASSERT_GE(logged.size(), 3u);
    EXPECT_EQ(std::vector<LogEntry>(logged.begin(), logged.begin() + 3), expected);
    EXPECT_EQ(Graphics::getCurrentScreenFormat().refreshRate, 85);
    EXPECT_EQ(fake.direct3d.creations.at(0).parameters.FullScreen_RefreshRateInHz, 85u);
}

TEST_F(DisplaySetupTest, ASameDepthFormatIsNoReasonToWarn) {
    Graphics::setScreenFormat(ScreenFormat(800, 600, platform::d3dfmt::A8R8G8B8, 100, 1));
    EXPECT_TRUE(platformFake.fakeSystem.boxes.empty());
    EXPECT_EQ(Graphics::getCurrentScreenFormat().format, d3dfmt::X8R8G8B8);
}

TEST_F(DisplaySetupTest, DeviceCreationFailureIsFatal) {
    fake.direct3d.createDeviceResult = platform::d3derr::NOTAVAILABLE;
    EXPECT_THROW(Graphics::setScreenFormat(GAME_REQUEST), Log::Fatal);
    const std::vector<LogEntry> logged = entries();
    ASSERT_FALSE(logged.empty());
    EXPECT_EQ(logged.back(), error("Failed to create Direct3DDevice9."));
    EXPECT_EQ(messages().at(logged.size() - 2), "Creating Direct3DDevice9...");
    EXPECT_EQ(fake.device().spritesCreated, 0);
}

TEST_F(DisplaySetupTest, ALaterCallResetsTheDeviceAndSwitchesTheWindow) {
    Graphics::setScreenFormat(GAME_REQUEST);
    forgetLog();
    fake.journal.clear();

    Graphics::setScreenFormat(ScreenFormat(640, 480, d3dfmt::X8R8G8B8, 60, ScreenFormat::WINDOWED));
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"Validating requested screen format...", "Success!"}));
    EXPECT_EQ(fake.direct3d.creations.size(), 1u);
    EXPECT_EQ(fake.device().spritesCreated, 1);
    ASSERT_EQ(fake.device().resets.size(), 1u);
    EXPECT_TRUE(fake.device().resets[0].Windowed);
    EXPECT_EQ(fake.device().resets[0].BackBufferWidth, 640u);

    const std::vector<std::string> order = {
        "d3d.getAdapterDisplayMode",
        "window.setStyle 0x6CA0000",
        "window.setWindowPos -2 189 119 646 508 0x0",
        "sprite.onLostDevice",
        "device.reset",
        "sprite.onResetDevice",
        "window.updateWindow",
        "window.showWindow 5",
        "window.setFocus",
        "device.setRenderState 22 1",
    };
    EXPECT_EQ(fake.journal, order);
}

}  // namespace
}  // namespace graphics_tests
