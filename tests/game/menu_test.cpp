// The menu: picture fade, title slide, the button schedule and growth, hover
// pictures, the level-triggered clicks, Escape, and the return after a game.
#include "game_fixture.h"

namespace gametest {
namespace {

constexpr float DT = 1.0f / 64.0f;
const std::string PICTURE = "resources/mainmenu1.png";
const std::string TITLE = "resources/tessak.png";
const std::string ARCADE = "resources/buttonarcade.png";
const std::string ARCADE_OVER = "resources/buttonarcadeover.png";
const std::string ADVANCED = "resources/buttonadvanced.png";
const std::string ADVANCED_OVER = "resources/buttonadvancedover.png";
const std::string QUIT = "resources/buttonquit.png";
const std::string QUIT_OVER = "resources/buttonquitover.png";
const std::vector<std::string> NORMAL_BUTTONS = {ARCADE, ADVANCED, "resources/buttonoptions.png",
                                                 "resources/buttoncredits.png", QUIT};

class MenuTest : public GameTest {
protected:
    MenuTest() {
        enterMenu();
        setCursor(600, 50);  // over nothing
    }

    // Frames until the menu picture is opaque; returns how many.
    int untilOpaque() {
        int count = 0;
        while (state.fadeAlpha < 255.0f) {
            Game::frame(DT);
            ++count;
        }
        return count;
    }
};

TEST_F(MenuTest, PictureFadesInBeforeAnythingElseIsDrawn) {
    float alpha = 0.0f;
    for (int frame = 1; state.fadeAlpha < 255.0f; ++frame) {
        Game::frame(DT);
        alpha = std::min(255.0f, alpha + 150.0f * DT);
        const std::vector<Drawn> draws = takeDraws();
        ASSERT_FALSE(draws.empty());
        EXPECT_EQ(draws[0].path, PICTURE);
        EXPECT_EQ(draws[0].width, 348.0f);
        EXPECT_EQ(draws[0].height, 600.0f);
        EXPECT_EQ(draws[0].source.right, 348);
        EXPECT_EQ(alphaOf(draws[0].colour), static_cast<std::uint32_t>(alpha));
        if (alpha < 255.0f) {
            EXPECT_EQ(draws.size(), 1u) << frame;  // no title, no buttons yet
            EXPECT_EQ(state.stateTimer, 0.0f);
        }
    }
}

TEST_F(MenuTest, ButtonsAppearOnScheduleAndGrowToTheirCaps) {
    untilOpaque();
    takeDraws();
    const float delays[] = {0.2f, 0.4f, 0.6f, 0.8f, 1.0f};
    for (int frame = 0; frame < 5 * 64; ++frame) {
        Game::frame(DT);
        const std::vector<Drawn> draws = takeDraws();
        for (std::size_t b = 0; b < NORMAL_BUTTONS.size(); ++b) {
            const std::vector<Drawn> button = only(draws, NORMAL_BUTTONS[b]);
            const Game::MenuButton& record = state.buttons[b];
            if (state.stateTimer < delays[b]) {
                EXPECT_TRUE(button.empty()) << b;
                EXPECT_EQ(record.width, 0.0f);
                continue;
            }
            ASSERT_EQ(button.size(), 1u) << b;
            EXPECT_LE(record.width, 229.0f);
            EXPECT_LE(record.height, 50.0f);
            EXPECT_LE(record.alpha, 255.0f);
            // Grown size as both source and size: revealed from the top-left corner.
            EXPECT_EQ(button[0].source.left, 0);
            EXPECT_EQ(button[0].source.right, static_cast<std::int32_t>(record.width));
            EXPECT_EQ(button[0].source.bottom, static_cast<std::int32_t>(record.height));
            EXPECT_EQ(alphaOf(button[0].colour), static_cast<std::uint32_t>(record.alpha));
            EXPECT_EQ(button[0].x, 5.0f);
            EXPECT_EQ(button[0].y, 230.0f + 70.0f * b);
        }
    }
    // After five seconds every button is whole: 229 x 50, opaque.
    for (std::size_t b = 0; b < NORMAL_BUTTONS.size(); ++b) {
        EXPECT_EQ(state.buttons[b].width, 229.0f);
        EXPECT_EQ(state.buttons[b].height, 50.0f);
        EXPECT_EQ(state.buttons[b].alpha, 255.0f);
    }
    Game::frame(DT);
    const std::vector<Drawn> quit = only(takeDraws(), QUIT);
    ASSERT_EQ(quit.size(), 1u);
    EXPECT_EQ(quit[0].colour, 0xFFFFFFFFu);
    EXPECT_EQ(quit[0].source.right, 229);
    EXPECT_EQ(quit[0].source.bottom, 50);
}

TEST_F(MenuTest, ButtonGrowthRates) {
    untilOpaque();
    // Arcade appears at 0.2 s of the menu timer and grows by 140, 50 and 100 per second.
    while (state.stateTimer < 0.2f) {
        Game::frame(DT);
    }
    const Game::MenuButton& arcade = state.buttons[0];
    EXPECT_FLOAT_EQ(arcade.width, 140.0f * DT);
    EXPECT_FLOAT_EQ(arcade.height, 50.0f * DT);
    EXPECT_FLOAT_EQ(arcade.alpha, 100.0f * DT);
    frames(31, DT);
    EXPECT_FLOAT_EQ(arcade.width, 140.0f * 0.5f);
    EXPECT_FLOAT_EQ(arcade.height, 50.0f * 0.5f);
    EXPECT_FLOAT_EQ(arcade.alpha, 100.0f * 0.5f);
    EXPECT_EQ(state.buttons[4].width, 0.0f);  // quit waits for 1.0 s
}

TEST_F(MenuTest, TitleSlidesOnEveryDrawnFrameAndShowsOnceThePictureIsOpaque) {
    // 50 x dt is 0.78 pixel: cut towards zero the title climbs one pixel a frame
    // while above the edge and then stays at 0.
    const int fading = untilOpaque();
    EXPECT_EQ(state.titleY, -306 + fading);
    EXPECT_EQ(only(takeDraws(), TITLE).size(), 1u);  // on the frame that made it opaque
    Game::frame(DT);
    const std::vector<Drawn> title = only(takeDraws(), TITLE);
    ASSERT_EQ(title.size(), 1u);
    EXPECT_EQ(title[0].x, 5.0f);
    EXPECT_EQ(title[0].y, static_cast<float>(-306 + fading + 1));
    EXPECT_EQ(title[0].colour, 0xFFFFFFFFu);
    EXPECT_EQ(title[0].source.right, 306);
    EXPECT_EQ(title[0].source.bottom, 155);
    frames(400, DT);
    EXPECT_EQ(state.titleY, 0);
}

TEST_F(MenuTest, TitleStopsAtFiveWhenFramesAreLong) {
    frames(20 * 30, 1.0f / 20.0f);  // 2.5 pixels a frame
    EXPECT_EQ(state.titleY, 5);
}

TEST_F(MenuTest, HoverPicturesFollowTheNormalPicturesRectangle) {
    untilOpaque();
    frames(5 * 64, DT);
    takeDraws();

    setCursor(100, 320);  // inside advanced
    Game::frame(DT);
    std::vector<Drawn> draws = takeDraws();
    EXPECT_EQ(only(draws, ADVANCED_OVER).size(), 1u);
    EXPECT_TRUE(only(draws, ADVANCED).empty());
    EXPECT_EQ(only(draws, ARCADE).size(), 1u);
    EXPECT_FALSE(state.playActive);  // no click without the button

    // The edges do not count: strictly inside only.
    for (const auto& [x, y] :
         {std::pair{5, 320}, std::pair{234, 320}, std::pair{100, 300}, std::pair{100, 350}}) {
        setCursor(x, y);
        Game::frame(DT);
        draws = takeDraws();
        EXPECT_EQ(only(draws, ADVANCED).size(), 1u) << x << "," << y;
        EXPECT_TRUE(only(draws, ADVANCED_OVER).empty()) << x << "," << y;
    }
    setCursor(233, 349);
    Game::frame(DT);
    EXPECT_EQ(only(takeDraws(), ADVANCED_OVER).size(), 1u);
}

TEST_F(MenuTest, ClicksOnAdvancedOptionsAndCreditsDoNothing) {
    keyDown(platform::vk::LBUTTON);
    for (const int y : {320, 390, 460}) {
        setCursor(100, y);
        frames(3 * 64, DT);
    }
    EXPECT_TRUE(state.menuActive);
    EXPECT_FALSE(state.playActive);
    EXPECT_FALSE(windowDestroyed());
}

TEST_F(MenuTest, ArcadeStartsAGameEvenBeforeTheButtonIsDrawn) {
    Game::frame(DT);  // the picture has only begun to fade in
    state.board.put(15, 3, 2);
    state.stateTimer = 0.7f;
    const int before = presents();
    setCursor(100, 250);
    keyDown(platform::vk::LBUTTON);
    Game::frame(DT);
    EXPECT_FALSE(state.menuActive);
    EXPECT_TRUE(state.playActive);
    EXPECT_EQ(cell(15, 3), 0);  // board cleared
    // The play step ran in the same call: a pair entered, and both the menu
    // and the play screen presented a frame.
    EXPECT_EQ(state.stateTimer, DT);
    EXPECT_NE(cell(0, 7), 0);
    EXPECT_EQ(presents() - before, 2);
}

TEST_F(MenuTest, HoldingTheButtonWhileMovingOntoQuitQuits) {
    keyDown(platform::vk::LBUTTON);
    setCursor(400, 520);  // right of the quit button
    frames(10, DT);
    EXPECT_FALSE(windowDestroyed());
    setCursor(200, 520);
    Game::frame(DT);
    EXPECT_TRUE(windowDestroyed());
}

TEST_F(MenuTest, EscapeQuitsOnThePressOnly) {
    state.escapePrevious = true;  // held since before the menu came
    keyDown(platform::vk::ESCAPE);
    frames(5, DT);
    EXPECT_FALSE(windowDestroyed());
    keyUp(platform::vk::ESCAPE);
    Game::frame(DT);
    EXPECT_FALSE(state.escapePrevious);
    tap(platform::vk::ESCAPE);  // down and up between two frames still counts
    Game::frame(DT);
    EXPECT_TRUE(windowDestroyed());
}

TEST_F(MenuTest, QuitButtonAndEscapeTogetherDestroyTheWindowOnce) {
    keyDown(platform::vk::LBUTTON);
    keyDown(platform::vk::ESCAPE);
    setCursor(100, 530);
    frames(3, DT);
    EXPECT_TRUE(windowDestroyed());
    EXPECT_EQ(destroyCalls(), 1);
}

TEST_F(MenuTest, LostDeviceStillFadesThePictureButFreezesTheRest) {
    deviceLost(true);
    frames(64, DT);
    EXPECT_FLOAT_EQ(state.fadeAlpha, 150.0f);
    untilOpaque();
    frames(64, DT);
    EXPECT_EQ(state.titleY, -306);
    EXPECT_EQ(state.stateTimer, 0.0f);
    EXPECT_EQ(state.buttons[0].width, 0.0f);
    EXPECT_TRUE(takeDraws().empty());
    deviceLost(false);
    Game::frame(DT);
    EXPECT_EQ(state.titleY, -305);
    EXPECT_EQ(state.stateTimer, DT);
}

TEST_F(MenuTest, ComingBackAfterAGameKeepsTheMenuAsItWas) {
    untilOpaque();
    frames(5 * 64, DT);
    const int titleY = state.titleY;
    setCursor(100, 250);
    keyDown(platform::vk::LBUTTON);
    Game::frame(DT);
    ASSERT_TRUE(state.playActive);
    keyUp(platform::vk::LBUTTON);

    // Take the entry cell under the pair: the game ends once it has stopped.
    state.board.put(1, 7, 1);
    state.board.put(1, 8, 1);
    int guard = 0;
    while (state.playActive && ++guard < 1000) {
        Game::frame(DT);
    }
    ASSERT_TRUE(state.menuActive);
    const float timer = state.stateTimer;
    takeDraws();

    Game::frame(DT);
    const std::vector<Drawn> draws = takeDraws();
    ASSERT_FALSE(draws.empty());
    EXPECT_EQ(draws[0].path, PICTURE);
    EXPECT_EQ(draws[0].colour, 0xFFFFFFFFu);  // opaque at once
    const std::vector<Drawn> title = only(draws, TITLE);
    ASSERT_EQ(title.size(), 1u);
    EXPECT_EQ(title[0].y, static_cast<float>(titleY));
    // The timer goes on from where the game left it; each button that it has
    // reached is drawn whole.
    EXPECT_EQ(state.stateTimer, timer + DT);
    const std::vector<Drawn> arcade = only(draws, ARCADE);
    if (state.stateTimer >= 0.2f) {
        ASSERT_EQ(arcade.size(), 1u);
        EXPECT_EQ(arcade[0].source.right, 229);
        EXPECT_EQ(arcade[0].colour, 0xFFFFFFFFu);
    } else {
        EXPECT_TRUE(arcade.empty());
    }
    EXPECT_TRUE(only(draws, QUIT).empty());
}

TEST_F(MenuTest, ButtonHeldOverArcadeAtGameOverStartsTheNextGameAtOnce) {
    setCursor(100, 250);
    keyDown(platform::vk::LBUTTON);
    Game::frame(DT);
    ASSERT_TRUE(state.playActive);
    state.board.put(1, 7, 1);
    state.board.put(1, 8, 1);
    int guard = 0;
    while (!state.menuActive && ++guard < 1000) {
        Game::frame(DT);
    }
    ASSERT_TRUE(state.menuActive);
    Game::frame(DT);
    EXPECT_TRUE(state.playActive);
    EXPECT_FALSE(state.menuActive);
    EXPECT_EQ(cell(1, 7), 0);  // a new board
}

}  // namespace
}  // namespace gametest
