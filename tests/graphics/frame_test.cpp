// The frame bracket, device recovery and the window procedure.
#include "graphics_fixture.h"

namespace graphics_tests {
namespace {

namespace d3d = platform::d3d;
namespace d3derr = platform::d3derr;

class FrameTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        fake.start();
        forgetLog();
    }
};

TEST_F(FrameTest, AGoodFrameClearsOpensDrawsAndPresents) {
    ASSERT_TRUE(Graphics::beginFrame());
    EXPECT_TRUE(fake.device().inScene);
    EXPECT_TRUE(fake.sprite().open);
    Graphics::endFrame();
    const std::vector<std::string> order = {"device.testCooperativeLevel",
                                            "device.clear 0x3 0x0",
                                            "device.beginScene",
                                            "sprite.begin 0x10",
                                            "sprite.end",
                                            "device.endScene",
                                            "device.present"};
    EXPECT_EQ(fake.journal, order);
    ASSERT_EQ(fake.device().clears.size(), 1u);
    EXPECT_EQ(fake.device().clears[0].z, 1.0f);
    EXPECT_EQ(fake.device().clears[0].stencil, 0u);
    EXPECT_FALSE(fake.device().inScene);
    EXPECT_TRUE(messages().empty());
}

TEST_F(FrameTest, TwoBracketsInOneLoopPassPresentTwice) {
    for (int bracket = 0; bracket < 2; ++bracket) {
        ASSERT_TRUE(Graphics::beginFrame());
        Graphics::endFrame();
    }
    EXPECT_EQ(fake.device().presents, 2);
    EXPECT_EQ(fake.device().scenesBegun, 2);
}

TEST_F(FrameTest, LostThenResettableThenBackToDrawing) {
    fake.device().cooperativeResults = {d3derr::DEVICELOST, d3derr::DEVICELOST,
                                        d3derr::DEVICENOTRESET, d3d::OK};
    const ScreenFormat before = Graphics::getCurrentScreenFormat();

    EXPECT_FALSE(Graphics::beginFrame());
    EXPECT_FALSE(Graphics::beginFrame());
    // Lost: nothing but the test, and nothing logged.
    EXPECT_EQ(fake.journal, (std::vector<std::string>{"device.testCooperativeLevel",
                                                      "device.testCooperativeLevel"}));
    EXPECT_TRUE(messages().empty());

    // Resettable: the reset happens and the frame is still skipped.
    EXPECT_FALSE(Graphics::beginFrame());
    ASSERT_EQ(fake.device().resets.size(), 1u);
    EXPECT_EQ(fake.direct3d.creations.size(), 1u);
    EXPECT_EQ(fake.device().resets[0].BackBufferWidth, 800u);
    EXPECT_EQ(fake.device().resets[0].FullScreen_RefreshRateInHz, 100u);
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"Validating requested screen format...", "Success!"}));
    EXPECT_TRUE(platformFake.fakeSystem.boxes.empty());
    EXPECT_EQ(Graphics::getCurrentScreenFormat().toString(), before.toString());
    EXPECT_EQ(fake.device().clears.size(), 0u);

    EXPECT_TRUE(Graphics::beginFrame());
    Graphics::endFrame();
    EXPECT_EQ(fake.device().presents, 1);
}

TEST_F(FrameTest, AFailedResetIsRetriedEveryFrame) {
    fake.device().resetResult = platform::d3derr::INVALIDCALL;
    fake.device().cooperativeResults = {d3derr::DEVICENOTRESET, d3derr::DEVICENOTRESET,
                                        d3derr::DEVICENOTRESET};
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_FALSE(Graphics::beginFrame());
    }
    EXPECT_EQ(fake.device().resets.size(), 3u);
    EXPECT_TRUE(Graphics::beginFrame());
}

TEST_F(FrameTest, DriverInternalErrorIsFatal) {
    fake.device().cooperativeResults = {platform::d3derr::DRIVERINTERNALERROR};
    EXPECT_THROW(Graphics::beginFrame(), Log::Fatal);
    EXPECT_EQ(
        entries(),
        (std::vector<LogEntry>{error("Video driver internal error, unable to restore device.")}));
    EXPECT_EQ(fake.device().clears.size(), 0u);
}

TEST_F(FrameTest, AnyOtherResultIsFatal) {
    for (const platform::HResult code :
         {platform::e::FAIL, platform::HResult{1}, platform::d3derr::NOTAVAILABLE}) {
        forgetLog();
        fake.device().cooperativeResults = {code};
        EXPECT_THROW(Graphics::beginFrame(), Log::Fatal) << code;
        EXPECT_EQ(entries(),
                  (std::vector<LogEntry>{error("Unexpected return code from TestCooperativeLevel, "
                                               "unable to restore device.")}))
            << code;
    }
}

TEST_F(FrameTest, ClearTouchesTheTargetOnly) {
    Graphics::clear(0xFF123456u);
    ASSERT_EQ(fake.device().clears.size(), 1u);
    EXPECT_EQ(fake.device().clears[0].flags, platform::d3dclear::TARGET);
    EXPECT_EQ(fake.device().clears[0].colour, 0xFF123456u);
    EXPECT_EQ(fake.device().clears[0].z, 0.0f);
}

TEST_F(FrameTest, WindowProcedureQuitsOnCloseAndDestroy) {
    const platform::WindowHandle window = Graphics::getWindow();
    fake.windows.defaultResult = 77;
    auto& queue = platformFake.fakeSystem.queue;

    EXPECT_EQ(fake.windows.send(window, platform::wm::CLOSE), 0);
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue.back().message, platform::wm::QUIT);
    EXPECT_EQ(queue.back().wParam, 0u);
    EXPECT_TRUE(fake.windows.defaultHandled.empty());
    EXPECT_FALSE(fake.windows.windows[0]->destroyed);

    // Destroying the window also ends the main loop, after default handling.
    fake.windows.destroyWindow(window);
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue.back().message, platform::wm::QUIT);
    ASSERT_EQ(fake.windows.defaultHandled.size(), 1u);
    EXPECT_EQ(fake.windows.defaultHandled[0].message, platform::wm::DESTROY);
}

TEST_F(FrameTest, DispatchedMessagesReachTheWindowProcedure) {
    fake.routeMessagesToWindows();
    platform::Message close;
    close.window = Graphics::getWindow();
    close.message = platform::wm::CLOSE;
    platformFake.fakeSystem.dispatchMessage(close);
    ASSERT_EQ(platformFake.fakeSystem.queue.size(), 1u);
    EXPECT_EQ(platformFake.fakeSystem.queue.front().message, platform::wm::QUIT);
}

TEST_F(FrameTest, WindowProcedureSwallowsScreenSaverAndMonitorPower) {
    const platform::WindowHandle window = Graphics::getWindow();
    fake.windows.defaultResult = 77;
    EXPECT_EQ(fake.windows.send(window, platform::wm::SYSCOMMAND, platform::sc::SCREENSAVE), 0);
    EXPECT_EQ(fake.windows.send(window, platform::wm::SYSCOMMAND, platform::sc::MONITORPOWER, 2),
              0);
    EXPECT_TRUE(fake.windows.defaultHandled.empty());

    // Other commands, and the low bits that Windows may set, go to the default.
    EXPECT_EQ(fake.windows.send(window, platform::wm::SYSCOMMAND, platform::sc::MINIMIZE), 77);
    EXPECT_EQ(fake.windows.send(window, platform::wm::SYSCOMMAND, platform::sc::SCREENSAVE | 1),
              77);
    EXPECT_EQ(fake.windows.send(window, platform::wm::KEYDOWN, platform::vk::ESCAPE, 5), 77);
    ASSERT_EQ(fake.windows.defaultHandled.size(), 3u);
    EXPECT_EQ(fake.windows.defaultHandled[1].wParam, platform::sc::SCREENSAVE | 1);
    EXPECT_EQ(fake.windows.defaultHandled[2].lParam, 5);
    EXPECT_TRUE(platformFake.fakeSystem.queue.empty());
}

}  // namespace
}  // namespace graphics_tests
