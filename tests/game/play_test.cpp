// The play screen: entry of a pair from the preview, drops on the fall timer,
// sideways moves, stacking, the end of a game, Escape.
#include "game_fixture.h"

namespace gametest {
namespace {

constexpr float DT = 1.0f / 64.0f;  // 0.3 s is reached on the 20th step
constexpr int DROP_STEPS = 20;

std::int32_t rowOf(std::int32_t y) { return y / 32; }

class PlayTest : public GameTest {
protected:
    PlayTest() {
        enterPlay();
        state.nextPivotKind = 1;
        state.nextSecondKind = 2;
    }

    // Steps until the pivot has dropped one more row (or stopped).
    int stepsToNextDrop() {
        const std::int32_t y = state.pivotY;
        int steps = 0;
        while (state.pivotY == y && state.pivotFalling && steps < 1000) {
            Game::frame(DT);
            ++steps;
        }
        return steps;
    }

    // Taps a key on one step and lets it be seen released on the next.
    void press(int key) {
        tap(key);
        Game::frame(DT);
        Game::frame(DT);
    }

    // Runs until the pair has stopped: the same step places the next pair, so
    // the pivot is back at the entry row (or the game is over).
    void landPair() {
        std::int32_t y = state.pivotY;
        for (int guard = 0; guard < 10000 && state.playActive; ++guard) {
            Game::frame(DT);
            if (state.pivotY < y) {
                return;
            }
            y = state.pivotY;
        }
    }
};

TEST_F(PlayTest, FirstStepPlacesThePreviewedPairAndDrawsANewPreview) {
    std::srand(99);
    Game::frame(DT);
    EXPECT_EQ(cell(0, 7), 1);
    EXPECT_EQ(cell(0, 8), 2);
    EXPECT_EQ(state.pivotKind, 1);
    EXPECT_EQ(state.secondKind, 2);
    EXPECT_TRUE(state.pivotFalling);
    EXPECT_TRUE(state.secondFalling);
    EXPECT_EQ(state.orientation, 1);
    EXPECT_EQ(state.pivotX, 250);
    EXPECT_EQ(state.pivotY, 30);
    EXPECT_EQ(state.secondX, 250);
    EXPECT_EQ(state.secondY, 30);
    // The next kinds are the next two numbers of the random sequence.
    std::srand(99);
    const int pivot = std::rand() % 4 + 1;
    const int second = std::rand() % 4 + 1;
    EXPECT_EQ(state.nextPivotKind, pivot);
    EXPECT_EQ(state.nextSecondKind, second);

    // The frame of that step was drawn before the pair entered: the next frame
    // shows it on the board and the new kinds in the preview.
    takeDraws();
    Game::frame(DT);
    const std::vector<Drawn> draws = takeDraws();
    ASSERT_GE(draws.size(), 5u);
    EXPECT_EQ(draws[0].path, "resources/backdrop.png");
    EXPECT_EQ(draws[0].width, 800.0f);
    const Drawn& pivotCell = draws[1];
    EXPECT_EQ(pivotCell.path, "resources/peice1.png");
    EXPECT_EQ(pivotCell.x, 53.0f + 33.0f * 7);
    EXPECT_EQ(pivotCell.y, 31.0f);
    EXPECT_EQ(draws[2].path, "resources/peice2.png");
    EXPECT_EQ(draws[2].x, 53.0f + 33.0f * 8);
    const Drawn& previewPivot = draws[draws.size() - 2];
    const Drawn& previewSecond = draws.back();
    EXPECT_EQ(previewPivot.path, "resources/peice" + std::to_string(pivot) + ".png");
    EXPECT_EQ(previewPivot.x, 650.0f);
    EXPECT_EQ(previewPivot.y, 387.0f);
    EXPECT_EQ(previewSecond.path, "resources/peice" + std::to_string(second) + ".png");
    EXPECT_EQ(previewSecond.x, 683.0f);
    EXPECT_EQ(previewSecond.y, 387.0f);
    EXPECT_EQ(previewSecond.source.right, 32);
}

TEST_F(PlayTest, PreviewOfAKindOutsideOneToFourDrawsNothing) {
    state.nextPivotKind = 0;
    state.nextSecondKind = 5;
    Game::drawPreview();  // outside a frame: the fake records draws all the same
    EXPECT_TRUE(takeDraws().empty());
}

TEST_F(PlayTest, DropsEveryPointThreeSecondsWithTheTimerRestartedAtTheDrop) {
    Game::frame(DT);  // the pair enters
    // The first drop comes on the step after the timer reached 0.3 s; from then
    // on every 20 steps, the timer restarting from 0 rather than from the excess.
    EXPECT_EQ(stepsToNextDrop(), DROP_STEPS);
    for (int drop = 2; drop <= 10; ++drop) {
        EXPECT_EQ(stepsToNextDrop(), DROP_STEPS) << drop;
        EXPECT_EQ(state.stateTimer, DT);
        EXPECT_EQ(state.pivotY, 30 + 32 * drop);
        EXPECT_EQ(cell(drop, 7), 1);
        EXPECT_EQ(cell(drop, 8), 2);
        EXPECT_EQ(cell(drop - 1, 7), 0);
        EXPECT_EQ(cell(drop - 1, 8), 0);
    }
}

TEST_F(PlayTest, LowerPieceStopsInRowFifteenAndTheNextPairStacks) {
    Game::frame(DT);
    std::int32_t lowest = 0;
    for (int guard = 0; guard < 2000 && state.pivotY >= lowest; ++guard) {
        lowest = state.pivotY;
        Game::frame(DT);
    }
    EXPECT_EQ(rowOf(lowest), 15);
    EXPECT_EQ(cell(15, 7), 1);
    EXPECT_EQ(cell(15, 8), 2);
    EXPECT_EQ(cell(16, 7), 0);
    EXPECT_EQ(cell(16, 8), 0);
    // The step that found both stopped placed the next pair.
    EXPECT_TRUE(state.pivotFalling);
    EXPECT_TRUE(state.secondFalling);
    EXPECT_EQ(state.pivotY, 30);
    const std::int32_t pivot = state.pivotKind;
    const std::int32_t second = state.secondKind;
    landPair();
    EXPECT_EQ(cell(14, 7), pivot);
    EXPECT_EQ(cell(14, 8), second);
    EXPECT_EQ(cell(15, 7), 1);
    EXPECT_EQ(cell(15, 8), 2);
}

TEST_F(PlayTest, PairMovesSevenColumnsLeftAndSevenRightFromTheEntry) {
    Game::frame(DT);
    for (int i = 0; i < 10; ++i) {
        press(platform::vk::LEFT);
    }
    EXPECT_EQ(state.pivotX, 26);
    EXPECT_EQ(state.secondX, 26);
    const std::int32_t row = rowOf(state.pivotY);
    EXPECT_EQ(cell(row, 0), 1);
    EXPECT_EQ(cell(row, 1), 2);
    EXPECT_EQ(cell(row, 2), 0);
    for (int i = 0; i < 20; ++i) {
        press(platform::vk::RIGHT);
    }
    EXPECT_EQ(state.pivotX, 474);
    EXPECT_EQ(cell(rowOf(state.pivotY), 14), 1);
    EXPECT_EQ(cell(rowOf(state.pivotY), 15), 2);
    for (std::int32_t column = 0; column < 14; ++column) {
        EXPECT_EQ(cell(rowOf(state.pivotY), column), 0) << column;
    }
}

TEST_F(PlayTest, HeldKeyMovesOnceAndBlockedMovesWriteNothing) {
    Game::frame(DT);
    keyDown(platform::vk::LEFT);
    frames(10, DT);
    EXPECT_EQ(state.pivotX, 218);
    keyUp(platform::vk::LEFT);
    Game::frame(DT);
    // A piece in the way: nothing moves.
    const std::int32_t row = rowOf(state.pivotY);
    setCell(row, 5, 3);
    press(platform::vk::LEFT);
    ASSERT_EQ(rowOf(state.pivotY), row);
    EXPECT_EQ(state.pivotX, 218);
    EXPECT_EQ(cell(row, 5), 3);
    EXPECT_EQ(cell(row, 6), 1);
    EXPECT_EQ(cell(row, 7), 2);
}

TEST_F(PlayTest, SidewaysKeysAreIgnoredWhileOnePieceHasStopped) {
    Game::frame(DT);
    setCell(5, 8, 3);  // the second piece stops on row 4, the pivot drops on
    while (state.secondFalling) {
        Game::frame(DT);
    }
    ASSERT_TRUE(state.pivotFalling);
    const std::int32_t x = state.pivotX;
    keyDown(platform::vk::LEFT);
    frames(5, DT);
    EXPECT_EQ(state.pivotX, x);
    EXPECT_FALSE(state.leftPrevious);  // not even looked at
    // Still held when the next pair enters: it moves once.
    landPair();
    ASSERT_TRUE(state.playActive);
    EXPECT_EQ(state.pivotY, 30);
    EXPECT_EQ(state.pivotX, 250);
    Game::frame(DT);
    EXPECT_EQ(state.pivotX, 218);
    frames(5, DT);
    EXPECT_EQ(state.pivotX, 218);
}

TEST_F(PlayTest, GameEndsWhenTheEntryCellIsTakenAndLeavesTheBoard) {
    Game::frame(DT);
    int pairs = 1;
    while (state.playActive && pairs < 40) {
        const std::int32_t y = state.pivotY;
        Game::frame(DT);
        if (state.pivotY == 30 && y != 30) {
            ++pairs;
        }
    }
    // Sixteen pairs fill columns 7 and 8; the sixteenth stops in row 0.
    EXPECT_EQ(pairs, 16);
    EXPECT_FALSE(state.playActive);
    EXPECT_TRUE(state.menuActive);
    for (std::int32_t row = 0; row < 16; ++row) {
        EXPECT_NE(cell(row, 7), 0) << row;
        EXPECT_NE(cell(row, 8), 0) << row;
    }
}

TEST_F(PlayTest, OnlyColumnSevenOfRowZeroIsTestedAtTheEntry) {
    Game::frame(DT);
    // Make the pair stop where it is, with a foreign piece right of the entry.
    state.pivotFalling = false;
    state.secondFalling = false;
    setCell(0, 7, 0);
    setCell(0, 8, 4);
    state.nextSecondKind = 3;
    Game::frame(DT);
    EXPECT_TRUE(state.playActive);
    EXPECT_EQ(cell(0, 8), 3);  // overwritten by the new second piece

    state.pivotFalling = false;
    state.secondFalling = false;
    setCell(0, 8, 0);
    Game::frame(DT);
    EXPECT_FALSE(state.playActive);  // the pivot left in (0, 7) ends the game
    EXPECT_TRUE(state.menuActive);
}

TEST_F(PlayTest, EscapeQuitsFromPlayOnThePress) {
    Game::frame(DT);
    state.escapePrevious = true;
    keyDown(platform::vk::ESCAPE);
    frames(5, DT);
    EXPECT_FALSE(windowDestroyed());
    keyUp(platform::vk::ESCAPE);
    Game::frame(DT);
    keyDown(platform::vk::ESCAPE);
    Game::frame(DT);
    EXPECT_TRUE(windowDestroyed());
    frames(5, DT);
    EXPECT_EQ(destroyCalls(), 1);
}

TEST_F(PlayTest, LostDeviceSkipsDrawingButTheGameGoesOn) {
    deviceLost(true);
    Game::frame(DT);
    EXPECT_EQ(stepsToNextDrop(), DROP_STEPS);
    press(platform::vk::RIGHT);
    EXPECT_EQ(state.pivotX, 282);
    EXPECT_TRUE(takeDraws().empty());
    EXPECT_EQ(presents(), 0);
}

}  // namespace
}  // namespace gametest
