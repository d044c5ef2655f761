// The intro: its two phases on the shared timer, the white fade and the logo.
#include "game_fixture.h"

namespace gametest {
namespace {

constexpr float DT = 1.0f / 64.0f;  // exact in binary, so sums of it are exact
const std::string WHITE = "resources/whitefade.png";
const std::string LOGO = "resources/logo.png";

using IntroTest = GameTest;

TEST_F(IntroTest, PhasesLastEightThenFiveSecondsOfTimer) {
    frames(8 * 64 - 1, DT);
    EXPECT_TRUE(state.introFadeIn);
    Game::frame(DT);
    EXPECT_FALSE(state.introFadeIn);
    EXPECT_TRUE(state.introFadeOut);
    EXPECT_EQ(state.stateTimer, 0.0f);

    frames(5 * 64 - 1, DT);
    EXPECT_TRUE(state.introActive);
    EXPECT_FALSE(state.menuActive);
    Game::frame(DT);
    EXPECT_FALSE(state.introActive);
    EXPECT_FALSE(state.introFadeOut);
    EXPECT_TRUE(state.menuActive);
    // The menu ran in the same call: its picture is the last thing drawn.
    EXPECT_EQ(takeDraws().back().path, "resources/mainmenu1.png");
}

TEST_F(IntroTest, WhiteFadesInThenLogoFollowsCentred) {
    for (int frame = 1; frame <= 300; ++frame) {
        Game::frame(DT);
        const std::vector<Drawn> draws = takeDraws();
        const float white = std::min(255.0f, 100.0f * DT * frame);
        ASSERT_FALSE(draws.empty());
        const Drawn& fade = draws[0];
        ASSERT_EQ(fade.path, WHITE);
        EXPECT_EQ(alphaOf(fade.colour), static_cast<std::uint32_t>(white)) << frame;
        EXPECT_EQ(fade.colour & 0x00FFFFFFu, 0x00FFFFFFu);
        // A 32 x 32 picture at scale 1 whose source reaches over the whole screen.
        EXPECT_FLOAT_EQ(fade.width, 32.0f);
        EXPECT_EQ(fade.source.right, 800);
        EXPECT_EQ(fade.source.bottom, 600);
        EXPECT_EQ(fade.x, 0.0f);

        const std::vector<Drawn> logo = only(draws, LOGO);
        if (white < 255.0f) {
            EXPECT_TRUE(logo.empty()) << frame;
            continue;
        }
        ASSERT_EQ(logo.size(), 1u) << frame;
        EXPECT_EQ(logo[0].x, 200.0f);
        EXPECT_EQ(logo[0].y, 250.0f);
        EXPECT_EQ(logo[0].source.right, 400);
        EXPECT_EQ(logo[0].source.bottom, 100);
        EXPECT_EQ(alphaOf(logo[0].colour),
                  static_cast<std::uint32_t>(std::min(255.0f, state.logoAlpha)));
    }
    // 2.55 s to white, then 1.7 s more to a solid logo: both done by 4.69 s.
    EXPECT_EQ(state.fadeAlpha, 255.0f);
    EXPECT_EQ(state.logoAlpha, 255.0f);
    EXPECT_EQ(presents(), 300);
}

TEST_F(IntroTest, LogoIsCentredOnItsOwnImageSize) {
    graphics.addImage("resources/logo-odd.png", 301, 101);
    Game::textures.logo = load("resources/logo-odd.png");
    state.fadeAlpha = 255.0f;
    Game::frame(DT);
    const std::vector<Drawn> logo = only(takeDraws(), "resources/logo-odd.png");
    ASSERT_EQ(logo.size(), 1u);
    EXPECT_EQ(logo[0].x, 250.0f);  // 400 - 301 / 2, the half cut towards zero
    EXPECT_EQ(logo[0].y, 250.0f);  // 300 - 101 / 2
    EXPECT_EQ(logo[0].source.right, 400);
}

TEST_F(IntroTest, SecondPhaseFadesBothAwayAndAlwaysDrawsTheLogo) {
    frames(8 * 64, DT);  // ends phase 1; this frame already draws phase 2
    takeDraws();
    float white = state.fadeAlpha;
    float logo = state.logoAlpha;
    for (int frame = 0; frame < 5 * 64 - 1; ++frame) {
        Game::frame(DT);
        white = std::max(0.0f, white - 100.0f * DT);
        logo = std::max(0.0f, logo - 150.0f * DT);
        const std::vector<Drawn> draws = takeDraws();
        ASSERT_EQ(draws.size(), 2u);
        EXPECT_EQ(draws[0].path, WHITE);
        EXPECT_EQ(alphaOf(draws[0].colour), static_cast<std::uint32_t>(white));
        EXPECT_EQ(draws[1].path, LOGO);
        EXPECT_EQ(alphaOf(draws[1].colour), static_cast<std::uint32_t>(logo));
    }
    EXPECT_EQ(state.fadeAlpha, 0.0f);
    EXPECT_EQ(state.logoAlpha, 0.0f);
}

TEST_F(IntroTest, LostDeviceDrawsNothingButTheTimerRuns) {
    deviceLost(true);
    frames(8 * 64, DT);
    EXPECT_TRUE(state.introFadeOut);
    frames(5 * 64 - 1, DT);
    EXPECT_TRUE(state.introActive);
    EXPECT_EQ(state.fadeAlpha, 0.0f);
    EXPECT_EQ(state.logoAlpha, 0.0f);
    Game::frame(DT);
    EXPECT_TRUE(state.menuActive);
    EXPECT_TRUE(takeDraws().empty());
    EXPECT_EQ(presents(), 0);
}

TEST_F(IntroTest, IgnoresEscapeAndTheMouse) {
    keyDown(platform::vk::ESCAPE);
    keyDown(platform::vk::LBUTTON);
    setCursor(100, 250);  // over the arcade button
    frames(100, DT);
    EXPECT_FALSE(windowDestroyed());
    EXPECT_FALSE(state.playActive);
    EXPECT_TRUE(platform.fakeInput.queries.empty());
}

}  // namespace
}  // namespace gametest
