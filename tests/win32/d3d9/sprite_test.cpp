// Sprites drawn through the layer with the engine's own transformation, checked
// pixel by pixel in the read-back render target.
#include "d3d9_fixture.h"

#include "graphics/transform2d.h"

namespace win32_d3d9_test {
namespace {

constexpr std::uint32_t BLACK = 0xFF000000u;
const Pixel red{255, 0, 0};
const Pixel green{0, 255, 0};
const Pixel blue{0, 0, 255};
const Pixel white{255, 255, 255};

class SpriteTest : public WindowedDeviceFixture {
protected:
    void SetUp() override {
        WindowedDeviceFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        platform::SpriteBatch* made = nullptr;
        ASSERT_EQ(device->createSprite(&made), platform::d3d::OK);
        sprite.reset(made);
    }

    void TearDown() override {
        sprite.reset();
        WindowedDeviceFixture::TearDown();
    }

    void beginFrame(std::uint32_t clearColour) {
        ASSERT_EQ(device->clear(platform::d3dclear::TARGET | platform::d3dclear::ZBUFFER,
                                clearColour, 1.0f, 0),
                  platform::d3d::OK);
        ASSERT_EQ(device->beginScene(), platform::d3d::OK);
        ASSERT_EQ(sprite->begin(platform::d3dxsprite::ALPHABLEND), platform::d3d::OK);
    }

    // Ends the batch and the scene and reads back what they drew.
    FrameCopy endFrame() {
        EXPECT_EQ(sprite->end(), platform::d3d::OK);
        EXPECT_EQ(device->endScene(), platform::d3d::OK);
        return readBack(*device);
    }

    // One picture the way the engine draws it: scale, turn in whole degrees about
    // a centre in scaled pixels, move; the source rectangle in image pixels.
    void draw(platform::TextureResource& texture, float x, float y, float scale, float centre,
              int degrees, std::uint32_t colour, const platform::Rect& source) {
        const platform::Matrix matrix = graphics::transformation2D(
            {scale, scale}, {centre, centre}, static_cast<float>(degrees * 0.017453292), {x, y});
        EXPECT_EQ(sprite->setTransform(matrix), platform::d3d::OK);
        EXPECT_EQ(sprite->draw(&texture, &source, colour), platform::d3d::OK);
    }

    std::unique_ptr<platform::SpriteBatch> sprite;
};

TEST_F(SpriteTest, ScaleAndRotationPlaceEveryQuadrant) {
    std::unique_ptr<platform::TextureResource> texture = quadrantTexture(*device);
    ASSERT_NE(texture, nullptr);
    beginFrame(BLACK);
    // Twice the size, a quarter turn clockwise about the middle (32, 32) of the
    // 64 x 64 square at (100, 100).
    draw(*texture, 100, 100, 2.0f, 32, 90, 0xFFFFFFFFu, {0, 0, 32, 32});
    const FrameCopy frame = endFrame();

    // Turned clockwise: the bottom left quadrant comes to the top left, and so on.
    EXPECT_PRED3(closeTo, frame.at(116, 116), blue, 3);
    EXPECT_PRED3(closeTo, frame.at(148, 116), red, 3);
    EXPECT_PRED3(closeTo, frame.at(148, 148), green, 3);
    EXPECT_PRED3(closeTo, frame.at(116, 148), white, 3);
    // Doubled: the square reaches from 100 to 163 and no further.
    EXPECT_PRED3(closeTo, frame.at(102, 102), blue, 3);
    EXPECT_PRED3(closeTo, frame.at(161, 161), green, 3);
    EXPECT_PRED3(closeTo, frame.at(98, 130), (Pixel{0, 0, 0}), 0);
    EXPECT_PRED3(closeTo, frame.at(166, 130), (Pixel{0, 0, 0}), 0);
    EXPECT_PRED3(closeTo, frame.at(130, 166), (Pixel{0, 0, 0}), 0);
}

TEST_F(SpriteTest, TheColourTintsAndItsAlphaBlendsOverWhatIsThere) {
    std::unique_ptr<platform::TextureResource> texture = quadrantTexture(*device);
    ASSERT_NE(texture, nullptr);
    beginFrame(0xFF0000C8u);  // blue 200
    // Half opacity, blue taken out of the texels.
    draw(*texture, 300, 100, 1.0f, 0, 0, 0x80FFFF00u, {0, 0, 32, 32});
    // Opaque tint: only the green channel passes.
    draw(*texture, 400, 100, 1.0f, 0, 0, 0xFF00FF00u, {0, 0, 32, 32});
    // Fully transparent: nothing shows.
    draw(*texture, 500, 100, 1.0f, 0, 0, 0x00FFFFFFu, {0, 0, 32, 32});
    const FrameCopy frame = endFrame();

    // colour x alpha + background x (1 - alpha), alpha = 128 / 255.
    EXPECT_PRED3(closeTo, frame.at(308, 108), (Pixel{128, 0, 100}), 3);
    EXPECT_PRED3(closeTo, frame.at(324, 108), (Pixel{0, 128, 100}), 3);
    EXPECT_PRED3(closeTo, frame.at(308, 124), (Pixel{0, 0, 100}), 3);
    EXPECT_PRED3(closeTo, frame.at(324, 124), (Pixel{128, 128, 100}), 3);

    EXPECT_PRED3(closeTo, frame.at(408, 108), (Pixel{0, 0, 0}), 3);
    EXPECT_PRED3(closeTo, frame.at(424, 108), (Pixel{0, 255, 0}), 3);
    EXPECT_PRED3(closeTo, frame.at(424, 124), (Pixel{0, 255, 0}), 3);

    EXPECT_PRED3(closeTo, frame.at(508, 108), (Pixel{0, 0, 200}), 0);
    EXPECT_PRED3(closeTo, frame.at(524, 124), (Pixel{0, 0, 200}), 0);
}

TEST_F(SpriteTest, TheSourceRectangleChoosesThePartDrawn) {
    std::unique_ptr<platform::TextureResource> texture = quadrantTexture(*device);
    ASSERT_NE(texture, nullptr);
    beginFrame(BLACK);
    // Only the top right quadrant, unscaled, lands at (200, 200).
    draw(*texture, 200, 200, 1.0f, 0, 0, 0xFFFFFFFFu, {16, 0, 32, 16});
    const FrameCopy frame = endFrame();
    EXPECT_PRED3(closeTo, frame.at(201, 201), green, 3);
    EXPECT_PRED3(closeTo, frame.at(214, 214), green, 3);
    EXPECT_PRED3(closeTo, frame.at(218, 208), (Pixel{0, 0, 0}), 0);
    EXPECT_PRED3(closeTo, frame.at(208, 218), (Pixel{0, 0, 0}), 0);
}

TEST_F(SpriteTest, ASourceRectanglePastTheTextureRepeatsItsEdge) {
    // The intro's white fade: a 32 x 32 white picture at scale 1 with the whole
    // screen as its source covers the screen.
    platform::ImageInfo info;
    platform::TextureResource* loaded = nullptr;
    ASSERT_EQ(device->createTextureFromFile(resourcePath("whitefade.png"), info, &loaded),
              platform::d3d::OK);
    std::unique_ptr<platform::TextureResource> fade(loaded);
    beginFrame(BLACK);
    draw(*fade, 0, 0, 1.0f, 0, 0, 0xFFFFFFFFu, {0, 0, 800, 600});
    const FrameCopy frame = endFrame();
    for (const auto& [x, y] :
         {std::pair{0, 0}, {16, 16}, {400, 300}, {799, 0}, {0, 599}, {799, 599}}) {
        EXPECT_PRED3(closeTo, frame.at(x, y), white, 0) << "at " << x << ", " << y;
    }
}

}  // namespace
}  // namespace win32_d3d9_test
