// Textures and sprite drawing: loading, the 2-D transform and what reaches the batcher.
#include <cmath>

#include "graphics/transform2d.h"
#include "graphics_fixture.h"

namespace graphics_tests {
namespace {

using graphics::transformation2D;
using graphics::transformPoint;
using platform::Vector2;

constexpr float PI = 3.14159265f;

Vector2 v(float x, float y) {
    Vector2 result;
    result.x = x;
    result.y = y;
    return result;
}

// The screen points the four corners of a w x h source land on.
std::vector<Vector2> corners(const platform::Matrix& m, float w, float h) {
    return {transformPoint(m, v(0, 0)), transformPoint(m, v(w, 0)), transformPoint(m, v(w, h)),
            transformPoint(m, v(0, h))};
}

void expectNear(const Vector2& actual, float x, float y) {
    EXPECT_NEAR(actual.x, x, 1e-4f);
    EXPECT_NEAR(actual.y, y, 1e-4f);
}

TEST(TransformTest, ScaleAndMoveWithoutTurning) {
    const platform::Matrix m = transformation2D(v(0.5f, 2.0f), v(0, 0), 0.0f, v(10, 20));
    const std::vector<Vector2> c = corners(m, 100, 50);
    expectNear(c[0], 10, 20);
    expectNear(c[2], 60, 120);
    // The rotation centre does not matter when nothing turns.
    const platform::Matrix same = transformation2D(v(0.5f, 2.0f), v(7, 9), 0.0f, v(10, 20));
    expectNear(transformPoint(same, v(100, 50)), 60, 120);
}

TEST(TransformTest, AQuarterTurnAboutTheMiddleCoversTheSameSquare) {
    const platform::Matrix m = transformation2D(v(1, 1), v(16, 16), 90 * PI / 180, v(100, 200));
    const std::vector<Vector2> c = corners(m, 32, 32);
    // Clockwise on screen: the top-left corner goes to the top-right.
    expectNear(c[0], 132, 200);
    expectNear(c[1], 132, 232);
    expectNear(c[2], 100, 232);
    expectNear(c[3], 100, 200);
    expectNear(transformPoint(m, v(16, 16)), 116, 216);
}

TEST(TransformTest, TurningIsAboutTheCentreInScaledPixels) {
    // At scale 2 a 32 x 32 picture is 64 x 64; (32, 32) is its middle.
    const platform::Matrix m = transformation2D(v(2, 2), v(32, 32), PI, v(0, 0));
    expectNear(transformPoint(m, v(0, 0)), 64, 64);
    expectNear(transformPoint(m, v(32, 32)), 0, 0);
    expectNear(transformPoint(m, v(16, 16)), 32, 32);
    // A negative angle turns the other way.
    const platform::Matrix back = transformation2D(v(1, 1), v(0, 0), -PI / 2, v(0, 0));
    expectNear(transformPoint(back, v(10, 0)), 0, -10);
}

class SpriteTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        fake.addImage("resources/piece.png", 32, 32);
        fake.addImage("resources/menu.png", 348, 600);
        fake.start();
        forgetLog();
    }
    // Where the last draw put the corners of its source rectangle.
    std::vector<Vector2> lastCorners() {
        const fakes::SpriteDraw& d = fake.sprite().draws.back();
        return corners(d.transform, static_cast<float>(d.source.right - d.source.left),
                       static_cast<float>(d.source.bottom - d.source.top));
    }
};

TEST_F(SpriteTest, LoadingKeepsImageAndTextureSizes) {
    Texture* texture = Graphics::loadTexture("resources/menu.png");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->getWidth(), 348);
    EXPECT_EQ(texture->getHeight(), 600);
    EXPECT_EQ(texture->getTextureWidth(), 512);
    EXPECT_EQ(texture->getTextureHeight(), 1024);
    ASSERT_EQ(fake.device().textures.size(), 1u);
    EXPECT_EQ(texture->getTexture(), fake.device().textures[0].get());
    EXPECT_TRUE(messages().empty());
    delete texture;
}

TEST_F(SpriteTest, AMissingFileEndsInItsErrorText) {
    EXPECT_THROW(Graphics::loadTexture("resources/missing.png"), Log::Fatal);
    EXPECT_EQ(entries(),
              (std::vector<LogEntry>{error("Failed to create texture 'resources/missing.png'")}));
    ASSERT_EQ(platformFake.fakeSystem.boxes.size(), 1u);
    EXPECT_EQ(platformFake.fakeSystem.boxes[0].text,
              "Failed to create texture 'resources/missing.png'");
}

TEST_F(SpriteTest, ARefusedLevelDescriptionEndsInItsErrorText) {
    fake.device().levelDescFailures.insert("resources/piece.png");
    EXPECT_THROW(Graphics::loadTexture("resources/piece.png"), Log::Fatal);
    EXPECT_EQ(entries(),
              (std::vector<LogEntry>{
                  error("Failed to get level description for texture 'resources/piece.png'")}));
}

TEST_F(SpriteTest, ReleaseGivesTheResourceBackOnce) {
    struct CountedResource : platform::TextureResource {
        int* deletions;
        explicit CountedResource(int* counter) : deletions(counter) {}
        ~CountedResource() override { ++*deletions; }
        platform::HResult getLevelDesc(std::uint32_t, platform::SurfaceDesc&) override { return 0; }
    };
    int deletions = 0;
    Texture texture(new CountedResource(&deletions), 1, 1, 1, 1);
    texture.release();
    texture.release();
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(texture.getTexture(), nullptr);
}

TEST_F(SpriteTest, DrawSpriteAtPlacesBetweenPixelsAndTurnsByFractionalDegrees) {
    std::unique_ptr<Texture> piece(Graphics::loadTexture("resources/piece.png"));
    ASSERT_TRUE(Graphics::beginFrame());
    platform::Rect source;
    source.left = 8;
    source.top = 0;
    source.right = 24;
    source.bottom = 16;
    Graphics::drawSpriteAt(piece.get(), source, 10.25f, 20.5f, 2.0f, 2.0f, 0x80FF0000u, 16, 16,
                           90.0f);
    Graphics::drawSpriteAt(piece.get(), source, 0.5f, 0.0f, 1.0f, 1.0f, 0xFFFFFFFFu, 0, 0, 0.5f);
    Graphics::endFrame();

    ASSERT_EQ(fake.sprite().draws.size(), 2u);
    const fakes::SpriteDraw& d = fake.sprite().draws[0];
    EXPECT_EQ(d.source.left, 8);
    EXPECT_EQ(d.source.right, 24);
    EXPECT_EQ(d.colour, 0x80FF0000u);
    // 16 x 16 at scale 2, a quarter turn about its middle: the same square.
    const std::vector<Vector2> c =
        corners(d.transform, static_cast<float>(source.right - source.left),
                static_cast<float>(source.bottom - source.top));
    expectNear(c[0], 42.25f, 20.5f);
    expectNear(c[2], 10.25f, 52.5f);
    // Half a degree is kept, not cut to a whole one.
    const Vector2 end = lastCorners()[1];
    EXPECT_NEAR(end.x, 0.5f + 16 * std::cos(0.5f * PI / 180), 1e-4f);
    EXPECT_NEAR(end.y, 16 * std::sin(0.5f * PI / 180), 1e-4f);
}

TEST_F(SpriteTest, WholeImageAtItsOwnSizeIsDrawnUnscaled) {
    std::unique_ptr<Texture> menu(Graphics::loadTexture("resources/menu.png"));
    ASSERT_TRUE(Graphics::beginFrame());
    Graphics::drawSprite(menu.get(), 452, 0, 348, 600, 0, 0, 348, 600, 0xFFFFFFFFu, 0, 0, 0);
    Graphics::endFrame();

    ASSERT_EQ(fake.sprite().draws.size(), 1u);
    const fakes::SpriteDraw& d = fake.sprite().draws[0];
    EXPECT_EQ(d.texture, menu->getTexture());
    ASSERT_TRUE(d.hasSource);
    EXPECT_EQ(d.source.left, 0);
    EXPECT_EQ(d.source.right, 348);
    EXPECT_EQ(d.source.bottom, 600);
    EXPECT_EQ(d.colour, 0xFFFFFFFFu);
    const std::vector<Vector2> c = lastCorners();
    expectNear(c[0], 452, 0);
    expectNear(c[2], 800, 600);
    EXPECT_EQ(fake.sprite().calls,
              (std::vector<std::string>{"begin 0x10", "setTransform", "draw", "end"}));
}

TEST_F(SpriteTest, HalfSizeAndCornerOnly) {
    std::unique_ptr<Texture> menu(Graphics::loadTexture("resources/menu.png"));
    ASSERT_TRUE(Graphics::beginFrame());
    Graphics::drawSprite(menu.get(), 10, 20, 174, 300, 0, 0, 348, 600, 0x80FFFFFFu, 0, 0, 0);
    expectNear(lastCorners()[2], 10 + 174, 20 + 300);
    EXPECT_EQ(fake.sprite().draws.back().colour, 0x80FFFFFFu);

    // Source smaller than the image, size equal to the image: that corner, unscaled.
    Graphics::drawSprite(menu.get(), 0, 0, 348, 600, 100, 50, 40, 30, 0xFFFFFFFFu, 0, 0, 0);
    const fakes::SpriteDraw& corner = fake.sprite().draws.back();
    EXPECT_EQ(corner.source.left, 100);
    EXPECT_EQ(corner.source.top, 50);
    EXPECT_EQ(corner.source.right, 140);
    EXPECT_EQ(corner.source.bottom, 80);
    expectNear(lastCorners()[2], 40, 30);
    Graphics::endFrame();
}

TEST_F(SpriteTest, APieceTurnedAQuarterStaysInItsCell) {
    std::unique_ptr<Texture> piece(Graphics::loadTexture("resources/piece.png"));
    ASSERT_TRUE(Graphics::beginFrame());
    Graphics::drawSprite(piece.get(), 53, 31, 32, 32, 0, 0, 32, 32, 0xFFFFFFFFu, 16, 16, 90);
    const std::vector<Vector2> c = lastCorners();
    expectNear(c[0], 85, 31);
    expectNear(c[1], 85, 63);
    expectNear(c[2], 53, 63);
    expectNear(c[3], 53, 31);
    const fakes::ScreenBox box = fake.sprite().draws.back().bounds();
    EXPECT_NEAR(box.left, 53, 1e-4f);
    EXPECT_NEAR(box.top, 31, 1e-4f);
    EXPECT_NEAR(box.right, 85, 1e-4f);
    EXPECT_NEAR(box.bottom, 63, 1e-4f);
    EXPECT_EQ(fake.sprite().draws.back().path(), "resources/piece.png");
    Graphics::endFrame();
}

TEST_F(SpriteTest, ASmallFadeSizeStretchesALargeSourceOverTheScreen) {
    // The fade: a 32 x 32 picture, drawn with its own size and an 800 x 600 source.
    fake.addImage("resources/fade.png", 32, 32);
    std::unique_ptr<Texture> fade(Graphics::loadTexture("resources/fade.png"));
    ASSERT_TRUE(Graphics::beginFrame());
    Graphics::drawSprite(fade.get(), 0, 0, 32, 32, 0, 0, 800, 600, 0x40FFFFFFu, 0, 0, 0);
    expectNear(lastCorners()[2], 800, 600);
    Graphics::endFrame();
}

}  // namespace
}  // namespace graphics_tests
