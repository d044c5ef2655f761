// The SDL backend's parts that need no display, run with no display at all.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "graphics/transform2d.h"
#include "platform/sdl/adapter_facts.h"
#include "platform/sdl/data_folder.h"
#include "platform/sdl/key_map.h"
#include "platform/sdl/message_box.h"
#include "platform/sdl/padded_image.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/sprite_placement.h"
#include "test_images.h"

namespace {

using namespace platform;
namespace fs = std::filesystem;

class Headless : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }
};

TEST_F(Headless, ClockAndSleepFollowRealTime) {
    sdl::SdlPlatform backend;
    System& system = backend.system();
    const std::uint32_t before = system.milliseconds();
    system.sleep(40);
    const std::uint32_t after = system.milliseconds();
    EXPECT_GE(after - before, 40u);
    EXPECT_LT(after - before, 2000u);
}

TEST_F(Headless, QuitMessageCarriesExitCodeOnce) {
    sdl::SdlPlatform backend;
    System& system = backend.system();
    Message message;
    EXPECT_FALSE(system.peekMessage(message));
    system.postQuitMessage(3);
    ASSERT_TRUE(system.peekMessage(message));
    EXPECT_EQ(message.message, wm::QUIT);
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_EQ(message.window, nullptr);
    system.dispatchMessage(message);  // no window: nothing to call, nothing breaks
    EXPECT_FALSE(system.peekMessage(message));
}

TEST_F(Headless, DataFolderIsMadeUnderTheUserDataHome) {
    sdltest::TempFolder home;
    setenv("XDG_DATA_HOME", home.path().c_str(), 1);
    sdl::SdlPlatform backend;
    System& system = backend.system();

    const std::string folder = system.dataFolder("Engine Logs");
    EXPECT_EQ(folder, home.path() + "/Engine Logs");
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(system.dataFolder("Engine Logs"), folder);  // already there: same answer

    const std::string nested = system.dataFolder("a/b");
    EXPECT_EQ(nested, home.path() + "/a/b");
    EXPECT_TRUE(fs::is_directory(nested));
    EXPECT_EQ(system.dataFolder(""), home.path());
    EXPECT_EQ(system.pathSeparator(), '/');
    unsetenv("XDG_DATA_HOME");
}

TEST_F(Headless, DataFolderIsEmptyWhenItCannotBeMade) {
    sdltest::TempFolder home;
    const std::string blocker = home.path() + "/file";
    sdltest::writeUniform(blocker, 1, 1, 0xFFFFFFFF);  // a file where a folder must go
    setenv("XDG_DATA_HOME", blocker.c_str(), 1);
    EXPECT_EQ(sdl::userDataFolder("sub"), "");
    unsetenv("XDG_DATA_HOME");
}

TEST_F(Headless, NoDisplayMeansNoWindowNoDirect3DAndNoBox) {
    sdl::SdlPlatform backend;
    WindowClass windowClass;
    windowClass.className = "Headless";
    ASSERT_TRUE(backend.windowing().registerClass(windowClass));
    EXPECT_FALSE(backend.windowing().registerClass(windowClass));
    EXPECT_EQ(backend.windowing().createWindow("Headless", "t", ws::POPUP, 0, 0, 10, 10), nullptr);
    EXPECT_EQ(backend.createDirect3D(), nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(backend.system().messageBox("text of the box", "Caption", mb::OK), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("text of the box"), std::string::npos);
    EXPECT_FALSE(backend.input().keyPressed(vk::ESCAPE));
    EXPECT_FALSE(backend.input().keyDown(vk::LBUTTON));
}

TEST(KeyMap, VirtualKeysAndKeyPositionsCorrespond) {
    using sdl::scancodesOf;
    using sdl::virtualKeyOf;
    EXPECT_EQ(virtualKeyOf(SDL_SCANCODE_LEFT), vk::LEFT);
    EXPECT_EQ(virtualKeyOf(SDL_SCANCODE_RIGHT), vk::RIGHT);
    EXPECT_EQ(virtualKeyOf(SDL_SCANCODE_UP), vk::UP);
    EXPECT_EQ(virtualKeyOf(SDL_SCANCODE_DOWN), vk::DOWN);
    EXPECT_EQ(virtualKeyOf(SDL_SCANCODE_ESCAPE), vk::ESCAPE);
    EXPECT_EQ(virtualKeyOf(SDL_SCANCODE_A), 'A');
    EXPECT_EQ(virtualKeyOf(SDL_SCANCODE_Z), 'Z');
    EXPECT_EQ(virtualKeyOf(SDL_SCANCODE_0), '0');
    EXPECT_EQ(virtualKeyOf(SDL_SCANCODE_9), '9');
    EXPECT_EQ(virtualKeyOf(SDL_SCANCODE_F12), 0x7B);
    EXPECT_EQ(virtualKeyOf(SDL_SCANCODE_RSHIFT), 0x10);
    EXPECT_EQ(virtualKeyOf(SDL_SCANCODE_APPLICATION), 0);
    // Every key with a virtual code maps back to itself.
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
        const int key = virtualKeyOf(static_cast<SDL_Scancode>(scancode));
        if (key == 0) {
            continue;
        }
        const auto positions = scancodesOf(key);
        EXPECT_NE(std::find(positions.begin(), positions.end(), scancode), positions.end())
            << "scancode " << scancode;
    }
    EXPECT_EQ(scancodesOf(0x10).size(), 2u);
    EXPECT_TRUE(scancodesOf(vk::LBUTTON).empty());
    EXPECT_EQ(sdl::mouseButtonOf(vk::LBUTTON), SDL_BUTTON_LEFT);
    EXPECT_EQ(sdl::virtualKeyOfMouseButton(SDL_BUTTON_LEFT), vk::LBUTTON);
}

TEST(MessageBoxStyles, ButtonSetsAndAnswersAreTheWin32Ones) {
    auto answers = [](std::uint32_t style) {
        std::vector<int> ids;
        for (const auto& button : sdl::messageBoxButtons(style)) {
            ids.push_back(button.buttonid);
        }
        return ids;
    };
    EXPECT_EQ(answers(mb::SYSTEMMODAL | mb::ICONWARNING), std::vector<int>({id::OK}));
    EXPECT_EQ(answers(mb::SYSTEMMODAL | mb::ICONQUESTION | mb::YESNO),
              std::vector<int>({id::YES, id::NO}));
    EXPECT_EQ(answers(mb::SYSTEMMODAL | mb::ICONQUESTION | mb::CANCELTRYCONTINUE),
              std::vector<int>({id::CANCEL, id::TRYAGAIN, id::CONTINUE}));
    EXPECT_STREQ(sdl::messageBoxButtons(mb::CANCELTRYCONTINUE)[1].text, "Try Again");
    // Enter takes the first button.
    EXPECT_TRUE(sdl::messageBoxButtons(mb::YESNO)[0].flags &
                SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT);
    EXPECT_EQ(sdl::closeAnswer(mb::OK), id::OK);
    EXPECT_EQ(sdl::closeAnswer(mb::YESNO), id::NO);
    EXPECT_EQ(sdl::closeAnswer(mb::CANCELTRYCONTINUE), id::CANCEL);
    EXPECT_EQ(sdl::messageBoxIconFlag(0x1010), SDL_MESSAGEBOX_ERROR);
    EXPECT_EQ(sdl::messageBoxIconFlag(0x1030), SDL_MESSAGEBOX_WARNING);
    EXPECT_EQ(sdl::messageBoxIconFlag(0x1024), SDL_MESSAGEBOX_INFORMATION);
}

TEST(AdapterFacts, DriverVersionIsTheLastDottedNumber) {
    auto parts = [](std::int64_t v) {
        return std::vector<int>{int(v >> 48 & 0xFFFF), int(v >> 32 & 0xFFFF), int(v >> 16 & 0xFFFF),
                                int(v & 0xFFFF)};
    };
    EXPECT_EQ(parts(sdl::driverVersion("4.5 (Compatibility Profile) Mesa 22.3.6")),
              std::vector<int>({22, 3, 6, 0}));
    EXPECT_EQ(parts(sdl::driverVersion("4.6.0 NVIDIA 535.104.05")),
              std::vector<int>({535, 104, 5, 0}));
    EXPECT_EQ(parts(sdl::driverVersion("6.14.10.6764")), std::vector<int>({6, 14, 10, 6764}));
    EXPECT_EQ(parts(sdl::driverVersion("1.2.3.4.5")), std::vector<int>({1, 2, 3, 4}));
    EXPECT_EQ(parts(sdl::driverVersion("7.99999")), std::vector<int>({7, 0xFFFF, 0, 0}));
    EXPECT_EQ(sdl::driverVersion(""), 0);
    EXPECT_EQ(sdl::driverVersion("software"), 0);
}

TEST(PaddedImage, PictureSitsTopLeftInAPowerOfTwoTexture) {
    EXPECT_EQ(sdl::nextPowerOfTwo(1), 1u);
    EXPECT_EQ(sdl::nextPowerOfTwo(32), 32u);
    EXPECT_EQ(sdl::nextPowerOfTwo(33), 64u);
    EXPECT_EQ(sdl::nextPowerOfTwo(600), 1024u);

    sdltest::TempFolder folder;
    const std::uint32_t colours[4] = {0xFFFF0000, 0x8000FF00, 0xFF0000FF, 0x00FFFFFF};
    const std::string path = sdltest::writeQuadrants(folder.path() + "/q.png", 6, 10, colours);
    auto image = sdl::loadPaddedImage(path);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->imageWidth, 6u);
    EXPECT_EQ(image->imageHeight, 10u);
    EXPECT_EQ(image->width, 8u);
    EXPECT_EQ(image->height, 16u);
    auto at = [&](int x, int y) { return image->pixels[y * image->width + x]; };
    EXPECT_EQ(at(0, 0), 0xFFFF0000u);
    EXPECT_EQ(at(5, 0), 0x8000FF00u);
    EXPECT_EQ(at(0, 9), 0xFF0000FFu);
    EXPECT_EQ(at(3, 5), 0x00FFFFFFu);
    // Past the picture, its edges repeat.
    EXPECT_EQ(at(7, 0), 0x8000FF00u);
    EXPECT_EQ(at(0, 15), 0xFF0000FFu);
    EXPECT_EQ(at(7, 15), 0x00FFFFFFu);

    EXPECT_FALSE(sdl::loadPaddedImage(folder.path() + "/missing.png").has_value());
    const std::string garbage = folder.path() + "/garbage.png";
    std::FILE* file = std::fopen(garbage.c_str(), "wb");
    std::fputs("not a picture at all", file);
    std::fclose(file);
    EXPECT_FALSE(sdl::loadPaddedImage(garbage).has_value());
}

// Where SDL_RenderCopyExF puts a source point: scaled into the destination
// rectangle, flipped within it, then turned clockwise about its top-left corner.
Vector2 whereSdlDraws(const sdl::SpritePlacement& placement, float sourceWidth, float sourceHeight,
                      Vector2 source) {
    const SDL_FRect& d = placement.destination;
    double u = source.x * d.w / sourceWidth;
    double v = source.y * d.h / sourceHeight;
    if (placement.flip & SDL_FLIP_VERTICAL) {
        v = d.h - v;
    }
    if (placement.flip & SDL_FLIP_HORIZONTAL) {
        u = d.w - u;
    }
    const double a = placement.angleDegrees * M_PI / 180.0;
    return Vector2{static_cast<float>(d.x + u * std::cos(a) - v * std::sin(a)),
                   static_cast<float>(d.y + u * std::sin(a) + v * std::cos(a))};
}

TEST(SpritePlacement, SdlDrawReproducesTheTransformOfEverySourcePoint) {
    std::mt19937 random(1234);
    std::uniform_real_distribution<float> scale(-3.0f, 3.0f);
    std::uniform_real_distribution<float> coordinate(-400.0f, 800.0f);
    std::uniform_int_distribution<int> degrees(-720, 720);
    std::uniform_int_distribution<int> size(1, 300);
    for (int trial = 0; trial < 2000; ++trial) {
        Vector2 s{scale(random), scale(random)};
        if (std::fabs(s.x) < 0.01f || std::fabs(s.y) < 0.01f) {
            continue;
        }
        const Vector2 centre{coordinate(random), coordinate(random)};
        const float angle = static_cast<float>(degrees(random) * 0.017453292);
        const Vector2 t{coordinate(random), coordinate(random)};
        const Matrix m = graphics::transformation2D(s, centre, angle, t);
        const float w = static_cast<float>(size(random));
        const float h = static_cast<float>(size(random));
        const sdl::SpritePlacement placement = sdl::placeSprite(m, w, h);
        ASSERT_TRUE(placement.visible);
        for (Vector2 p :
             {Vector2{0, 0}, Vector2{w, 0}, Vector2{0, h}, Vector2{w, h}, Vector2{w / 3, h / 5}}) {
            const Vector2 expected = graphics::transformPoint(m, p);
            const Vector2 drawn = whereSdlDraws(placement, w, h, p);
            const float tolerance = 1e-3f * (1.0f + std::fabs(expected.x) + std::fabs(expected.y));
            ASSERT_NEAR(drawn.x, expected.x, tolerance) << "trial " << trial;
            ASSERT_NEAR(drawn.y, expected.y, tolerance) << "trial " << trial;
        }
    }
}

TEST(SpritePlacement, PlainCasesGiveThePlainRectangle) {
    // Scale 1 at (10, 20): the source's own size there, unturned.
    sdl::SpritePlacement plain =
        sdl::placeSprite(graphics::transformation2D({1, 1}, {0, 0}, 0.0f, {10, 20}), 32, 16);
    EXPECT_FLOAT_EQ(plain.destination.x, 10);
    EXPECT_FLOAT_EQ(plain.destination.y, 20);
    EXPECT_FLOAT_EQ(plain.destination.w, 32);
    EXPECT_FLOAT_EQ(plain.destination.h, 16);
    EXPECT_NEAR(plain.angleDegrees, 0.0, 1e-9);
    EXPECT_EQ(plain.flip, SDL_FLIP_NONE);

    // 90 degrees about the middle of a 32 x 32 piece at (100, 50): the corner that
    // was top-left is now top-right.
    sdl::SpritePlacement turned = sdl::placeSprite(
        graphics::transformation2D({1, 1}, {16, 16}, 90 * 0.017453292f, {100, 50}), 32, 32);
    EXPECT_NEAR(turned.destination.x, 132, 1e-3);
    EXPECT_NEAR(turned.destination.y, 50, 1e-3);
    EXPECT_NEAR(turned.angleDegrees, 90.0, 1e-4);

    // Squashed flat: nothing to draw.
    EXPECT_FALSE(
        sdl::placeSprite(graphics::transformation2D({0, 1}, {0, 0}, 0.0f, {0, 0}), 32, 32).visible);
    EXPECT_FALSE(
        sdl::placeSprite(graphics::transformation2D({1, 0}, {0, 0}, 0.0f, {0, 0}), 32, 32).visible);
}

}  // namespace
