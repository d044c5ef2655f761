// A full-screen device is lost while its window is minimised, can be reset once
// the window is back, and keeps its managed textures through the reset.
#include "d3d9_fixture.h"

#include "graphics/transform2d.h"

namespace win32_d3d9_test {
namespace {

using DeviceLossTest = D3D9Fixture;

TEST_F(DeviceLossTest, MinimisingLosesTheDeviceAndResetBringsItBackWithItsTextures) {
    platform::PresentParameters presentParameters = parameters(false, 0);
    std::unique_ptr<platform::Device> device = createDevice(presentParameters);
    ASSERT_NE(device, nullptr);
    platform::SpriteBatch* made = nullptr;
    ASSERT_EQ(device->createSprite(&made), platform::d3d::OK);
    std::unique_ptr<platform::SpriteBatch> sprite(made);
    std::unique_ptr<platform::TextureResource> texture = quadrantTexture(*device);
    ASSERT_NE(texture, nullptr);
    ASSERT_EQ(device->testCooperativeLevel(), platform::d3d::OK);

    // The device is lost when its window loses the activation, so it must have it
    // first: the window manager hands it over some time after the window shows.
    SetForegroundWindow(window);
    ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == window; }));
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(waitFor([&] {
        return device->testCooperativeLevel() == platform::d3derr::DEVICELOST;
    })) << "still "
        << std::hex << device->testCooperativeLevel();
    ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    EXPECT_TRUE(waitFor([&] {
        return device->testCooperativeLevel() == platform::d3derr::DEVICENOTRESET;
    })) << "still "
        << std::hex << device->testCooperativeLevel();

    EXPECT_EQ(sprite->onLostDevice(), platform::d3d::OK);
    platform::PresentParameters again = parameters(false, 0);
    ASSERT_EQ(device->reset(again), platform::d3d::OK);
    EXPECT_EQ(sprite->onResetDevice(), platform::d3d::OK);
    EXPECT_EQ(device->testCooperativeLevel(), platform::d3d::OK);

    // The texture kept its size and its texels.
    platform::SurfaceDesc level;
    ASSERT_EQ(texture->getLevelDesc(0, level), platform::d3d::OK);
    EXPECT_EQ(level.Width, 32u);
    ASSERT_EQ(device->clear(platform::d3dclear::TARGET | platform::d3dclear::ZBUFFER, 0xFF000000u,
                            1.0f, 0),
              platform::d3d::OK);
    ASSERT_EQ(device->beginScene(), platform::d3d::OK);
    ASSERT_EQ(sprite->begin(platform::d3dxsprite::ALPHABLEND), platform::d3d::OK);
    EXPECT_EQ(sprite->setTransform(graphics::transformation2D({1, 1}, {0, 0}, 0, {50, 60})),
              platform::d3d::OK);
    EXPECT_EQ(sprite->draw(texture.get(), nullptr, 0xFFFFFFFFu), platform::d3d::OK);
    EXPECT_EQ(sprite->end(), platform::d3d::OK);
    EXPECT_EQ(device->endScene(), platform::d3d::OK);
    const FrameCopy frame = readBack(*device);
    EXPECT_PRED3(closeTo, frame.at(58, 68), (Pixel{255, 0, 0}), 3);
    EXPECT_PRED3(closeTo, frame.at(74, 68), (Pixel{0, 255, 0}), 3);
    EXPECT_PRED3(closeTo, frame.at(58, 84), (Pixel{0, 0, 255}), 3);
    EXPECT_PRED3(closeTo, frame.at(74, 84), (Pixel{255, 255, 255}), 3);
    EXPECT_EQ(device->present(), platform::d3d::OK);
}

}  // namespace
}  // namespace win32_d3d9_test
