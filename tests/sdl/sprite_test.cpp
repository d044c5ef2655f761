// Pictures drawn through Graphics on the SDL backend, read back from the screen.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "graphics/graphics.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/window_registry.h"
#include "platform/sdl/windowing.h"
#include "test_images.h"

namespace {

using namespace platform;

constexpr std::uint32_t RED = 0xFF0000, GREEN = 0x00FF00, BLUE = 0x0000FF, YELLOW = 0xFFFF00;
constexpr std::uint32_t BLACK = 0x000000, WHITE = 0xFFFFFF;

bool near(std::uint32_t a, std::uint32_t b, int tolerance = 6) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int difference =
            static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(difference) > tolerance) {
            return false;
        }
    }
    return true;
}

// Pixels of [x0, x1) x [y0, y1) that are not near the colour.
int wrong(const sdltest::Pixels& pixels, int x0, int y0, int x1, int y1, std::uint32_t rgb) {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            count += near(pixels.at(x, y), rgb) ? 0 : 1;
        }
    }
    return count;
}

class SpriteTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new sdltest::TempFolder;
        backend = new sdl::SdlPlatform;
        platform::install(backend);
        Graphics::resetForTests();
        Graphics::initialize("SpriteTestClass", "Sprites", "");
        ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
        // The test server's only mode, full screen: no format warning to answer.
        Graphics::setScreenFormat(Graphics::getDesktopScreenFormat());

        const std::uint32_t quadrants[4] = {0xFF000000 | RED, 0xFF000000 | GREEN, 0xFF000000 | BLUE,
                                            0xFF000000 | YELLOW};
        picture = Graphics::loadTexture(
            sdltest::writeQuadrants(folder->path() + "/picture.png", 48, 40, quadrants));
        piece = Graphics::loadTexture(
            sdltest::writeQuadrants(folder->path() + "/piece.png", 32, 32, quadrants));
        white = Graphics::loadTexture(
            sdltest::writeUniform(folder->path() + "/white.png", 32, 32, 0xFFFFFFFF));
        // The software OpenGL under the test server draws the first frame after the
        // switch to full screen into the drawable's old buffer: let it pass.
        frame([] {});
    }

    static void TearDownTestSuite() {
        backend->windowing().destroyWindow(Graphics::getWindow());
        platform::install(nullptr);
        delete backend;
        delete folder;
    }

    static SDL_Renderer* renderer() {
        auto* record = static_cast<sdl::WindowRecord*>(Graphics::getWindow());
        return SDL_GetRenderer(record->sdl);
    }

    // Runs the message loop until a frame can be drawn, draws it and reads it back.
    static sdltest::Pixels frame(const std::function<void()>& draw) {
        for (int attempt = 0; attempt < 200; ++attempt) {
            pump();
            if (Graphics::beginFrame()) {
                draw();
                sdltest::Pixels pixels(renderer());
                Graphics::endFrame();
                return pixels;
            }
            SDL_Delay(10);
        }
        throw std::runtime_error("the device never became drawable");
    }

    static void pump() {
        Message message;
        while (backend->system().peekMessage(message)) {
            backend->system().dispatchMessage(message);
        }
    }

    static sdl::SdlPlatform* backend;
    static sdltest::TempFolder* folder;
    static Texture* picture;
    static Texture* piece;
    static Texture* white;
};

sdl::SdlPlatform* SpriteTest::backend = nullptr;
sdltest::TempFolder* SpriteTest::folder = nullptr;
Texture* SpriteTest::picture = nullptr;
Texture* SpriteTest::piece = nullptr;
Texture* SpriteTest::white = nullptr;

TEST_F(SpriteTest, TexturesKeepImageSizeInPowerOfTwoTextures) {
    EXPECT_EQ(picture->getWidth(), 48);
    EXPECT_EQ(picture->getHeight(), 40);
    EXPECT_EQ(picture->getTextureWidth(), 64);
    EXPECT_EQ(picture->getTextureHeight(), 64);
    EXPECT_EQ(white->getTextureWidth(), 32);
}

TEST_F(SpriteTest, WholeImageAtScaleOneShowsExactlyTheImage) {
    const auto pixels = frame(
        [] { Graphics::drawSprite(picture, 100, 50, 48, 40, 0, 0, 48, 40, 0xFFFFFFFF, 0, 0, 0); });
    EXPECT_EQ(wrong(pixels, 100, 50, 124, 70, RED), 0);
    EXPECT_EQ(wrong(pixels, 124, 50, 148, 70, GREEN), 0);
    EXPECT_EQ(wrong(pixels, 100, 70, 124, 90, BLUE), 0);
    EXPECT_EQ(wrong(pixels, 124, 70, 148, 90, YELLOW), 0);
    // Nothing of the texture's padding shows around it.
    EXPECT_EQ(wrong(pixels, 148, 50, 170, 90, BLACK), 0);
    EXPECT_EQ(wrong(pixels, 100, 90, 148, 110, BLACK), 0);
    EXPECT_EQ(wrong(pixels, 90, 40, 100, 100, BLACK), 0);
}

TEST_F(SpriteTest, HalfSizeDrawsTheWholeImageSmaller) {
    const auto pixels = frame(
        [] { Graphics::drawSprite(picture, 200, 100, 24, 20, 0, 0, 48, 40, 0xFFFFFFFF, 0, 0, 0); });
    // Quadrants of 12 x 10; their borders blend, their middles do not.
    EXPECT_EQ(wrong(pixels, 201, 101, 211, 109, RED), 0);
    EXPECT_EQ(wrong(pixels, 213, 101, 223, 109, GREEN), 0);
    EXPECT_EQ(wrong(pixels, 201, 111, 211, 119, BLUE), 0);
    EXPECT_EQ(wrong(pixels, 213, 111, 223, 119, YELLOW), 0);
    EXPECT_EQ(wrong(pixels, 225, 100, 250, 125, BLACK), 0);
    EXPECT_EQ(wrong(pixels, 200, 121, 225, 130, BLACK), 0);
}

TEST_F(SpriteTest, SmallerSourceDrawsOnlyThatCornerUnscaled) {
    const auto pixels = frame(
        [] { Graphics::drawSprite(picture, 300, 200, 48, 40, 0, 0, 24, 20, 0xFFFFFFFF, 0, 0, 0); });
    EXPECT_EQ(wrong(pixels, 300, 200, 324, 220, RED), 0);
    EXPECT_EQ(wrong(pixels, 324, 200, 350, 240, BLACK), 0);
    EXPECT_EQ(wrong(pixels, 300, 220, 324, 240, BLACK), 0);
}

TEST_F(SpriteTest, QuarterTurnAboutTheMiddleStaysOnTheSquare) {
    const auto pixels = frame([] {
        Graphics::drawSprite(piece, 400, 300, 32, 32, 0, 0, 32, 32, 0xFFFFFFFF, 16, 16, 90);
    });
    // Clockwise: top-left red goes to the top right, green to the bottom right,
    // yellow to the bottom left, blue to the top left.
    EXPECT_EQ(wrong(pixels, 401, 301, 415, 315, BLUE), 0);
    EXPECT_EQ(wrong(pixels, 417, 301, 431, 315, RED), 0);
    EXPECT_EQ(wrong(pixels, 417, 317, 431, 331, GREEN), 0);
    EXPECT_EQ(wrong(pixels, 401, 317, 415, 331, YELLOW), 0);
    EXPECT_EQ(pixels.count(400, 300, 432, 332, BLACK), 0);
    EXPECT_EQ(wrong(pixels, 390, 290, 442, 300, BLACK), 0);
    EXPECT_EQ(wrong(pixels, 390, 332, 442, 342, BLACK), 0);
    EXPECT_EQ(wrong(pixels, 390, 300, 400, 332, BLACK), 0);
    EXPECT_EQ(wrong(pixels, 432, 300, 442, 332, BLACK), 0);
}

TEST_F(SpriteTest, ColourTintsAndFades) {
    const auto pixels = frame([] {
        Graphics::drawSprite(white, 10, 10, 32, 32, 0, 0, 32, 32, 0x80FFFFFF, 0, 0, 0);
        Graphics::drawSprite(white, 60, 10, 32, 32, 0, 0, 32, 32, 0x00FFFFFF, 0, 0, 0);
        Graphics::drawSprite(white, 110, 10, 32, 32, 0, 0, 32, 32, 0xFF00FF00, 0, 0, 0);
    });
    const std::uint32_t half = pixels.at(26, 26);
    EXPECT_TRUE(near(half, 0x808080, 8)) << std::hex << half;
    EXPECT_EQ(wrong(pixels, 10, 10, 42, 42, half), 0);
    EXPECT_EQ(wrong(pixels, 60, 10, 92, 42, BLACK), 0);
    EXPECT_EQ(wrong(pixels, 110, 10, 142, 42, GREEN), 0);
}

TEST_F(SpriteTest, WhiteFadeWithScreenSizedSourceCoversTheScreen) {
    const auto pixels = frame(
        [] { Graphics::drawSprite(white, 0, 0, 32, 32, 0, 0, 800, 600, 0xFFFFFFFF, 0, 0, 0); });
    EXPECT_EQ(wrong(pixels, 0, 0, 800, 600, WHITE), 0);
    // The rest of the larger screen stays black.
    if (pixels.width() > 800) {
        EXPECT_EQ(wrong(pixels, 800, 0, pixels.width(), 600, BLACK), 0);
    }
}

TEST_F(SpriteTest, MinimisingSkipsFramesAndRestoringResumesWithTexturesIntact) {
    auto* record = static_cast<sdl::WindowRecord*>(Graphics::getWindow());
    backend->windowing().showWindow(Graphics::getWindow(), sw::MINIMIZE);
    // Frames stop once the minimising has come through the queue...
    bool skipped = false;
    for (int attempt = 0; attempt < 300 && !skipped; ++attempt) {
        pump();
        if (Graphics::beginFrame()) {
            Graphics::endFrame();
        } else {
            skipped = true;
        }
        SDL_Delay(10);
    }
    ASSERT_TRUE(skipped);
    ASSERT_NE(SDL_GetWindowFlags(record->sdl) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN), 0u);
    // ...and stay stopped while the window is minimised.
    for (int attempt = 0; attempt < 10; ++attempt) {
        pump();
        EXPECT_FALSE(Graphics::beginFrame());
        SDL_Delay(10);
    }

    backend->windowing().showWindow(Graphics::getWindow(), sw::RESTORE);
    const auto pixels = frame(
        [] { Graphics::drawSprite(picture, 100, 50, 48, 40, 0, 0, 48, 40, 0xFFFFFFFF, 0, 0, 0); });
    EXPECT_EQ(wrong(pixels, 100, 50, 124, 70, RED), 0);
    EXPECT_EQ(wrong(pixels, 124, 70, 148, 90, YELLOW), 0);
}

}  // namespace
